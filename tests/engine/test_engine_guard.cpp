// What a library file may carry: stored queries that only read, no triggers, every table and stored
// query the program uses; and the bounds that stop a query which never ends.

#include "engine_test_support.h"
#include "support/fixture_db.h"

#include <QTemporaryDir>
#include <functional>
#include <sqlite3.h>

using namespace engine;
using enginetest::count;

namespace {

void exec(sqlite3 *db, const QString &sql)
{
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(sql), sqlite3_errmsg(db));
}

QString storeQuery(const QString &name, QString sql)
{
    return QStringLiteral("INSERT INTO QueryDefs (Name, SQL) VALUES ('%1', '%2')").arg(name, sql.replace(QLatin1Char('\''), QLatin1String("''")));
}

// The error `run` raises; number 0 when it raises none.
EngineError raised(const std::function<void()> &run)
{
    try {
        run();
    } catch (const EngineError &e) {
        return e;
    }
    return EngineError(0, QString());
}

const QString kCounting = QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) SELECT x AS Name FROM c");

} // namespace

class TestEngineGuard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void cleanup() { setQueryLimits(kDefaultQueryLimits); }
    void libraryCheck_data();
    void libraryCheck();
    void runawayQueriesStop_data();
    void runawayQueriesStop();
    void textBoundTakesItsLastByte_data();
    void textBoundTakesItsLastByte();

private:
    QTemporaryDir m_dir;
};

void TestEngineGuard::libraryCheck_data()
{
    QTest::addColumn<bool>("oldLayout");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("named");
    QTest::addColumn<int>("runError"); // of the stored query Q, when the file has one

    QTest::newRow("starter") << false << QString() << 0 << QString() << 0;
    QTest::newRow("older layout without Has") << true << QString() << 0 << QString() << 0;
    QTest::newRow("reading query") << false << storeQuery("Q", "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c WHERE x < 3) "
                                                               "SELECT lower(Name) AS Name FROM Drinks JOIN c ON x = ID")
                                   << 0 << QString() << 0;
    QTest::newRow("runaway query runs only when opened") << false << storeQuery("Runaway", kCounting) << 0 << QString() << 0;
    QTest::newRow("no DrinkRel") << false << "DROP TABLE DrinkRel" << err::InputTableNotFound << "the table 'DrinkRel' is missing" << 0;
    QTest::newRow("no QueryDefs") << true << "DROP TABLE QueryDefs" << err::InputTableNotFound << "the table 'QueryDefs' is missing" << 0;
    QTest::newRow("no DrinkLookup") << false << "DELETE FROM QueryDefs WHERE Name = 'DrinkLookup'" << err::InputTableNotFound
                                    << "the stored query 'DrinkLookup' is missing" << 0;
    QTest::newRow("partial index") << false << "CREATE INDEX Cond ON Drinks(Name) WHERE Tried = 0"
                                   << err::QueryRefused << "the index 'Cond'" << 0;
    QTest::newRow("expression index") << false << "CREATE INDEX Expr ON DrinkRel(upper(Amount))" << err::QueryRefused << "the index 'Expr'" << 0;
    QTest::newRow("plain index and view") << false << "CREATE INDEX Plain ON Drinks(Tried, Name); CREATE VIEW V AS SELECT Name FROM Drinks"
                                          << 0 << QString() << 0;
    QTest::newRow("trigger") << false << "CREATE TRIGGER Wipe AFTER UPDATE ON Drinks BEGIN DELETE FROM DrinkRel; END"
                             << err::QueryRefused << "the trigger 'Wipe'" << 0;

    // Stored queries that would do more than read: refused at open and refused again if run anyway.
    auto hostile = [](const char *tag, const QString &sql, int runError) {
        QTest::newRow(tag) << false << storeQuery("Q", sql) << err::QueryRefused << "'Q'" << runError;
    };
    hostile("empty", QString(), err::SyntaxInQuery);
    hostile("delete", "DELETE FROM Drinks", err::QueryRefused);
    hostile("update inside WITH", "WITH x AS (SELECT 1) UPDATE Drinks SET Name = 'x'", err::QueryRefused);
    hostile("attach", "ATTACH DATABASE ':memory:' AS other KEY ''", err::QueryRefused);
    hostile("second statement", "SELECT Name FROM Drinks; DELETE FROM Drinks", err::SyntaxInQuery);
    hostile("pragma", "PRAGMA writable_schema = 1", err::QueryRefused);
    hostile("transaction", "BEGIN IMMEDIATE", err::QueryRefused);
    hostile("load_extension", "SELECT load_extension('libm.so.6') AS Name", err::QueryRefused);
    hostile("export", "SELECT sqlcipher_export('main') AS Name", err::QueryRefused);
    hostile("schema", "SELECT sql AS Name FROM sqlite_master", err::QueryRefused);
}

void TestEngineGuard::libraryCheck()
{
    QFETCH(bool, oldLayout);
    QFETCH(QString, change);
    QFETCH(int, error);
    QFETCH(QString, named);
    QFETCH(int, runError);
    const QString name = QStringLiteral("check.mdb");
    auto db = OpenDatabase(oldLayout ? fixture::oldFormatLibrary(m_dir.path(), name) : fixture::starterLibrary(m_dir.path(), name));
    if (!change.isEmpty())
        exec(db->handle(), change);
    const int drinks = count(*db, QStringLiteral("Drinks"));
    const EngineError e = raised([&] { CheckLibraryFile(*db); });
    QCOMPARE(e.number(), error);
    QVERIFY2(error == 0 || (e.description().contains(named) && e.description().contains(db->Name())), e.what());

    if (db->queryDefNames().contains(QStringLiteral("Q")))
        QCOMPARE_ENGINE_ERROR(db->OpenRecordset(QStringLiteral("Q")), runError);
    // Nothing changed, nothing attached, no transaction left open; the program's own writes work.
    QCOMPARE(count(*db, QStringLiteral("Drinks")), drinks);
    QCOMPARE(db->OpenRecordset(QStringLiteral("PRAGMA database_list"))->RecordCount(), 1);
    QVERIFY(!db->inTransaction());
    db->Execute(QStringLiteral("UPDATE Drinks SET Tried = Tried"));
    QCOMPARE(db->RecordsAffected(), drinks);
}

void TestEngineGuard::runawayQueriesStop_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("type");
    QTest::addColumn<qint64>("maxRows");
    QTest::addColumn<int>("maxMilliseconds");
    QTest::addColumn<QString>("message");
    const QString forward = QStringLiteral("SELECT Name FROM (%1)").arg(kCounting);
    QTest::newRow("stored query, rows") << "Runaway" << int(dbOpenSnapshot) << qint64(1000) << 20000 << "returned more than";
    QTest::newRow("stored query, time") << "Runaway" << int(dbOpenSnapshot) << qint64(1000000) << 100 << "longer than 0.1 seconds";
    QTest::newRow("forward-only, rows") << forward << int(dbOpenForwardOnly) << qint64(1000) << 20000 << "returned more than";
    QTest::newRow("forward-only, time") << forward + " WHERE Name < 0" << int(dbOpenForwardOnly) << qint64(1000000) << 100
                                        << "longer than 0.1 seconds";
}

void TestEngineGuard::runawayQueriesStop()
{
    QFETCH(QString, source);
    QFETCH(int, type);
    QFETCH(qint64, maxRows);
    QFETCH(int, maxMilliseconds);
    QFETCH(QString, message);
    auto db = OpenDatabase(fixture::starterLibrary(m_dir.path(), QStringLiteral("runaway.mdb")));
    exec(db->handle(), storeQuery(QStringLiteral("Runaway"), kCounting));
    setQueryLimits({maxRows, maxMilliseconds});
    const EngineError e = raised([&] {
        for (auto rs = db->OpenRecordset(source, type); !rs->Eof(); rs->MoveNext()) {
        }
    });
    QCOMPARE(e.number(), err::ResourceExceeded);
    QVERIFY2(e.description().contains(message), e.what());
    QCOMPARE(count(*db, QStringLiteral("Drinks")), int(fixture::starterContents().drinks.size()));
}

// A result of exactly the bound's text is read whole; one byte less and it is stopped. A record set
// counts UTF-8, a stored query's name list UTF-16.
void TestEngineGuard::textBoundTakesItsLastByte_data()
{
    QTest::addColumn<bool>("nameList");
    QTest::addColumn<qint64>("slack"); // the bound minus the result's bytes
    QTest::addColumn<bool>("stopped");
    for (const bool nameList : {false, true}) {
        const char *kind = nameList ? "name list" : "record set";
        QTest::addRow("%s, exactly the bound", kind) << nameList << qint64(0) << false;
        QTest::addRow("%s, a byte over", kind) << nameList << qint64(-1) << true;
    }
}

void TestEngineGuard::textBoundTakesItsLastByte()
{
    QFETCH(bool, nameList);
    QFETCH(qint64, slack);
    QFETCH(bool, stopped);
    auto db = OpenDatabase(fixture::starterLibrary(m_dir.path(), QStringLiteral("bound.mdb")));
    exec(db->handle(), storeQuery(QStringLiteral("Names"), QStringLiteral("SELECT Name FROM Drinks")));
    qint64 bytes = 0;
    for (const QString &name : db->textColumn(QStringLiteral("SELECT Name FROM Drinks")))
        bytes += nameList ? name.size() * 2 : name.toUtf8().size();
    setQueryLimits({kDefaultQueryLimits.maxRows, kDefaultQueryLimits.maxMilliseconds, bytes + slack});
    const EngineError e = raised([&] {
        if (nameList)
            db->QueryDefs(QStringLiteral("Names")).textColumn(QStringLiteral("Name"));
        else
            for (auto rs = db->OpenRecordset(QStringLiteral("Names"), dbOpenSnapshot); !rs->Eof(); rs->MoveNext()) {
            }
    });
    QCOMPARE(e.number(), stopped ? int(err::ResourceExceeded) : 0);
}

QTEST_GUILESS_MAIN(TestEngineGuard)
#include "test_engine_guard.moc"
