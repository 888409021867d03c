// The file, path and comma-list routines of CCommonRoutines.

#include "common/CCommonRoutines.h"
#include "core/engine_error.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestCommonRoutines : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void fileExists_data();
    void fileExists();
    void fileExistsInCurrentFolder();

    void getFilenameFromPath_data();
    void getFilenameFromPath();

    void listboxToCommaDelimitedString_data();
    void listboxToCommaDelimitedString();

    void commaDelimitedStringToArray_data();
    void commaDelimitedStringToArray();
    void commaDelimitedStringToArrayTooManyPieces();

private:
    QTemporaryDir m_dir;
    CCommonRoutines m_routines;
};

void TestCommonRoutines::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir dir(m_dir.path());
    for (const char *name : {"zestro.mdb", "Mixed.Bar", "a[1].txt", ".hidden.bar", "tip01.txt", "tip02.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(dir.mkdir(QStringLiteral("folder.bar")));
    QVERIFY(dir.mkdir(QStringLiteral("onlyfolders")));
    QVERIFY(dir.mkdir(QStringLiteral("onlyfolders/inner")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("zestro.mdb")), dir.filePath(QStringLiteral("link.mdb"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("broken.mdb"))));
}

void TestCommonRoutines::fileExists_data()
{
    QTest::addColumn<QString>("name"); // inside the temporary folder
    QTest::addColumn<bool>("exists");

    QTest::newRow("plain file") << "zestro.mdb" << true;
    QTest::newRow("missing file") << "nothere.mdb" << false;
    QTest::newRow("star matches") << "*.mdb" << true;
    QTest::newRow("star matches nothing") << "*.xyz" << false;
    QTest::newRow("question mark") << "tip0?.txt" << true;
    QTest::newRow("question mark is one character") << "tip?.txt" << false;
    QTest::newRow("case differs") << "ZESTRO.MDB" << false;
    QTest::newRow("case differs with wild card") << "*.bar" << false;
    QTest::newRow("case matches with wild card") << "*.Bar" << true;
    QTest::newRow("brackets are literal") << "a[1].txt" << true;
    QTest::newRow("brackets are no character class") << "a[123].txt" << false;
    QTest::newRow("hidden file") << ".hidden.bar" << false;
    QTest::newRow("directory") << "folder.bar" << false;
    QTest::newRow("folder holding only folders") << "onlyfolders/*" << false;
    QTest::newRow("symbolic link to a file") << "link.mdb" << true;
    QTest::newRow("broken symbolic link") << "broken.mdb" << false;
    QTest::newRow("missing folder") << "nofolder/zestro.mdb" << false;
    QTest::newRow("folder path, no name") << "onlyfolders/" << false;
}

void TestCommonRoutines::fileExists()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QCOMPARE(m_routines.FileExists(m_dir.filePath(name)), exists);
}

void TestCommonRoutines::fileExistsInCurrentFolder()
{
    // A bare name is looked for in the current folder.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    const bool bare = m_routines.FileExists(QStringLiteral("zestro.mdb"));
    const bool bareMissing = m_routines.FileExists(QStringLiteral("nothere.mdb"));
    const bool empty = m_routines.FileExists(QString());
    QDir::setCurrent(previous);
    QVERIFY(bare);
    QVERIFY(!bareMissing);
    QVERIFY(!empty);
}

void TestCommonRoutines::getFilenameFromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");

    QTest::newRow("backslashes") << R"(C:\Program Files\Zestro\zestro.mdb)" << "zestro.mdb";
    QTest::newRow("slash after backslashes") << R"(C:\data\old/drinks.mdb)" << "drinks.mdb";
    QTest::newRow("backslash after slashes") << R"(/home/me/bars\home.bar)" << "home.bar";
    QTest::newRow("bare name") << "zestro.mdb" << "zestro.mdb";
    QTest::newRow("ends in separator") << "/home/me/" << "";
    QTest::newRow("empty") << "" << "";
}

void TestCommonRoutines::getFilenameFromPath()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(m_routines.GetFilenameFromPath(path), name);
}

void TestCommonRoutines::listboxToCommaDelimitedString_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty list") << QStringList() << "";
    QTest::newRow("one item") << QStringList{"Gin"} << "Gin";
    QTest::newRow("several, unquoted, untrimmed") << QStringList{"Gin", " Dry Vermouth", "Olive "}
                                                  << "Gin, Dry Vermouth,Olive ";
    QTest::newRow("empty item kept") << QStringList{"Gin", "", "Lime"} << "Gin,,Lime";
}

void TestCommonRoutines::listboxToCommaDelimitedString()
{
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QListWidget lstList;
    lstList.addItems(items);
    QCOMPARE(m_routines.ListboxToCommaDelimitedString(lstList), text);
}

void TestCommonRoutines::commaDelimitedStringToArray_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("array");

    QTest::newRow("no commas") << "Gin and Tonic" << 3 << QStringList{"Gin and Tonic", "", ""};
    QTest::newRow("side-by-side commas") << "Gin,,Lime" << 4 << QStringList{"Gin", "", "Lime", ""};
    QTest::newRow("no trimming") << " Gin , Lime" << 2 << QStringList{" Gin ", " Lime"};
    QTest::newRow("empty text") << "" << 2 << QStringList{"", ""};
    QTest::newRow("trailing comma") << "Gin," << 2 << QStringList{"Gin", ""};
    QTest::newRow("exactly fits") << "a,b,c" << 3 << QStringList{"a", "b", "c"};
}

void TestCommonRoutines::commaDelimitedStringToArray()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(QStringList, array);

    QStringList sArray{"stale", "stale", "stale", "stale", "stale", "stale"};
    const int pieces = m_routines.CommaDelimitedStringToArray(sArray, text, size);
    QCOMPARE(sArray, array);
    QCOMPARE(pieces, int(text.count(QLatin1Char(','))) + 1);
}

void TestCommonRoutines::commaDelimitedStringToArrayTooManyPieces()
{
    QStringList sArray;
    int number = 0;
    try {
        m_routines.CommaDelimitedStringToArray(sArray, QStringLiteral("a,b,c,d"), 3);
    } catch (const EngineError &e) {
        number = e.number();
    }
    QCOMPARE(number, err::SubscriptOutOfRange);
    // The pieces that fitted were stored before the overflow.
    QCOMPARE(sArray, (QStringList{"a", "b", "c"}));

    number = 0;
    try {
        m_routines.CommaDelimitedStringToArray(sArray, QString(), 0);
    } catch (const EngineError &e) {
        number = e.number();
    }
    QCOMPARE(number, err::SubscriptOutOfRange);
}

QTEST_MAIN(TestCommonRoutines)
#include "test_common_routines.moc"
