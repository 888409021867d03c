// The user's options in the per-user settings store: defaults, the texts written, how stored texts
// read back, and hand-edited values that cannot be read.

#include "common/CZestro30.h"
#include "core/settings_access.h"
#include "core/engine_error.h"
#include "core/ini_format.h"
#include "support/temp_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>

#include <functional>

namespace {
// Stores a raw text as a user editing the file might, bypassing CZestro30.
void storeRaw(const TempSettings &settings, const QString &key, const QString &value)
{
    QSettings store(settings.iniFile(), QSettings::IniFormat);
    store.setValue(QStringLiteral("Options/") + key, value);
    store.sync();
}

QString storedText(const QString &key)
{
    return GetSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), key, QStringLiteral("<missing>"));
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void freshInstallDefaults();

    void wholeNumbersWritten_data();
    void wholeNumbersWritten();
    void wholeNumberOutOfRangeNotWritten();
    void showSearchingWritten();
    void barListSlackWritten_data();
    void barListSlackWritten();

    void wholeNumbersRead_data();
    void wholeNumbersRead();
    void showSearchingRead_data();
    void showSearchingRead();

    void handEditedIniFile();
    void everyGetReadsTheStore();

    void fileIsReadable_data();
    void fileIsReadable();
    void handWrittenLinesRead_data();
    void handWrittenLinesRead();
    void olderEncodedFileReadsAndIsRewritten();
    void unreadableFileIsSetAside_data();
    void unreadableFileIsSetAside();
};

void TestSettings::freshInstallDefaults()
{
    TempSettings settings;
    const CZestro30 options;
    QCOMPARE(options.ShowTips(), 1);
    QCOMPARE(options.RandomDrink(), 1);
    QCOMPARE(options.ShowSearching(), true);
    QCOMPARE(options.BarListSlack(), QVariant(1));
    // Reading writes nothing.
    QVERIFY(!QFile::exists(settings.iniFile()));
}

void TestSettings::wholeNumbersWritten_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("off") << 0 << "0";
    QTest::newRow("on") << 1 << "1";
    QTest::newRow("negative") << -1 << "-1";
    QTest::newRow("largest") << 32767 << "32767";
    QTest::newRow("smallest") << -32768 << "-32768";
}

void TestSettings::wholeNumbersWritten()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    TempSettings settings;
    CZestro30 options;

    options.setShowTips(value);
    QCOMPARE(storedText(QStringLiteral("Show Tips at Startup")), text);
    QCOMPARE(options.ShowTips(), value);

    options.setRandomDrink(value);
    QCOMPARE(storedText(QStringLiteral("Random Drink")), text);
    QCOMPARE(options.RandomDrink(), value);
}

void TestSettings::wholeNumberOutOfRangeNotWritten()
{
    TempSettings settings;
    CZestro30 options;
    options.setShowTips(0);
    const auto errorOf = [](const std::function<void()> &set) {
        try {
            set();
        } catch (const EngineError &e) {
            return e.number();
        }
        return 0;
    };
    QCOMPARE(errorOf([&] { options.setShowTips(32768); }), err::Overflow);
    QCOMPARE(errorOf([&] { options.setRandomDrink(-32769); }), err::Overflow);
    QCOMPARE(storedText(QStringLiteral("Show Tips at Startup")), QStringLiteral("0"));
    QCOMPARE(storedText(QStringLiteral("Random Drink")), QStringLiteral("<missing>"));
}

void TestSettings::showSearchingWritten()
{
    TempSettings settings;
    CZestro30 options;

    options.setShowSearching(false);
    QCOMPARE(storedText(QStringLiteral("ShowSearching")), QStringLiteral("False"));
    QCOMPARE(options.ShowSearching(), false);

    options.setShowSearching(true);
    QCOMPARE(storedText(QStringLiteral("ShowSearching")), QStringLiteral("True"));
    QCOMPARE(options.ShowSearching(), true);

    // Stored as text in the file, not as the INI format's own boolean.
    QFile ini(settings.iniFile());
    QVERIFY(ini.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY(ini.readAll().contains("ShowSearching=True"));
}

void TestSettings::barListSlackWritten_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("readBack");

    QTest::newRow("number") << QVariant(2) << "2" << QVariant(QStringLiteral("2"));
    QTest::newRow("zero") << QVariant(0) << "0" << QVariant(QStringLiteral("0"));
    QTest::newRow("text") << QVariant(QStringLiteral("3")) << "3" << QVariant(QStringLiteral("3"));
    QTest::newRow("no value") << QVariant() << "" << QVariant(1);
}

void TestSettings::barListSlackWritten()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QFETCH(QVariant, readBack);
    TempSettings settings;
    CZestro30 options;

    options.setBarListSlack(value);
    QCOMPARE(storedText(QStringLiteral("BarListSlack")), text);
    QCOMPARE(options.BarListSlack(), readBack);
}

void TestSettings::wholeNumbersRead_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("value");

    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("minus one") << "-1" << -1;
    QTest::newRow("spaces around") << " 0 " << 0;
    QTest::newRow("largest") << "32767" << 32767;
    QTest::newRow("smallest") << "-32768" << -32768;
    // Hand-edited values that are no 16-bit whole number give the default.
    QTest::newRow("letters") << "yes" << 1;
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("above range") << "99999" << 1;
    QTest::newRow("below range") << "-32769" << 1;
    QTest::newRow("fraction") << "0.5" << 1;
}

void TestSettings::wholeNumbersRead()
{
    QFETCH(QString, stored);
    QFETCH(int, value);
    TempSettings settings;
    storeRaw(settings, QStringLiteral("Show Tips at Startup"), stored);
    storeRaw(settings, QStringLiteral("Random Drink"), stored);

    const CZestro30 options;
    QCOMPARE(options.ShowTips(), value);
    QCOMPARE(options.RandomDrink(), value);
}

void TestSettings::showSearchingRead_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("value");

    QTest::newRow("True") << "True" << true;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("lower case true") << "true" << true;
    QTest::newRow("upper case TRUE") << "TRUE" << true;
    QTest::newRow("mixed case fAlSe") << "fAlSe" << false;
    QTest::newRow("one") << "1" << true;
    QTest::newRow("minus one") << "-1" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("other number") << "7" << true;
    QTest::newRow("garbage gives default") << "maybe" << true;
    QTest::newRow("empty gives default") << "" << true;
}

void TestSettings::showSearchingRead()
{
    QFETCH(QString, stored);
    QFETCH(bool, value);
    TempSettings settings;
    storeRaw(settings, QStringLiteral("ShowSearching"), stored);
    QCOMPARE(CZestro30().ShowSearching(), value);
}

void TestSettings::handEditedIniFile()
{
    // A file edited in a text editor, with keys the program did not write itself.
    TempSettings settings;
    QVERIFY(QDir().mkpath(QFileInfo(settings.iniFile()).path()));
    QFile ini(settings.iniFile());
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Text));
    ini.write("[Options]\n"
              "Show%20Tips%20at%20Startup=off\n"
              "Random%20Drink=0\n"
              "ShowSearching=FALSE\n"
              "BarListSlack=2 or 3\n");
    ini.close();

    const CZestro30 options;
    QCOMPARE(options.ShowTips(), 1);
    QCOMPARE(options.RandomDrink(), 0);
    QCOMPARE(options.ShowSearching(), false);
    QCOMPARE(options.BarListSlack(), QVariant(QStringLiteral("2 or 3"))); // unchanged, even when no number
}

void TestSettings::everyGetReadsTheStore()
{
    // Two windows each with their own object: a write by one is seen by the other at once.
    TempSettings settings;
    const CZestro30 reader;
    CZestro30 writer;
    QCOMPARE(reader.ShowTips(), 1);

    writer.setShowTips(0);
    writer.setRandomDrink(0);
    writer.setShowSearching(false);
    writer.setBarListSlack(3);
    QCOMPARE(reader.ShowTips(), 0);
    QCOMPARE(reader.RandomDrink(), 0);
    QCOMPARE(reader.ShowSearching(), false);
    QCOMPARE(reader.BarListSlack(), QVariant(QStringLiteral("3")));

    // The tip dialog writes the same key through the store directly.
    SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
                QStringLiteral("1"));
    QCOMPARE(reader.ShowTips(), 1);
}

void TestSettings::fileIsReadable_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("lines"); // as the file holds them
    QTest::addColumn<bool>("qtReads");  // Qt's own INI reader gets the same text

    QTest::newRow("spaces") << "Options" << "Show Tips at Startup" << "1" << "[Options]\nShow Tips at Startup=1\n" << true;
    QTest::newRow("path") << "Options" << "Database" << "/home/zo\u00eb/My Drinks/a=b;1.mdb"
                          << "Database=\"/home/zo\u00eb/My Drinks/a=b;1.mdb\"\n" << true;
    QTest::newRow("commas") << "Window" << "Splitter" << "280,700" << "[Window]\nSplitter=280,700\n" << false;
    QTest::newRow("key syntax") << "Options" << " a=b%\"c " << "x" << "%20a%3Db%25%22c%20=x\n" << true;
    QTest::newRow("escapes") << "Options" << "Text" << " a\n\t\"q\" C:\\x " << "Text=\" a\\n\\t\\\"q\\\" C:\\\\x \"\n" << true;
    QTest::newRow("control before hex digit") << "Options" << "Bell" << "\x01" "A" << "Bell=\\x1\\x41\n" << true;
    QTest::newRow("typed-looking text") << "Options" << "At" << "@Variant(x)" << "At=@@Variant(x)\n" << true;
    QTest::newRow("subgroup") << "Odd]Section" << "Sub/Key" << "v" << "[Odd%5DSection]\nSub\\Key=v\n" << true;
    QTest::newRow("group named General") << "General" << "Key" << "v" << "[%General]\nKey=v\n" << true;
    QTest::newRow("trailing space") << "Options" << "Name" << "Sour " << "Name=\"Sour \"\n" << true;
    QTest::newRow("key of comment signs") << "Options" << "#;x=" << "1" << "%23;x%3D=1\n" << true;
}

void TestSettings::fileIsReadable()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, lines);
    QFETCH(bool, qtReads);
    TempSettings settings;
    SaveSetting(QStringLiteral("Zestro"), section, key, value);

    QFile file(settings.iniFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains(lines), qPrintable(text));
    QCOMPARE(GetSetting(QStringLiteral("Zestro"), section, key), value);
    // QSettings answers from what it wrote; a reader of its own reads the file.
    const QSettings::SettingsMap fresh = ini::parse(text.toUtf8());
    QCOMPARE(fresh.value(section + QLatin1Char('/') + key).toString(), value);
    QCOMPARE(ini::format(fresh), text.toUtf8());
    if (qtReads)
        QCOMPARE(QSettings(settings.iniFile(), QSettings::IniFormat).value(section + QLatin1Char('/') + key).toString(), value);
}

void TestSettings::handWrittenLinesRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected"); // Options/Key, or every key read when that is absent

    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Options]\nKey=1\n") << "1";
    QTest::newRow("escaped trailing space") << QByteArray("[Options]\nKey=a\\x20\n") << "a ";
    QTest::newRow("escaped trailing tab") << QByteArray("[Options]\nKey=a\\t\n") << "a\t";
    QTest::newRow("octal trailing space") << QByteArray("[Options]\nKey=a\\040\n") << "a ";
    QTest::newRow("line without a key") << QByteArray("[Options]\n=1\nKey=2\n") << "Options/Key";
    QTest::newRow("comment lines") << QByteArray("[Options]\n#Key=1\n;Key=2\nKey=3\n") << "3";
}

void TestSettings::handWrittenLinesRead()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    const QSettings::SettingsMap map = ini::parse(file);
    if (expected.contains(QLatin1Char('/')))
        QCOMPARE(map.keys(), QStringList{expected});
    else
        QCOMPARE(map.value(QStringLiteral("Options/Key")).toString(), expected);
}

void TestSettings::olderEncodedFileReadsAndIsRewritten()
{
    TempSettings settings;
    const QList<std::pair<QString, QString>> kept = {
        {"Top", "1"},
        {"Options/Show Tips at Startup", "0"},
        {"Options/Database", "/home/zo\u00eb/My Drinks, old/zestro.mdb"},
        {"Other Section/Sub/Some Key", "  spaced  "},
    };
    {
        QSettings old(settings.iniFile(), QSettings::IniFormat); // as earlier versions wrote it
        for (const auto &[key, value] : kept)
            old.setValue(key, value);
    }
    QFile file(settings.iniFile());
    QVERIFY(file.open(QIODevice::Append));
    file.write("Odd=@Variant(\\0\\0\\0\\x7f)\nnot a setting\n");
    file.close();

    const auto read = [](const QString &key) {
        return GetSetting(QStringLiteral("Zestro"), key.section(QLatin1Char('/'), 0, 0), key.section(QLatin1Char('/'), 1), QStringLiteral("<missing>"));
    };
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(read(QStringLiteral("Options/Show Tips at Startup")), QStringLiteral("0"));
        QCOMPARE(read(QStringLiteral("Other Section/Sub/Some Key")), QStringLiteral("  spaced  "));
        QCOMPARE(read(QStringLiteral("Options/Database")), kept[2].second);
        QCOMPARE(GetSetting(QStringLiteral("Zestro"), QString(), QStringLiteral("Top")).isEmpty(), false);
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Random Drink"), QStringLiteral("0"));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(!text.contains('%') && text.contains("[Other Section]\nOdd=@Variant(\\0\\0\\0\\x7f)\nSub\\Some Key=\"  spaced  \"\n"),
             text.constData());
}

void TestSettings::unreadableFileIsSetAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("setAside");
    const QByteArray ours = "[Options]\nRandom Drink=0\n";
    const auto padded = [&](qsizetype size) { return ours + ';' + QByteArray(size - ours.size() - 2, 'x') + '\n'; };
    QTest::newRow("our own") << ours << false;
    QTest::newRow("one megabyte") << padded(1024 * 1024) << false;
    QTest::newRow("a byte over a megabyte") << padded(1024 * 1024 + 1) << true;
    QTest::newRow("a NUL byte") << ours + QByteArray("x=\0", 3) << true;
    QTest::newRow("control bytes") << ours + QByteArray(200, '\x01') << true;
    QTest::newRow("a few control bytes") << ours + "\x01\x02\n" + QByteArray(300, ';') << false;
    QTest::newRow("tabs and form feeds") << ours + "Text=" + QByteArray(100, '\t') + QByteArray(100, '\f') + "x\n" << false;
}

void TestSettings::unreadableFileIsSetAside()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, setAside);
    TempSettings settings;
    QVERIFY(QDir().mkpath(QFileInfo(settings.iniFile()).path()));
    QFile file(settings.iniFile());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();

    const QString message = setAsideUnreadableSettings(QStringLiteral("Zestro"));
    QCOMPARE(message.isEmpty(), !setAside);
    QCOMPARE(QFile::exists(settings.iniFile() + QStringLiteral(".bad")), setAside);
    QCOMPARE(QFile::exists(settings.iniFile()), !setAside);
    QCOMPARE(storedText(QStringLiteral("Random Drink")), setAside ? QStringLiteral("<missing>") : QStringLiteral("0"));
    if (setAside) {
        QVERIFY2(message.endsWith(QStringLiteral("has kept the file as '%1.bad'.").arg(settings.iniFile())), qPrintable(message));
        QFile bad(settings.iniFile() + QStringLiteral(".bad"));
        QVERIFY(bad.open(QIODevice::ReadOnly));
        QCOMPARE(bad.readAll(), content);
        // The start goes on with a settings file of its own.
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Random Drink"), QStringLiteral("1"));
        QCOMPARE(QSettings(settings.iniFile(), QSettings::IniFormat).value(QStringLiteral("Options/Random Drink")).toString(),
                 QStringLiteral("1"));
        // A second bad file is kept beside the first, not over it.
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QVERIFY(!setAsideUnreadableSettings(QStringLiteral("Zestro")).isEmpty());
        QCOMPARE(QDir(QFileInfo(settings.iniFile()).path()).entryList({QStringLiteral("Zestro.ini.bad*")}).size(), 2);
    }
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
