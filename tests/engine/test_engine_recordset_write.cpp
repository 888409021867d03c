// Record sets over tables, write side: AddNew / Edit / Update, values a field refuses, and what the
// set sees of rows that action queries add or remove underneath it.

#include "engine_test_support.h"
#include "recordset_fixture.h"
#include "support/fixture_db.h"

#include <QTemporaryDir>
#include <cmath>

using namespace engine;
using namespace recordsetfixture;
using enginetest::count;

class TestEngineRecordsetWrite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addNew_data();
    void addNew();
    void addNewBuffer();
    void editUpdate();
    void editDroppedByMove();
    void updateWithoutEdit();
    void fieldLimits_data();
    void fieldLimits();
    void duplicateKey();
    void wholeNumbersBeyondInt();

    void findSeesRowsAddedByExecute();
    void requeryAfterExecute();
    void editOfRowDeletedByExecute();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
};

void TestEngineRecordsetWrite::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = OpenDatabase(fixture::customLibrary(m_dir.path(), recordsetLibrary()));
}

// One open file for the whole class; each test's changes are rolled back.
void TestEngineRecordsetWrite::init() { m_db->BeginTrans(); }
void TestEngineRecordsetWrite::cleanup() { m_db->Rollback(); }

// The new row joins the set; the row that was current stays current.
void TestEngineRecordsetWrite::addNew_data()
{
    QTest::addColumn<int>("movesBefore"); // MoveNext calls before AddNew; -1: none at all
    QTest::addColumn<QVariant>("current");
    QTest::newRow("fresh set") << -1 << QVariant(1);
    QTest::newRow("first row") << 0 << QVariant(1);
    QTest::newRow("third row") << 2 << QVariant(3);
    QTest::newRow("after the end") << 5 << QVariant(QStringLiteral("EOF"));
}

void TestEngineRecordsetWrite::addNew()
{
    QFETCH(int, movesBefore);
    QFETCH(QVariant, current);
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    if (movesBefore >= 0) {
        rs->MoveFirst();
        for (int i = 0; i < movesBefore; ++i)
            rs->MoveNext();
    }
    rs->AddNew();
    rs->Fields(QStringLiteral("ID")) = 6;
    rs->Fields(QStringLiteral("Name")) = QStringLiteral("Negroni");
    rs->Fields(QStringLiteral("Tried")) = true;
    rs->Update();

    QCOMPARE(currentId(*rs), current);
    QCOMPARE(rs->RecordCount(), 6);
    QCOMPARE(ids(*rs), (QVariantList{1, 2, 3, 4, 5, 6}));
    rs->FindFirst(QStringLiteral("[Name] = \"negroni\""));
    QVERIFY(!rs->NoMatch());
    QCOMPARE(rs->Fields(QStringLiteral("Tried")).Value(), QVariant(true));
    QCOMPARE(rs->Fields(QStringLiteral("Print")).Value(), QVariant(false)); // the column's default
    QVERIFY(rs->Fields(QStringLiteral("Comments")).Value().isNull());
    QCOMPARE(count(*m_db, QStringLiteral("Drinks WHERE Name = 'Negroni' AND ID = 6")), 1);
}

void TestEngineRecordsetWrite::addNewBuffer()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    rs->AddNew();
    QVERIFY(rs->Fields(QStringLiteral("Name")).Value().isNull());
    rs->Fields(QStringLiteral("Name")) = QStringLiteral("Draft");
    QCOMPARE(rs->Fields(QStringLiteral("Name")).Value(), QVariant(QStringLiteral("Draft")));
    rs->CancelUpdate();
    QCOMPARE(rs->Fields(QStringLiteral("Name")).Value(), QVariant(QStringLiteral("Gin and Tonic")));
    QCOMPARE(count(*m_db, kDrinks), 5);
}

void TestEngineRecordsetWrite::editUpdate()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    rs->FindFirst(QStringLiteral("[ID] = 2"));
    rs->Edit();
    rs->Fields(QStringLiteral("Comments")) = QStringLiteral("Now with comments.");
    QCOMPARE(rs->Fields(QStringLiteral("Name")).Value(), QVariant(QStringLiteral("Vodka Tonic"))); // unchanged fields read through
    rs->Update();
    QCOMPARE(currentId(*rs), QVariant(2));
    QCOMPARE(rs->Fields(QStringLiteral("Comments")).Value(), QVariant(QStringLiteral("Now with comments.")));
    QCOMPARE(count(*m_db, QStringLiteral("Drinks WHERE Comments = 'Now with comments.' AND Name = 'Vodka Tonic'")), 1);

    rs->Edit(); // back to null
    rs->Fields(QStringLiteral("Comments")) = QVariant();
    rs->Update();
    QCOMPARE(count(*m_db, QStringLiteral("Drinks WHERE ID = 2 AND Comments IS NULL")), 1);
}

void TestEngineRecordsetWrite::editDroppedByMove()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    rs->Edit();
    rs->Fields(QStringLiteral("Name")) = QStringLiteral("Changed");
    rs->MoveNext();
    QCOMPARE_ENGINE_ERROR(rs->Update(), err::UpdateWithoutAddNewOrEdit);
    QCOMPARE(count(*m_db, QStringLiteral("Drinks WHERE Name = 'Changed'")), 0);
}

void TestEngineRecordsetWrite::updateWithoutEdit()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    QCOMPARE_ENGINE_ERROR(rs->Update(), err::UpdateWithoutAddNewOrEdit);
    QCOMPARE_ENGINE_ERROR(rs->Fields(QStringLiteral("Name")) = QStringLiteral("x"), err::UpdateWithoutAddNewOrEdit);
    QCOMPARE_ENGINE_ERROR(rs->CancelUpdate(), err::UpdateWithoutAddNewOrEdit);
    rs->AddNew();
    rs->Fields(QStringLiteral("ID")) = 7;
    rs->Fields(QStringLiteral("Name")) = QStringLiteral("Once");
    rs->Update();
    QCOMPARE_ENGINE_ERROR(rs->Update(), err::UpdateWithoutAddNewOrEdit); // the first Update ended the AddNew
    QCOMPARE(count(*m_db, QStringLiteral("Drinks WHERE Name = 'Once'")), 1);
}

// A value the field cannot hold is refused when it is assigned, before anything is written.
void TestEngineRecordsetWrite::fieldLimits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("error"); // 0: accepted
    QTest::addColumn<QVariant>("stored"); // after a refusal: the value the field held before

    QTest::newRow("key 32767") << "ID" << QVariant(32767) << 0 << QVariant(32767);
    QTest::newRow("key -32768") << "ID" << QVariant(-32768) << 0 << QVariant(-32768);
    QTest::newRow("key 32768") << "ID" << QVariant(32768) << err::Overflow << QVariant(100);
    QTest::newRow("key -32769") << "ID" << QVariant(-32769) << err::Overflow << QVariant(100);
    QTest::newRow("key 1e10") << "ID" << QVariant(1e10) << err::Overflow << QVariant(100);
    QTest::newRow("key text 32768") << "ID" << QVariant(QStringLiteral("32768")) << err::Overflow << QVariant(100);
    QTest::newRow("key text digits") << "ID" << QVariant(QStringLiteral("12")) << 0 << QVariant(12);
    QTest::newRow("key words") << "ID" << QVariant(QStringLiteral("twelve")) << err::TypeMismatch << QVariant(100);
    QTest::newRow("key nan") << "ID" << QVariant(QStringLiteral("nan")) << err::TypeMismatch << QVariant(100);
    QTest::newRow("key not a number") << "ID" << QVariant(std::nan("")) << err::TypeMismatch << QVariant(100);
    QTest::newRow("flag from true") << "Tried" << QVariant(true) << 0 << QVariant(true);
    QTest::newRow("flag from -1") << "Tried" << QVariant(-1) << 0 << QVariant(true);
    QTest::newRow("flag from text") << "Tried" << QVariant(QStringLiteral("True")) << 0 << QVariant(true);
    QTest::newRow("flag from words") << "Tried" << QVariant(QStringLiteral("maybe")) << err::TypeMismatch << QVariant(false);
    QTest::newRow("name of 255") << "Name" << QVariant(QString(255, QLatin1Char('n'))) << 0 << QVariant(QString(255, QLatin1Char('n')));
    QTest::newRow("name of 256") << "Name" << QVariant(QString(256, QLatin1Char('n'))) << err::FieldTooSmall
                                 << QVariant(QStringLiteral("Probe"));
}

void TestEngineRecordsetWrite::fieldLimits()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(int, error);
    QFETCH(QVariant, stored);
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    rs->AddNew();
    rs->Fields(QStringLiteral("ID")) = 100;
    rs->Fields(QStringLiteral("Name")) = QStringLiteral("Probe");
    QCOMPARE_ENGINE_ERROR(rs->Fields(field) = value, error);
    QCOMPARE(count(*m_db, kDrinks), 5);
    rs->Update();
    QCOMPARE(count(*m_db, kDrinks), 6);
    rs->MoveLast();
    QCOMPARE(rs->Fields(field).Value(), stored);
}

void TestEngineRecordsetWrite::duplicateKey()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    rs->AddNew();
    rs->Fields(QStringLiteral("ID")) = 3;
    rs->Fields(QStringLiteral("Name")) = QStringLiteral("Clash");
    QCOMPARE_ENGINE_ERROR(rs->Update(), err::DuplicateValue);
    QCOMPARE(count(*m_db, kDrinks), 5);
    QCOMPARE(rs->RecordCount(), 5);
}

// A 32-bit field added to a table holds what SQLite stores, not a value cut to int.
void TestEngineRecordsetWrite::wholeNumbersBeyondInt()
{
    TableDef def = m_db->TableDefs(QStringLiteral("DrinkRel"));
    def.Append(def.CreateField(QStringLiteral("Big"), dbLong));
    m_db->Execute(QStringLiteral("UPDATE DrinkRel SET Big = 5000000000 WHERE rowid = 1"));
    auto rs = m_db->OpenRecordset(QStringLiteral("DrinkRel"), dbOpenDynaset);
    QCOMPARE(rs->Fields(QStringLiteral("Big")).Value().toLongLong(), 5000000000LL);
}

void TestEngineRecordsetWrite::findSeesRowsAddedByExecute()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    rs->MoveLast();
    m_db->Execute(QStringLiteral("INSERT INTO Drinks (ID, Name) VALUES (40, \"Late Arrival\")"));
    rs->FindFirst(QStringLiteral("[Name] = \"late arrival\""));
    QVERIFY(!rs->NoMatch());
    QCOMPARE(rs->Fields(QStringLiteral("ID")).Value(), QVariant(40));
    QCOMPARE(rs->RecordCount(), 6);
    rs->MoveNext();
    QVERIFY(rs->Eof());
}

void TestEngineRecordsetWrite::requeryAfterExecute()
{
    auto table = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    auto sql = m_db->OpenRecordset(QStringLiteral("SELECT Name FROM Drinks WHERE Name = \"gin fizz\""));
    QCOMPARE(table->RecordCount(), 5);
    QCOMPARE(sql->RecordCount(), 1);

    m_db->Execute(QStringLiteral("DELETE Drinks.ID, * From Drinks WHERE (((Drinks.ID)=3));"), dbFailOnError);
    table->MoveFirst();
    table->MoveNext();
    table->MoveNext(); // onto the deleted row
    QCOMPARE_ENGINE_ERROR(table->Fields(QStringLiteral("Name")).Value(), err::RecordDeleted);

    table->Requery();
    sql->Requery();
    QCOMPARE(table->RecordCount(), 4);
    QCOMPARE(ids(*table), (QVariantList{1, 2, 4, 5}));
    QVERIFY(sql->Bof() && sql->Eof());
}

// Editing a row that an action query removed meanwhile must not report success.
void TestEngineRecordsetWrite::editOfRowDeletedByExecute()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    rs->FindFirst(QStringLiteral("[ID] = 4"));
    rs->Edit();
    rs->Fields(QStringLiteral("Comments")) = QStringLiteral("Edited");
    m_db->Execute(QStringLiteral("DELETE FROM Drinks WHERE ID = 4"));
    QCOMPARE_ENGINE_ERROR(rs->Update(), err::RecordDeleted);
    QCOMPARE(count(*m_db, QStringLiteral("Drinks WHERE Comments = 'Edited'")), 0);
}

QTEST_GUILESS_MAIN(TestEngineRecordsetWrite)
#include "test_engine_recordset_write.moc"
