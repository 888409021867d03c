// Action queries, transactions, table definitions and compaction.

#include "engine_test_support.h"
#include "support/fixture_db.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace engine;
using enginetest::count;
using enginetest::readFile;
using enginetest::writeFile;

namespace {

const QStringList kTables{"DrinkRel", "Drinks", "Ingredients", "QueryDefs"};

} // namespace

class TestEngineDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void executeRefusals_data();
    void executeRefusals();
    void failingStatementChangesNothing();
    void transactions();

    void upgradeOldLayout();
    void tableDefErrors();

    void compact();
    void compactRefusals();

private:
    QString copy(const QString &name) { return fixture::starterLibrary(m_dir.path(), name); }
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db; // for the tests that leave the file as they found it
};

void TestEngineDatabase::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = OpenDatabase(copy(QStringLiteral("shared.mdb")));
}

void TestEngineDatabase::executeRefusals_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("error");
    QTest::newRow("select") << "SELECT Name FROM Drinks" << err::CannotExecuteSelect;
    QTest::newRow("select with distinctrow") << "SELECT DISTINCTROW Max([ID]) AS MaxID FROM Drinks;" << err::CannotExecuteSelect;
    QTest::newRow("second statement") << "DELETE FROM Drinks WHERE ID = 1; DELETE FROM DrinkRel" << err::SyntaxInQuery;
    QTest::newRow("second statement after a literal")
        << "DELETE FROM Drinks WHERE Name = \"x\"; DELETE FROM DrinkRel" << err::SyntaxInQuery;
    QTest::newRow("syntax error") << "DELETE Drinks WHERE" << err::SyntaxInQuery;
    QTest::newRow("unknown table") << "DELETE FROM Cocktails WHERE ID = 1" << err::SyntaxInQuery;
    QTest::newRow("empty") << "" << err::SyntaxInQuery;
}

void TestEngineDatabase::executeRefusals()
{
    QFETCH(QString, sql);
    QFETCH(int, error);
    Database *db = m_db.get();
    const int drinks = count(*db, QStringLiteral("Drinks")), lines = count(*db, QStringLiteral("DrinkRel"));
    QCOMPARE_ENGINE_ERROR(db->Execute(sql, dbFailOnError), error);
    QCOMPARE(count(*db, QStringLiteral("Drinks")), drinks);
    QCOMPARE(count(*db, QStringLiteral("DrinkRel")), lines);
}

void TestEngineDatabase::failingStatementChangesNothing()
{
    Database *db = m_db.get();
    const int drinks = count(*db, QStringLiteral("Drinks"));
    // Moves every drink out of the way until drink 150 runs into 151; none of the moves stays.
    QCOMPARE_ENGINE_ERROR(db->Execute(QStringLiteral("UPDATE Drinks SET Drinks.ID = CASE WHEN ID = 150 THEN 151 ELSE ID + 1000 END"),
                                      dbFailOnError),
                          err::DuplicateValue);
    QCOMPARE(count(*db, QStringLiteral("Drinks WHERE ID > 1000")), 0);
    QCOMPARE(count(*db, QStringLiteral("Drinks WHERE ID <= 1000")), drinks);
}

void TestEngineDatabase::transactions()
{
    const QString path = copy(QStringLiteral("transactions.mdb"));
    auto db = OpenDatabase(path);
    const int lines = count(*db, QStringLiteral("DrinkRel WHERE DrinkID = 1"));
    QVERIFY(lines > 1);

    // Rewriting a drink's lines, abandoned half way.
    db->BeginTrans();
    QVERIFY(db->inTransaction());
    db->Execute(QStringLiteral("DELETE DrinkRel.DrinkID, * From DrinkRel WHERE (((DrinkRel.DrinkID)=1));"), dbFailOnError);
    auto rel = db->OpenRecordset(QStringLiteral("DrinkRel"), dbOpenDynaset);
    rel->AddNew();
    rel->Fields(QStringLiteral("DrinkID")) = 1;
    rel->Fields(QStringLiteral("IngID")) = 1;
    rel->Update();
    QCOMPARE(count(*db, QStringLiteral("DrinkRel WHERE DrinkID = 1")), 1);
    db->Rollback();
    QVERIFY(!db->inTransaction());
    QCOMPARE(count(*db, QStringLiteral("DrinkRel WHERE DrinkID = 1")), lines);

    // The same, committed: it stays after reopening.
    db->BeginTrans();
    db->Execute(QStringLiteral("DELETE DrinkRel.DrinkID, * From DrinkRel WHERE (((DrinkRel.DrinkID)=1));"), dbFailOnError);
    db->Execute(QStringLiteral("INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (1, 1, \"Splash\")"), dbFailOnError);
    db->CommitTrans();
    rel.reset();
    db->Close();
    db = OpenDatabase(path);
    QCOMPARE(count(*db, QStringLiteral("DrinkRel WHERE DrinkID = 1")), 1);

    // Closing with a transaction open keeps nothing of it.
    db->BeginTrans();
    db->Execute(QStringLiteral("DELETE FROM DrinkRel"));
    db->Close();
    db = OpenDatabase(path);
    QVERIFY(count(*db, QStringLiteral("DrinkRel")) > 0);
}

// The older layout gets its Has field; existing rows read false, and the field stays.
void TestEngineDatabase::upgradeOldLayout()
{
    const QString path = fixture::oldFormatLibrary(m_dir.path());
    auto db = OpenDatabase(path);
    TableDef def = db->TableDefs(QStringLiteral("ingredients"));
    QCOMPARE_ENGINE_ERROR(def.Fields(QStringLiteral("Has")), err::ItemNotFound);
    QCOMPARE_ENGINE_ERROR(db->QueryDefs(QStringLiteral("GetIngList")).OpenRecordset(), err::SyntaxInQuery);

    def.Append(def.CreateField(QStringLiteral("Has"), dbBoolean));
    QCOMPARE(def.Fields(QStringLiteral("has")).Type, int(dbBoolean));
    QCOMPARE_ENGINE_ERROR(def.Append(def.CreateField(QStringLiteral("HAS"), dbBoolean)), err::FieldDefinedTwice);
    TableDef again = db->TableDefs(QStringLiteral("Ingredients"));
    QCOMPARE_ENGINE_ERROR(again.Append(again.CreateField(QStringLiteral("Has"), dbBoolean)), err::FieldDefinedTwice);

    auto rs = db->OpenRecordset(QStringLiteral("Ingredients"), dbOpenDynaset);
    const QVariantList has = enginetest::column(*rs, QStringLiteral("Has"));
    QCOMPARE(has.size(), fixture::starterContents().ingredients.size());
    QCOMPARE(has, QVariantList(has.size(), false));
    QCOMPARE(db->QueryDefs(QStringLiteral("GetIngList")).OpenRecordset()->RecordCount(), int(has.size()));

    rs.reset();
    db->Close();
    db = OpenDatabase(path);
    QCOMPARE(db->TableDefs(QStringLiteral("Ingredients")).Fields(QStringLiteral("Has")).Type, int(dbBoolean));
}

void TestEngineDatabase::tableDefErrors()
{
    Database *db = m_db.get();
    QCOMPARE_ENGINE_ERROR(db->TableDefs(QStringLiteral("Cocktails")), err::ItemNotFound);
    TableDef def = db->TableDefs(QStringLiteral("Drinks"));
    QCOMPARE(def.Fields(QStringLiteral("Tried")).Type, int(dbBoolean));
    QCOMPARE(def.Fields(QStringLiteral("ID")).Type, int(dbInteger));
    QCOMPARE(def.Fields(QStringLiteral("Description")).Type, int(dbMemo));
    QCOMPARE_ENGINE_ERROR(def.Fields(QStringLiteral("Colour")), err::ItemNotFound);
    QCOMPARE_ENGINE_ERROR(def.Append(def.CreateField(QStringLiteral("Name"), dbText)), err::FieldDefinedTwice);
}

void TestEngineDatabase::compact()
{
    const QString source = copy(QStringLiteral("compact-source.mdb"));
    const QString target = QDir(m_dir.path()).filePath(QStringLiteral("compacted.mdb"));
    QMap<QString, int> rows;
    {
        auto db = OpenDatabase(source);
        db->Execute(QStringLiteral("PRAGMA user_version = 7"));
        db->Execute(QStringLiteral("DELETE FROM DrinkRel WHERE DrinkID > 20")); // free pages to give back
        for (const QString &table : kTables)
            rows[table] = count(*db, table);
    }
    CompactDatabase(source, target, QString(), dbEncrypt, kConnect);

    QVERIFY(!readFile(target).startsWith(QByteArrayLiteral("SQLite format 3")));
    QVERIFY(QFileInfo(target).size() < QFileInfo(source).size());
    QCOMPARE_ENGINE_ERROR(OpenDatabase(target, false, false, QStringLiteral(";PWD=other")), err::NotValidPassword);
    auto db = OpenDatabase(target);
    for (const QString &table : kTables)
        QCOMPARE(count(*db, table), rows[table]);
    QCOMPARE(enginetest::scalar(*db, QStringLiteral("PRAGMA user_version")).toInt(), 7);
    QCOMPARE(db->QueryDefs(QStringLiteral("ShowAllName")).OpenRecordset()->RecordCount(), rows[QStringLiteral("Drinks")]);
}

void TestEngineDatabase::compactRefusals()
{
    const QString source = copy(QStringLiteral("compact-refusals.mdb"));
    const QString target = writeFile(QDir(m_dir.path()).filePath(QStringLiteral("taken.mdb")), QByteArray("keep me"));
    QCOMPARE_ENGINE_ERROR(CompactDatabase(source, target), err::DatabaseExists);
    QCOMPARE(readFile(target), QByteArray("keep me"));
    const QString fresh = QDir(m_dir.path()).filePath(QStringLiteral("never.mdb"));
    QCOMPARE_ENGINE_ERROR(CompactDatabase(QDir(m_dir.path()).filePath(QStringLiteral("missing.mdb")), fresh), err::FileNotFound);
    QCOMPARE_ENGINE_ERROR(CompactDatabase(source, fresh, QString(), dbEncrypt, QStringLiteral(";PWD=other")),
                          err::NotValidPassword);
    QVERIFY(!QFileInfo::exists(fresh));
    QCOMPARE_ENGINE_ERROR(CompactDatabase(source, QDir(m_dir.path()).filePath(QStringLiteral("nowhere/new.mdb"))),
                          err::CannotOpenFile);
    QCOMPARE(count(*OpenDatabase(source), QStringLiteral("Drinks")), int(fixture::starterContents().drinks.size()));
}

QTEST_GUILESS_MAIN(TestEngineDatabase)
#include "test_engine_database.moc"
