// The splash window (captions, placement, closing itself on the third tick) and the program's
// artwork in the resources.

#include "app/frmSplash2.h"
#include "app/frmMain.h"
#include "app/startup.h"
#include "common/CCommonRoutines.h"
#include "support/msgbox_recorder.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QtTest>

namespace {
QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void captionsAndLook();
    void closesItselfOnThirdTick();
    void timerDrivesTheTicks();
    void anotherWindowOrTheEndClosesIt();
    void showingTwiceKeepsOneSplash();
    void centredOnScreen();
    void centerFormCentres_data();
    void centerFormCentres();

    void artworkInResources_data();
    void artworkInResources();
};

void TestSplash::cleanup()
{
    if (frmSplash2 *splash = frmSplash2::instance())
        splash->close();
    flushDeletes();
    QVERIFY(!frmSplash2::instance());
}

void TestSplash::captionsAndLook()
{
    frmSplash2::showSplash();
    frmSplash2 *splash = frmSplash2::instance();
    QVERIFY(splash);
    QVERIFY(splash->isVisible());
    QVERIFY(!splash->isModal());
    QCOMPARE(splash->lblProductName->text(), QStringLiteral("Zestro"));
    QCOMPARE(splash->lblVersion->text(), QStringLiteral("Version 3.1"));
    QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(splash->Timer1->interval(), 1000);
    QVERIFY(splash->Timer1->isActive());
    QCOMPARE(splash->tickCount(), 0);

    // The picture is drawn: the middle of the glass is far from the dark background.
    const QImage shot = splash->grab().toImage();
    QVERIFY(qGray(shot.pixel(104, 160)) > 160);
}

void TestSplash::closesItselfOnThirdTick()
{
    frmSplash2::showSplash();
    QPointer<frmSplash2> splash = frmSplash2::instance();
    QVERIFY(splash);

    splash->Timer1_Timer();
    splash->Timer1_Timer();
    QCOMPARE(splash->tickCount(), 2);
    QVERIFY(splash->isVisible());
    QCOMPARE(frmSplash2::instance(), splash.data());

    splash->Timer1_Timer();
    QVERIFY(!frmSplash2::instance());
    QVERIFY(!splash->isVisible());
    QVERIFY(!splash->Timer1->isActive());
    flushDeletes();
    QVERIFY(splash.isNull());
}

void TestSplash::anotherWindowOrTheEndClosesIt()
{
    frmSplash2::showSplash();
    QDialog tip; // the tip of the day, or a message, must not open under the splash
    tip.show();
    QVERIFY(!frmSplash2::instance());
    tip.close();

    frmSplash2::showSplash();
    MsgBoxRecorder boxes;
    frmMain form;
    Form_Unload(form); // quitting within the splash's seconds leaves no form behind
    QCOMPARE(boxes.texts(), QStringList());
    QVERIFY(!frmSplash2::instance());
}

void TestSplash::timerDrivesTheTicks()
{
    frmSplash2::showSplash();
    QPointer<frmSplash2> splash = frmSplash2::instance();
    splash->Timer1->setInterval(10);
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 3000);
    QVERIFY(!frmSplash2::instance());
}

void TestSplash::showingTwiceKeepsOneSplash()
{
    frmSplash2::showSplash();
    QPointer<frmSplash2> first = frmSplash2::instance();
    first->Timer1_Timer();
    frmSplash2::showSplash();
    QCOMPARE(frmSplash2::instance(), first.data());
    QCOMPARE(first->tickCount(), 1);

    // Once it has closed, the next splash is a new window counting from zero.
    first->Timer1_Timer();
    first->Timer1_Timer();
    flushDeletes();
    QVERIFY(first.isNull());
    frmSplash2::showSplash();
    QVERIFY(frmSplash2::instance());
    QCOMPARE(frmSplash2::instance()->tickCount(), 0);
}

void TestSplash::centredOnScreen()
{
    frmSplash2::showSplash();
    const QRect frame = frmSplash2::instance()->frameGeometry();
    QCOMPARE(frame.size(), QSize(420, 260));
    const QRect area = availableArea();
    QCOMPARE(frame.topLeft(), QPoint(area.left() + (area.width() - 420) / 2, area.top() + (area.height() - 260) / 2));
}

void TestSplash::centerFormCentres_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("small") << QSize(223, 57);
    QTest::newRow("odd sizes") << QSize(301, 201);
    QTest::newRow("larger than the screen") << QSize(availableArea().width() + 100, 50);
}

void TestSplash::centerFormCentres()
{
    QFETCH(QSize, size);
    QWidget window;
    window.setGeometry(QRect(QPoint(3, 4), size));
    CCommonRoutines().CenterForm(&window);
    const QRect area = availableArea();
    QCOMPARE(window.pos(), QPoint(area.left() + (area.width() - size.width()) / 2,
                                  area.top() + (area.height() - size.height()) / 2));
    QCOMPARE(window.size(), size);
}

void TestSplash::artworkInResources_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"previous", "next", "copy", "add", "edit", "delete", "tried", "print-mark",
                             "search-wizard", "print"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSplash::artworkInResources()
{
    QFETCH(QString, name);
    // The splash registers the resources, as the program does before any window.
    frmSplash2::showSplash();
    const QImage normal(QStringLiteral(":/icons/%1.png").arg(name));
    const QImage doubled(QStringLiteral(":/icons/%1@2x.png").arg(name));
    QCOMPARE(normal.size(), QSize(24, 24));
    QCOMPARE(doubled.size(), QSize(48, 48));
    QVERIFY(normal.hasAlphaChannel());
    QCOMPARE(normal.pixelColor(0, 0).alpha(), 0); // no box round the drawing

    for (int px : {16, 32, 64, 128}) {
        const QImage app(QStringLiteral(":/icons/zestro-%1.png").arg(px));
        QCOMPARE(app.size(), QSize(px, px));
    }
    QCOMPARE(QImage(QStringLiteral(":/icons/zestro.png")).size(), QSize(256, 256));
}

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
