// Record sets over tables, read side: moving, finding, typed values, read-only and closed sets.

#include "engine_test_support.h"
#include "recordset_fixture.h"
#include "support/fixture_db.h"

#include <QTemporaryDir>

using namespace engine;
using enginetest::count;
using namespace recordsetfixture;

class TestEngineRecordset : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyTable();
    void navigation();
    void unknownField_data();
    void unknownField();
    void find_data();
    void find();
    void findUnknownField();
    void valueTypes_data();
    void valueTypes();

    void readOnlySets_data();
    void readOnlySets();
    void closedSet();
    void forwardOnlySet();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
};

void TestEngineRecordset::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = OpenDatabase(fixture::customLibrary(m_dir.path(), recordsetLibrary()));
}

// One open file for the whole class; each test's changes are rolled back.
void TestEngineRecordset::init() { m_db->BeginTrans(); }
void TestEngineRecordset::cleanup() { m_db->Rollback(); }

void TestEngineRecordset::emptyTable()
{
    m_db->Execute(QStringLiteral("DELETE FROM DrinkRel"));
    auto rs = m_db->OpenRecordset(QStringLiteral("DrinkRel"), dbOpenDynaset);
    QVERIFY(rs->Bof());
    QVERIFY(rs->Eof());
    QCOMPARE(rs->RecordCount(), 0);
    QCOMPARE_ENGINE_ERROR(rs->Fields(QStringLiteral("Amount")).Value(), err::NoCurrentRecord);
    QCOMPARE_ENGINE_ERROR(rs->MoveNext(), err::NoCurrentRecord);
    QCOMPARE_ENGINE_ERROR(rs->MovePrevious(), err::NoCurrentRecord);
    QCOMPARE_ENGINE_ERROR(rs->Edit(), err::NoCurrentRecord);
    rs->FindFirst(QStringLiteral("[DrinkID] = 1"));
    QVERIFY(rs->NoMatch());
}

void TestEngineRecordset::navigation()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    QVERIFY(!rs->Bof());
    QVERIFY(!rs->Eof());
    QCOMPARE(rs->RecordCount(), 5);
    QCOMPARE(ids(*rs), (QVariantList{1, 2, 3, 4, 5}));
    QVERIFY(rs->Eof());
    QCOMPARE_ENGINE_ERROR(rs->MoveNext(), err::NoCurrentRecord);
    QCOMPARE_ENGINE_ERROR(rs->Fields(QStringLiteral("ID")).Value(), err::NoCurrentRecord);

    rs->MoveLast();
    QCOMPARE(currentId(*rs), QVariant(5));
    QVariantList backwards;
    for (; !rs->Bof(); rs->MovePrevious())
        backwards << currentId(*rs);
    QCOMPARE(backwards, (QVariantList{5, 4, 3, 2, 1}));
    QCOMPARE_ENGINE_ERROR(rs->MovePrevious(), err::NoCurrentRecord);
    rs->MoveNext();
    QCOMPARE(currentId(*rs), QVariant(1));
    rs->MoveFirst();
    QCOMPARE(currentId(*rs), QVariant(1));
}

void TestEngineRecordset::unknownField_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("type");
    QTest::newRow("dynaset") << kDrinks << int(dbOpenDynaset);
    QTest::newRow("table snapshot") << kDrinks << int(dbOpenSnapshot);
    QTest::newRow("sql") << "SELECT Name FROM Drinks ORDER BY ID" << int(dbOpenDefault);
}

void TestEngineRecordset::unknownField()
{
    QFETCH(QString, source);
    QFETCH(int, type);
    auto rs = m_db->OpenRecordset(source, type);
    QCOMPARE_ENGINE_ERROR(rs->Fields(QStringLiteral("Nope")), err::ItemNotFound);
    QCOMPARE_ENGINE_ERROR(rs->Fields(QString()), err::ItemNotFound);
    QCOMPARE(rs->Fields(QStringLiteral("nAME")).Value(), QVariant(QStringLiteral("Gin and Tonic")));
}

// Each step is "first|next|last|previous <criteria>"; each expectation the current ID afterwards,
// prefixed with "no match, " when the find failed (the current row then stays where it was).
void TestEngineRecordset::find_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");

    struct Case {
        const char *name;
        QStringList steps;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"name any case, forwards",
         {"first [Name] = \"gin and tonic\"", "next [Name] = \"gin and tonic\"", "next [Name] = \"gin and tonic\""},
         {"1", "5", "no match, 5"}},
        {"name any case, backwards",
         {"last Name = \"GIN and tonic\"", "previous Name = \"GIN and tonic\"", "previous Name = \"GIN and tonic\""},
         {"5", "1", "no match, 1"}},
        {"by key", {"first [ID] = 4", "next [ID] = 4", "previous [ID] = 4"}, {"4", "no match, 4", "no match, 4"}},
        {"from the middle", {"first [ID] = 3", "next [ID] > 1", "previous [ID] > 1"}, {"3", "4", "3"}},
        {"truth values", {"first [Print] = True", "first [Tried] = False", "last [Submitted] = True"}, {"3", "2", "4"}},
        {"and", {"first [Name] = \"gin and tonic\" AND [ID] > 1"}, {"5"}},
        {"no match keeps the row", {"next [ID] = 2", "first [Name] = \"Nothing\"", "last [ID] = 99"},
         {"2", "no match, 2", "no match, 2"}},
        {"text of a column declared without NOCASE", {"first [Description] = \"STIR.\"", "next Description = \"stir.\""},
         {"1", "2"}},
        {"null comments match nothing", {"first [Comments] = \"\"", "first [Comments] <> \"x\""}, {"no match, 1", "1"}},
    };
    for (int type : {int(dbOpenDynaset), int(dbOpenSnapshot)}) {
        for (const Case &c : cases) {
            QTest::addRow("%s, %s", type == dbOpenDynaset ? "dynaset" : "snapshot", c.name) << type << c.steps << c.expected;
        }
    }
}

void TestEngineRecordset::find()
{
    QFETCH(int, type);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    auto rs = m_db->OpenRecordset(kDrinks, type);
    QStringList got;
    for (const QString &step : steps) {
        const QString how = step.section(QLatin1Char(' '), 0, 0), criteria = step.section(QLatin1Char(' '), 1);
        if (how == QLatin1String("first"))
            rs->FindFirst(criteria);
        else if (how == QLatin1String("next"))
            rs->FindNext(criteria);
        else if (how == QLatin1String("last"))
            rs->FindLast(criteria);
        else
            rs->FindPrevious(criteria);
        got << (rs->NoMatch() ? QStringLiteral("no match, ") : QString()) + currentId(*rs).toString();
    }
    QCOMPARE(got, expected);
}

void TestEngineRecordset::findUnknownField()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    QCOMPARE_ENGINE_ERROR(rs->FindFirst(QStringLiteral("[Colour] = \"red\"")), err::UnknownField);
}

void TestEngineRecordset::valueTypes_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("type");
    QTest::newRow("dynaset") << kDrinks << int(dbOpenDynaset);
    QTest::newRow("table snapshot") << kDrinks << int(dbOpenSnapshot);
    QTest::newRow("sql") << "SELECT * FROM Drinks ORDER BY ID" << int(dbOpenDefault);
}

void TestEngineRecordset::valueTypes()
{
    QFETCH(QString, source);
    QFETCH(int, type);
    auto rs = m_db->OpenRecordset(source, type);
    rs->MoveNext(); // Vodka Tonic: not tried, no comments
    const QVariant id = rs->Fields(QStringLiteral("ID")).Value(), tried = rs->Fields(QStringLiteral("Tried")).Value();
    const QVariant comments = rs->Fields(QStringLiteral("Comments")).Value();
    QCOMPARE(id.typeId(), int(QMetaType::Int));
    QCOMPARE(id.toInt(), 2);
    QCOMPARE(tried.typeId(), int(QMetaType::Bool));
    QCOMPARE(tried.toBool(), false);
    QVERIFY(comments.isNull());
    QCOMPARE(rs->Fields(QStringLiteral("Name")).Value().typeId(), int(QMetaType::QString));
    rs->MovePrevious();
    QCOMPARE(rs->Fields(QStringLiteral("Tried")).Value(), QVariant(true));
}

void TestEngineRecordset::readOnlySets_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("type");
    QTest::newRow("table snapshot") << kDrinks << int(dbOpenSnapshot);
    QTest::newRow("sql") << "SELECT * FROM Drinks" << int(dbOpenDynaset);
    QTest::newRow("stored query") << "ShowAllName" << int(dbOpenDynaset);
}

void TestEngineRecordset::readOnlySets()
{
    QFETCH(QString, source);
    QFETCH(int, type);
    auto rs = m_db->OpenRecordset(source, type);
    QVERIFY(!rs->updatable());
    QCOMPARE_ENGINE_ERROR(rs->AddNew(), err::ReadOnly);
    QCOMPARE_ENGINE_ERROR(rs->Edit(), err::ReadOnly);
    QCOMPARE_ENGINE_ERROR(rs->Fields(QStringLiteral("Name")) = QStringLiteral("x"), err::ReadOnly);
    QCOMPARE(count(*m_db, QStringLiteral("Drinks WHERE Name = 'x'")), 0);
}

void TestEngineRecordset::closedSet()
{
    auto rs = m_db->OpenRecordset(kDrinks, dbOpenDynaset);
    rs->Close();
    QCOMPARE_ENGINE_ERROR(rs->MoveNext(), err::ObjectClosed);
    QCOMPARE_ENGINE_ERROR(rs->Fields(QStringLiteral("ID")), err::ObjectClosed);
    QCOMPARE_ENGINE_ERROR(rs->RecordCount(), err::ObjectClosed);
}

// One pass, row by row, giving what a snapshot of the same text gives.
void TestEngineRecordset::forwardOnlySet()
{
    const QString sql = QStringLiteral("SELECT ID, Name FROM Drinks ORDER BY ID");
    auto snapshot = m_db->OpenRecordset(sql, dbOpenSnapshot);
    const QVariantList expected = enginetest::column(*snapshot, QStringLiteral("Name"));
    QVERIFY(expected.size() >= 2);

    auto rs = m_db->OpenRecordset(sql, dbOpenForwardOnly);
    QVERIFY(!rs->Eof());
    rs->MoveFirst(); // already there
    QVariantList seen;
    for (; !rs->Eof(); rs->MoveNext()) {
        seen << rs->Fields(QStringLiteral("Name")).Value();
        QCOMPARE(rs->RecordCount(), int(seen.size()));
        if (seen.size() == 2) {
            QCOMPARE_ENGINE_ERROR(rs->MovePrevious(), err::InvalidOperation);
            QCOMPARE_ENGINE_ERROR(rs->MoveFirst(), err::InvalidOperation);
            QCOMPARE_ENGINE_ERROR(rs->FindFirst(QStringLiteral("[ID] = 1")), err::InvalidOperation);
            QCOMPARE_ENGINE_ERROR(rs->AddNew(), err::ReadOnly);
        }
    }
    QCOMPARE(seen, expected);
    QCOMPARE_ENGINE_ERROR(rs->MoveNext(), err::NoCurrentRecord);
    QCOMPARE_ENGINE_ERROR(rs->Fields(QStringLiteral("Name")).Value(), err::NoCurrentRecord);

    auto none = m_db->OpenRecordset(QStringLiteral("SELECT Name FROM Drinks WHERE ID < 0"), dbOpenForwardOnly);
    QVERIFY(none->Bof() && none->Eof());
    QCOMPARE(none->RecordCount(), 0);
}

QTEST_GUILESS_MAIN(TestEngineRecordset)
#include "test_engine_recordset.moc"
