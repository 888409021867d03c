// The tip of the day: reading TIPOFDAY.TXT in its many shapes, the random choice, Next Tip, the
// missing-file text and the start-up check box.

#include "app/frmTip.h"
#include "common/seams.h"
#include "core/settings_access.h"
#include "support/temp_settings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kShowTipsKey = QStringLiteral("Show Tips at Startup");

QString storedShowTips()
{
    return GetSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), kShowTipsKey, QStringLiteral("<none>"));
}
} // namespace

class TestTip : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tipFileShapes_data();
    void tipFileShapes();
    void randomDrawsAndNextTip_data();
    void randomDrawsAndNextTip();
    void missingFile_data();
    void missingFile();
    void stringTableCaptionsAndButtons();
    void checkBoxReflectsAndWritesSetting_data();
    void checkBoxReflectsAndWritesSetting();

private:
    void writeTipFile(const QByteArray &bytes);
    // The random generator hands out these values, one per draw; 0 once they run out.
    void scriptRandom(const QList<double> &values);

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<QTemporaryDir> m_folder;
    QList<double> m_random;
};

void TestTip::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_folder = std::make_unique<QTemporaryDir>();
    setProgramFolder(m_folder->path());
    scriptRandom({});
}

void TestTip::cleanup()
{
    setProgramFolder(QString());
    setRandomSource({});
    m_folder.reset();
    m_settings.reset();
}

void TestTip::writeTipFile(const QByteArray &bytes)
{
    QFile file(m_folder->filePath(QStringLiteral("TIPOFDAY.TXT")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void TestTip::scriptRandom(const QList<double> &values)
{
    m_random = values;
    setRandomSource([this] { return m_random.isEmpty() ? 0.0 : m_random.takeFirst(); });
}

void TestTip::tipFileShapes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("tips");

    QTest::newRow("one line, no break") << QByteArray("Chill the glass.") << QStringList{"Chill the glass."};
    QTest::newRow("one line, LF") << QByteArray("Chill the glass.\n") << QStringList{"Chill the glass."};
    QTest::newRow("CRLF lines") << QByteArray("First\r\nSecond\r\n") << QStringList{"First", "Second"};
    QTest::newRow("last line without break") << QByteArray("First\nSecond") << QStringList{"First", "Second"};
    QTest::newRow("CRLF, last without break") << QByteArray("First\r\nSecond") << QStringList{"First", "Second"};
    QTest::newRow("empty line inside") << QByteArray("First\n\nThird\n") << QStringList{"First", "", "Third"};
    QTest::newRow("empty last line") << QByteArray("First\r\n\r\n") << QStringList{"First", ""};
    QTest::newRow("only a line break") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("spaces kept") << QByteArray("  indented  \n") << QStringList{"  indented  "};
    QTest::newRow("Latin-1") << QByteArray("Caf\xe9 br\xfblot\r\n") << QStringList{QStringLiteral("Caf\u00e9 br\u00fblot")};
    QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9\n") << QStringList{QStringLiteral("Caf\u00e9")};
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xef\xbb\xbfTip\n") << QStringList{"Tip"};
    QTest::newRow("markup is text") << QByteArray("<b>Shake</b> & stir\n") << QStringList{"<b>Shake</b> & stir"};
}

void TestTip::tipFileShapes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, tips);
    writeTipFile(bytes);
    scriptRandom({0.0, 0.999});

    frmTip tip;
    QCOMPARE(tip.Tips, tips);
    QCOMPARE(tip.lblTipText->text(), tips.isEmpty() ? QString() : tips.first());
    QCOMPARE(tip.lblTipText->textFormat(), Qt::PlainText);
    // The highest draw gives the last tip; with no tips the label stays empty.
    tip.cmdNextTip->click();
    QCOMPARE(tip.lblTipText->text(), tips.isEmpty() ? QString() : tips.last());
}

void TestTip::randomDrawsAndNextTip_data()
{
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<QStringList>("shown"); // at load, then after each Next Tip

    QTest::newRow("lowest, highest") << QList<double>{0.0, 0.999999} << QStringList{"Alpha", "Charlie"};
    QTest::newRow("either side of a third") << QList<double>{0.3333, 1.0 / 3.0 + 1e-9} << QStringList{"Alpha", "Bravo"};
    // Nothing is remembered between draws, so a tip may come twice in a row.
    QTest::newRow("same tip twice") << QList<double>{0.5, 0.6, 0.9} << QStringList{"Bravo", "Bravo", "Charlie"};
}

void TestTip::randomDrawsAndNextTip()
{
    QFETCH(QList<double>, draws);
    QFETCH(QStringList, shown);
    writeTipFile("Alpha\nBravo\nCharlie\n");
    scriptRandom(draws);

    frmTip tip;
    QStringList seen{tip.lblTipText->text()};
    while (seen.size() < shown.size()) {
        QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
        seen << tip.lblTipText->text();
    }
    QCOMPARE(seen, shown);
    QCOMPARE(tip.CurrentTip, int(tip.Tips.indexOf(shown.last())) + 1);
}

void TestTip::missingFile_data()
{
    QTest::addColumn<bool>("directoryInItsPlace");
    QTest::newRow("no file") << false;
    QTest::newRow("a folder of that name") << true;
}

void TestTip::missingFile()
{
    QFETCH(bool, directoryInItsPlace);
    if (directoryInItsPlace)
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("TIPOFDAY.TXT")));

    const QString expected = QStringLiteral(
        "That the TIPOFDAY.TXT file was not found? \n\nCreate a text file named TIPOFDAY.TXT using NotePad "
        "with 1 tip per line. Then place it in the same directory as the application. ");
    frmTip tip;
    QVERIFY(tip.Tips.isEmpty());
    QCOMPARE(tip.lblTipText->text(), expected);
    tip.cmdNextTip->click();
    QCOMPARE(tip.lblTipText->text(), expected);
    QVERIFY(!tip.LoadTips(QString()));
}

void TestTip::stringTableCaptionsAndButtons()
{
    writeTipFile("Alpha\n");
    frmTip tip;
    QCOMPARE(tip.chkLoadTipsAtStartup->text(), QStringLiteral("&Show Tips at Startup"));
    QCOMPARE(tip.cmdNextTip->text(), QStringLiteral("&Next Tip"));
    QCOMPARE(tip.cmdOK->text(), QStringLiteral("OK"));
    // OK is the default button and Escape closes the dialog as well.
    tip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tip));
    QVERIFY(tip.cmdOK->isDefault());
    QTest::keyClick(&tip, Qt::Key_Return);
    QCOMPARE(tip.result(), int(QDialog::Accepted));
    tip.show();
    QTest::keyClick(&tip, Qt::Key_Escape);
    QCOMPARE(tip.result(), int(QDialog::Rejected));
}

void TestTip::checkBoxReflectsAndWritesSetting_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");
    QTest::newRow("never set") << QString() << true;
    QTest::newRow("on") << "1" << true;
    QTest::newRow("off") << "0" << false;
    QTest::newRow("other non-zero") << "-1" << true;
}

void TestTip::checkBoxReflectsAndWritesSetting()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    if (!stored.isNull())
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), kShowTipsKey, stored);

    frmTip tip;
    QCOMPARE(tip.chkLoadTipsAtStartup->isChecked(), checked);
    QCOMPARE(storedShowTips(), stored.isNull() ? QStringLiteral("<none>") : stored); // loading writes nothing

    // Each click is stored at once, and stays when the dialog is closed without OK.
    tip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tip));
    QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton);
    QCOMPARE(storedShowTips(), checked ? QStringLiteral("0") : QStringLiteral("1"));
    QTest::keyClick(tip.chkLoadTipsAtStartup, Qt::Key_Space);
    QCOMPARE(storedShowTips(), checked ? QStringLiteral("1") : QStringLiteral("0"));
    tip.chkLoadTipsAtStartup->click();
    tip.reject();
    QCOMPARE(frmTip().chkLoadTipsAtStartup->isChecked(), !checked);
}

QTEST_MAIN(TestTip)
#include "test_tip.moc"
