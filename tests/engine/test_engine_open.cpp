// Opening files and every way that fails, read-only and locked files, a closed database.

#include "engine_test_support.h"
#include "support/fixture_db.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <sqlite3.h>

using namespace engine;
using enginetest::count;
using enginetest::readFile;
using enginetest::writeFile;

namespace {

// A raw connection beside the engine's, to play another program.
struct RawConnection {
    sqlite3 *db = nullptr;
    explicit RawConnection(const QString &path, const QByteArray &key = QByteArray())
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (!key.isEmpty())
            sqlite3_key(db, key.constData(), int(key.size()));
    }
    ~RawConnection() { sqlite3_close(db); }
    int exec(const char *sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
};

const QStringList kTables{"DrinkRel", "Drinks", "Ingredients", "QueryDefs"};

} // namespace

class TestEngineOpen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void openFailures_data();
    void openFailures();
    void truncatedAtPageBoundary();
    void lockedByAnotherConnection();
    void readOnlyRejectsWrites();

    void closedDatabase();

private:
    QString copy(const QString &name) { return fixture::starterLibrary(m_dir.path(), name); }
    QTemporaryDir m_dir;
    QString m_starter; // never opened for writing: copied for each test that writes
};

void TestEngineOpen::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_starter = copy(QStringLiteral("starter.mdb"));
}

void TestEngineOpen::openFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("connect");
    QTest::addColumn<int>("error");

    const QDir dir(m_dir.path());
    const QByteArray good = readFile(m_starter);
    QVERIFY(good.size() > 16 * 1024 && good.size() % 1024 == 0);

    QTest::newRow("missing file") << dir.filePath("missing.mdb") << kConnect << err::FileNotFound;
    QTest::newRow("missing folder") << dir.filePath("nowhere/zestro.mdb") << kConnect << err::FileNotFound;
    QDir(m_dir.path()).mkdir(QStringLiteral("folder.mdb"));
    QTest::newRow("a folder") << dir.filePath("folder.mdb") << kConnect << err::CannotOpenFile;
    QTest::newRow("zero bytes") << writeFile(dir.filePath("empty.mdb"), QByteArray()) << kConnect << err::UnrecognizedFormat;
    QTest::newRow("text file") << writeFile(dir.filePath("text.mdb"), QByteArray("Gin and Tonic\n2 Ounces Gin\n").repeated(80))
                               << kConnect << err::UnrecognizedFormat;
    QTest::newRow("zeros") << writeFile(dir.filePath("zeros.mdb"), QByteArray(4096, '\0')) << kConnect << err::UnrecognizedFormat;
    {
        const QString plain = dir.filePath("plain.mdb");
        RawConnection raw(plain);
        QCOMPARE(raw.exec("CREATE TABLE Drinks (ID SMALLINT, Name TEXT); INSERT INTO Drinks VALUES (1, 'Gin and Tonic')"), SQLITE_OK);
        QTest::newRow("plain sqlite file") << plain << kConnect << err::UnrecognizedFormat;
    }
    // Files that do not decrypt under the program's own password: it is never typed, so never wrong.
    QByteArray noise(16 * 1024, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QTest::newRow("random bytes") << writeFile(dir.filePath("noise.mdb"), noise) << kConnect << err::UnrecognizedFormat;
    QTest::newRow("damaged first page") << writeFile(dir.filePath("page1.mdb"), QByteArray(good).replace(200, 300, noise.left(300)))
                                        << kConnect << err::UnrecognizedFormat;
    {
        const QString other = dir.filePath("other-cipher.mdb");
        RawConnection raw(other, passwordFromConnect(kConnect).toUtf8());
        QCOMPARE(raw.exec("PRAGMA cipher_page_size = 4096; PRAGMA kdf_iter = 256000; CREATE TABLE Drinks (ID SMALLINT)"), SQLITE_OK);
        QTest::newRow("other cipher settings") << other << kConnect << err::UnrecognizedFormat;
    }
    QTest::newRow("wrong password") << m_starter << ";PWD=qorvbelZ" << err::NotValidPassword;
    QTest::newRow("no password") << m_starter << "" << err::NotValidPassword;
    QTest::newRow("cut inside the first page") << writeFile(dir.filePath("cut1.mdb"), good.left(700)) << kConnect
                                               << err::DatabaseDamaged;
    QTest::newRow("cut inside a later page") << writeFile(dir.filePath("cut2.mdb"), good.left(good.size() / 2 + 300)) << kConnect
                                             << err::DatabaseDamaged;
    QTest::newRow("cut by a few bytes") << writeFile(dir.filePath("cut3.mdb"), good.left(good.size() - 5)) << kConnect
                                        << err::DatabaseDamaged;
}

void TestEngineOpen::openFailures()
{
    QFETCH(QString, path);
    QFETCH(QString, connect);
    QFETCH(int, error);
    QCOMPARE_ENGINE_ERROR(OpenDatabase(path, false, false, connect), error);
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-journal")));
}

// A copy cut to half its size on a page boundary: refused when opened, or, should the damage
// only show when the missing pages are read, refused then; never a crash or rows from nowhere.
void TestEngineOpen::truncatedAtPageBoundary()
{
    const QByteArray good = readFile(m_starter);
    const QString path = writeFile(QDir(m_dir.path()).filePath(QStringLiteral("half.mdb")), good.left(good.size() / 2 / 1024 * 1024));
    std::unique_ptr<Database> db;
    try {
        db = OpenDatabase(path);
    } catch (const EngineError &e) {
        QCOMPARE(e.number(), err::DatabaseDamaged);
        return;
    }
    int failures = 0;
    for (const QString &table : kTables) {
        try {
            auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM ") + table);
            QVERIFY2(rs->RecordCount() <= count(*db, table), qPrintable(table));
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), err::DatabaseDamaged);
            ++failures;
        }
    }
    QVERIFY(failures > 0);
}

void TestEngineOpen::lockedByAnotherConnection()
{
    const QString path = copy(QStringLiteral("locked.mdb"));
    RawConnection other(path, passwordFromConnect(kConnect).toUtf8());
    QCOMPARE(other.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
    QCOMPARE_ENGINE_ERROR(OpenDatabase(path), err::FileInUse);
    QCOMPARE(other.exec("ROLLBACK"), SQLITE_OK);
}

void TestEngineOpen::readOnlyRejectsWrites()
{
    const QString path = copy(QStringLiteral("readonly.mdb"));
    auto db = OpenDatabase(path, false, true);
    const int drinks = count(*db, QStringLiteral("Drinks"));
    QCOMPARE_ENGINE_ERROR(db->Execute(QStringLiteral("DELETE Drinks.ID, * From Drinks WHERE (((Drinks.ID)=1));"), dbFailOnError),
                          err::ReadOnly);
    auto rs = db->OpenRecordset(QStringLiteral("Drinks"), dbOpenDynaset);
    rs->Edit();
    rs->Fields(QStringLiteral("Name")) = QStringLiteral("Renamed");
    QCOMPARE_ENGINE_ERROR(rs->Update(), err::ReadOnly);
    TableDef def = db->TableDefs(QStringLiteral("Drinks"));
    QCOMPARE_ENGINE_ERROR(def.Append(def.CreateField(QStringLiteral("Extra"), dbBoolean)), err::ReadOnly);
    QCOMPARE(count(*db, QStringLiteral("Drinks")), drinks);
    QCOMPARE(count(*db, QStringLiteral("Drinks WHERE Name = 'Renamed'")), 0);
}

void TestEngineOpen::closedDatabase()
{
    auto db = OpenDatabase(m_starter, false, true);
    auto table = db->OpenRecordset(QStringLiteral("Drinks"), dbOpenDynaset);
    auto snapshot = db->OpenRecordset(QStringLiteral("SELECT Name FROM Drinks"));
    db->Close();
    QVERIFY(!db->isOpen());
    QCOMPARE_ENGINE_ERROR(db->OpenRecordset(QStringLiteral("Drinks")), err::ObjectClosed);
    QCOMPARE_ENGINE_ERROR(db->Execute(QStringLiteral("DELETE FROM Drinks")), err::ObjectClosed);
    QCOMPARE_ENGINE_ERROR(db->QueryDefs(QStringLiteral("ShowAllName")), err::ObjectClosed);
    QCOMPARE_ENGINE_ERROR(table->Fields(QStringLiteral("Name")).Value(), err::ObjectClosed);
    QCOMPARE_ENGINE_ERROR(table->MoveNext(), err::ObjectClosed);
    QCOMPARE(snapshot->RecordCount(), int(fixture::starterContents().drinks.size())); // read when opened
    db->Close(); // twice is harmless
}

QTEST_GUILESS_MAIN(TestEngineOpen)
#include "test_engine_open.moc"
