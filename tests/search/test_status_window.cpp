// The "Searching..." window and its busy clip: loading on a caption, placement over the main
// window, the clip playing or the area left empty, and unloading.

#include "app/frmMain.h"
#include "common/CCommonRoutines.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "search/CAnimate32.h"
#include "search/frmStatus.h"

#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QColor kBackground(0xf4, 0xf6, 0xf9);

QString sourceClip()
{
    return qEnvironmentVariable("ZESTRO_SOURCE_DIR") + QStringLiteral("/resources/clip/findfile.gif");
}

// True when every pixel of the area has the window's background colour.
bool plainBackground(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != kBackground)
                return false;
    return true;
}
} // namespace

class TestStatusWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void centerToWindow_data();
    void centerToWindow();
    void centerHorizontallyOrVerticallyOnly();

    void clipFileIsALoopingAnimation();
    void captionLoadsAndShowsWindow();
    void secondCaptionKeepsTheWindow();
    void centredOverMainWindow();
    void clipPlaysWhenPresent();
    void clipAreaEmptyWhenUnplayable_data();
    void clipAreaEmptyWhenUnplayable();
    void unloadTwiceThenLoadAnew();

    void clipWithoutLoopCountStillLoops();
    void animatePlayRestartsFromFirstFrame();
    void createReplacesEarlierHost();

private:
    QTemporaryDir m_folder;
};

void TestStatusWindow::init()
{
    QVERIFY2(QFile::exists(sourceClip()), "ZESTRO_SOURCE_DIR must name the source tree (run through ctest)");
    QFile::remove(m_folder.filePath(QStringLiteral("findfile.gif")));
    QVERIFY(QFile::copy(sourceClip(), m_folder.filePath(QStringLiteral("findfile.gif"))));
    setProgramFolder(m_folder.path());
}

void TestStatusWindow::cleanup()
{
    frmStatus::Unload();
    program().mainForm = nullptr;
}

void TestStatusWindow::centerToWindow_data()
{
    QTest::addColumn<QRect>("source");
    QTest::addColumn<QSize>("form");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("small over large") << QRect(100, 50, 800, 600) << QSize(223, 57) << QPoint(388, 321);
    QTest::newRow("even sizes at origin") << QRect(0, 0, 400, 300) << QSize(200, 100) << QPoint(100, 100);
    QTest::newRow("form larger than source") << QRect(300, 200, 100, 50) << QSize(223, 57) << QPoint(239, 197);
    QTest::newRow("source left of and above origin") << QRect(-1280, -100, 640, 480) << QSize(223, 57)
                                                      << QPoint(-1072, 111);
    QTest::newRow("same size") << QRect(40, 30, 223, 57) << QSize(223, 57) << QPoint(40, 30);
}

void TestStatusWindow::centerToWindow()
{
    QFETCH(QRect, source);
    QFETCH(QSize, form);
    QFETCH(QPoint, expected);
    QWidget sourceWindow;
    sourceWindow.setGeometry(source);
    QWidget window;
    window.setGeometry(QRect(QPoint(7, 9), form));

    CCommonRoutines().CenterToWindow(&sourceWindow, &window);
    QCOMPARE(window.frameGeometry().topLeft(), expected);
    QCOMPARE(window.size(), form);
}

void TestStatusWindow::centerHorizontallyOrVerticallyOnly()
{
    QWidget source;
    source.setGeometry(100, 50, 800, 600);
    QWidget window;
    window.setGeometry(7, 9, 200, 100);
    CCommonRoutines routines;

    routines.CenterToWindowH(&source, &window);
    QCOMPARE(window.pos(), QPoint(400, 9));
    window.move(7, 9);
    routines.CenterToWindowV(&source, &window);
    QCOMPARE(window.pos(), QPoint(7, 300));

    routines.CenterToWindow(nullptr, &window); // nothing to centre on: left where it was
    QCOMPARE(window.pos(), QPoint(7, 300));
}

void TestStatusWindow::clipFileIsALoopingAnimation()
{
    QImageReader reader(sourceClip());
    QCOMPARE(reader.size(), QSize(100, 60));
    QCOMPARE(reader.loopCount(), -1); // for ever

    QMovie movie(sourceClip());
    QVERIFY(movie.isValid());
    QVERIFY(movie.frameCount() > 1);

    QList<QImage> frames;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read())
        frames.append(frame);
    QCOMPARE(frames.size(), movie.frameCount());
    const QImage &first = frames.first();
    QVERIFY(frames.at(frames.size() / 2) != first); // the glass moves
    QVERIFY(frames.last() != first);
    // The background is transparent, so the window's colour shows round the shelf.
    QCOMPARE(first.pixelColor(0, 0).alpha(), 0);
}

void TestStatusWindow::captionLoadsAndShowsWindow()
{
    QVERIFY(!frmStatus::isLoaded());
    QVERIFY(!frmStatus::instance());

    frmStatus::setStatusCaption(QStringLiteral("Searching..."));
    frmStatus *form = frmStatus::instance();
    QVERIFY(form);
    QVERIFY(frmStatus::isLoaded());
    QVERIFY(form->isVisible());
    QVERIFY(!form->isModal());
    QCOMPARE(form->lblStatus->text(), QStringLiteral("Searching..."));
    QCOMPARE(form->size(), QSize(223, 57));
    QVERIFY(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(form->windowTitle().isEmpty());
    QCOMPARE(form->lblStatus->pos(), QPoint(96, 19));

    // Painted straight away: the text is drawn in the label's place.
    const QImage shot = form->grab().toImage();
    QVERIFY(!plainBackground(shot, form->lblStatus->geometry()));
}

void TestStatusWindow::secondCaptionKeepsTheWindow()
{
    frmStatus::setStatusCaption(QStringLiteral("Searching..."));
    QPointer<frmStatus> first = frmStatus::instance();
    frmStatus::setStatusCaption(QStringLiteral("Matching..."));
    QCOMPARE(frmStatus::instance(), first.data());
    QCOMPARE(first->lblStatus->text(), QStringLiteral("Matching..."));
}

void TestStatusWindow::centredOverMainWindow()
{
    auto *main = new frmMain;
    main->setGeometry(120, 80, 801, 600);
    program().mainForm = main;

    frmStatus::setStatusCaption(QStringLiteral("Searching..."));
    QPointer<frmStatus> form = frmStatus::instance();
    QVERIFY(form);
    QCOMPARE(form->frameGeometry().topLeft(), QPoint(120 + (801 - 223) / 2, 80 + (600 - 57) / 2));

    // The status window goes with the main window; nothing is left pointing at it.
    delete main;
    QVERIFY(form.isNull());
    QVERIFY(!frmStatus::isLoaded());
}

void TestStatusWindow::clipPlaysWhenPresent()
{
    frmStatus::setStatusCaption(QStringLiteral("Searching..."));
    frmStatus *form = frmStatus::instance();
    CAnimate32 *clip = form->animation();
    QVERIFY(clip);
    QVERIFY(clip->isPlaying());
    QCOMPARE(clip->host()->geometry(), QRect(-5, 0, 100, 60));
    QVERIFY(clip->movie()->frameCount() > 1);
    QTRY_VERIFY(clip->movie()->currentFrameNumber() > 0);
    QVERIFY(!plainBackground(form->grab().toImage(), QRect(1, 1, 90, 55)));
}

void TestStatusWindow::clipAreaEmptyWhenUnplayable_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("present");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("not a picture") << QByteArray("RIFF....AVI LIST not really a clip") << true;
}

void TestStatusWindow::clipAreaEmptyWhenUnplayable()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, present);
    QTemporaryDir folder;
    if (present) {
        QFile file(folder.filePath(QStringLiteral("findfile.gif")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    setProgramFolder(folder.path());

    frmStatus::setStatusCaption(QStringLiteral("Searching..."));
    frmStatus *form = frmStatus::instance();
    QVERIFY(form && form->isVisible());
    QCOMPARE(form->lblStatus->text(), QStringLiteral("Searching..."));
    QVERIFY(!form->animation()->isPlaying());
    QVERIFY(!form->animation()->movie());
    QVERIFY(plainBackground(form->grab().toImage(), QRect(1, 1, 90, 55)));
}

void TestStatusWindow::unloadTwiceThenLoadAnew()
{
    frmStatus::Unload(); // nothing loaded: nothing happens
    frmStatus::setStatusCaption(QStringLiteral("Searching..."));
    QPointer<frmStatus> first = frmStatus::instance();
    first->setProperty("marked", true);

    frmStatus::Unload();
    QVERIFY(first.isNull());
    QVERIFY(!frmStatus::isLoaded());
    frmStatus::Unload();
    QVERIFY(!frmStatus::isLoaded());

    frmStatus::setStatusCaption(QStringLiteral("Searching..."));
    QVERIFY(frmStatus::instance());
    QVERIFY(!frmStatus::instance()->property("marked").isValid());
    QVERIFY(frmStatus::instance()->animation()->isPlaying());
}

void TestStatusWindow::clipWithoutLoopCountStillLoops()
{
    // The same clip without its "loop for ever" block would play once and stop.
    QFile source(sourceClip());
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray data = source.readAll();
    const QByteArray loopBlock("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    QVERIFY(data.contains(loopBlock));
    data.replace(loopBlock, QByteArray());
    QTemporaryDir folder;
    const QString once = folder.filePath(QStringLiteral("once.gif"));
    QFile out(once);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(data);
    out.close();

    QWidget window;
    CAnimate32 clip;
    QVERIFY(clip.Create(&window, once, 0, 0, 100, 60));
    clip.movie()->setSpeed(1000);
    int starts = 0;
    connect(clip.movie(), &QMovie::frameChanged, this, [&](int frame) {
        if (frame == 0)
            ++starts;
    });
    QTRY_VERIFY_WITH_TIMEOUT(starts >= 2, 5000);
    QVERIFY(clip.isPlaying());
}

void TestStatusWindow::animatePlayRestartsFromFirstFrame()
{
    QWidget window;
    CAnimate32 clip;
    QVERIFY(clip.Create(&window, sourceClip(), -5, 0, 100, 60));
    clip.movie()->setPaused(true);
    QVERIFY(clip.movie()->jumpToFrame(5));

    clip.AnimatePlay();
    QVERIFY(clip.isPlaying());
    QCOMPARE(clip.movie()->currentFrameNumber(), 0);
}

void TestStatusWindow::createReplacesEarlierHost()
{
    QWidget window;
    CAnimate32 clip;
    QVERIFY(!clip.Create(nullptr, sourceClip(), 0, 0, 100, 60));
    QVERIFY(!clip.host());

    QVERIFY(clip.Create(&window, sourceClip(), 0, 0, 100, 60));
    QPointer<QLabel> firstHost = clip.host();
    QVERIFY(clip.Create(&window, sourceClip(), 10, 0, 50, 30));
    QVERIFY(firstHost.isNull());
    QCOMPARE(window.findChildren<QLabel *>().size(), 1);
    // A clip bigger than its area is scaled to fit, keeping its proportions.
    QCOMPARE(clip.movie()->scaledSize(), QSize(50, 30));
}

QTEST_MAIN(TestStatusWindow)
#include "test_status_window.moc"
