// Criteria texts for the find operations: what they parse to, what they refuse, and the one rule by
// which a row's value matches.

#include "engine_test_support.h"
#include "store/engine/criteria.h"
#include "support/fixture_db.h"

#include <QTemporaryDir>

using namespace engine;

namespace {

QString describe(const QList<Comparison> &comparisons)
{
    QStringList parts;
    for (const Comparison &c : comparisons)
        parts << QStringLiteral("%1 %2 %3:%4").arg(c.column, c.op, QString::fromLatin1(c.value.typeName()), c.value.toString());
    return parts.join(QStringLiteral(" AND "));
}

} // namespace

class TestEngineCriteria : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void parseCriteria_data();
    void parseCriteria();
    void badCriteria_data();
    void badCriteria();
    void compareMatches_data();
    void compareMatches();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_starter;
};

void TestEngineCriteria::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_starter = OpenDatabase(fixture::starterLibrary(m_dir.path()), false, true);
}

void TestEngineCriteria::parseCriteria_data()
{
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<QString>("parsed");

    QTest::newRow("[Name]") << "[Name] = \"Gin and Tonic\"" << "Name = QString:Gin and Tonic";
    QTest::newRow("Name") << "Name = \"x\"" << "Name = QString:x";
    QTest::newRow("[Ingredient], doubled quotes") << "[Ingredient] = \"a \"\"b\"\" c\"" << "Ingredient = QString:a \"b\" c";
    QTest::newRow("Ingredient, apostrophe") << "Ingredient = \"O'Brien\"" << "Ingredient = QString:O'Brien";
    QTest::newRow("empty name") << "[Name] = \"\"" << "Name = QString:";
    QTest::newRow("keywords in the name") << "[Name] = \"x AND [ID] = 1\"" << "Name = QString:x AND [ID] = 1";
    QTest::newRow("[ID]") << "[ID] = 5" << "ID = qlonglong:5";
    QTest::newRow("negative ID") << "ID = -3" << "ID = qlonglong:-3";
    QTest::newRow("[DrinkID]") << "[DrinkID] = 7" << "DrinkID = qlonglong:7";
    QTest::newRow("no blanks") << "[DrinkID]=7" << "DrinkID = qlonglong:7";
    QTest::newRow("[Print] = True") << "[Print] = True" << "Print = bool:true";
    QTest::newRow("[Has] = False") << "[Has] = False" << "Has = bool:false";
    QTest::newRow("truth value any case") << "[Has] = tRUE" << "Has = bool:true";
    QTest::newRow("qualified column") << "Drinks.Name = \"x\"" << "Name = QString:x";
    QTest::newRow("operators") << "[ID] <> 1 AND [ID] >= 2 AND [ID] <= 9 AND [ID] < 8 AND [ID] > 0"
                               << "ID <> qlonglong:1 AND ID >= qlonglong:2 AND ID <= qlonglong:9 AND ID < qlonglong:8 AND "
                                  "ID > qlonglong:0";
    QTest::newRow("and, parentheses") << "([Name] = \"x\") and ((ID = 2))" << "Name = QString:x AND ID = qlonglong:2";
    QTest::newRow("single-quoted") << "[Name] = 'it''s'" << "Name = QString:it's";
    QTest::newRow("decimal") << "[ID] = 2.5" << "ID = double:2.5";
}

void TestEngineCriteria::parseCriteria()
{
    QFETCH(QString, criteria);
    QFETCH(QString, parsed);
    QCOMPARE(describe(engine::parseCriteria(criteria)), parsed);
}

void TestEngineCriteria::badCriteria_data()
{
    QTest::addColumn<QString>("criteria");
    QTest::newRow("empty") << "";
    QTest::newRow("no operator") << "[Name]";
    QTest::newRow("no value") << "[Name] = ";
    QTest::newRow("open literal") << "[Name] = \"x";
    QTest::newRow("open bracket") << "[Name = \"x\"";
    QTest::newRow("empty brackets") << "[] = 1";
    QTest::newRow("double equals") << "Name == \"x\"";
    QTest::newRow("OR") << "[Name] = \"x\" OR [ID] = 1";
    QTest::newRow("dangling AND") << "[Name] = \"x\" AND";
    QTest::newRow("open parenthesis") << "([Name] = \"x\"";
    QTest::newRow("value first") << "5 = [ID]";
    QTest::newRow("bare word value") << "[ID] = abc";
    QTest::newRow("statement after") << "[Name] = \"x\"; DELETE FROM Drinks";
    QTest::newRow("LIKE") << "[Name] LIKE \"x*\"";
}

void TestEngineCriteria::badCriteria()
{
    QFETCH(QString, criteria);
    QCOMPARE_ENGINE_ERROR(engine::parseCriteria(criteria), err::SyntaxInCriteria);
    // The same through a record set: the error, and the set still usable.
    auto rs = m_starter->OpenRecordset(QStringLiteral("Drinks"), dbOpenDynaset);
    QCOMPARE_ENGINE_ERROR(rs->FindFirst(criteria), err::SyntaxInCriteria);
    QCOMPARE(rs->Fields(QStringLiteral("ID")).Value(), QVariant(1));
}

void TestEngineCriteria::compareMatches_data()
{
    QTest::addColumn<QVariant>("row");
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<bool>("matches");

    QTest::newRow("text, other case") << QVariant(QStringLiteral("Gin")) << "[Name] = \"gIN\"" << true;
    QTest::newRow("text, different") << QVariant(QStringLiteral("Gin")) << "[Name] = \"Gin \"" << false;
    QTest::newRow("text, not equal") << QVariant(QStringLiteral("Gin")) << "[Name] <> \"GIN\"" << false;
    QTest::newRow("text order ignores case") << QVariant(QStringLiteral("apple")) << "[Name] < \"Banana\"" << true;
    QTest::newRow("text order, longer after") << QVariant(QStringLiteral("Gin Fizz")) << "[Name] > \"gin\"" << true;
    QTest::newRow("null never equal") << QVariant() << "[Comments] = \"\"" << false;
    QTest::newRow("null never unequal") << QVariant() << "[Comments] <> \"x\"" << false;
    QTest::newRow("number") << QVariant(5) << "[ID] = 5" << true;
    QTest::newRow("number, other") << QVariant(5) << "[ID] = 6" << false;
    QTest::newRow("number, negative") << QVariant(-3) << "[ID] = -3" << true;
    QTest::newRow("number, decimal form") << QVariant(5) << "[ID] = 5.0" << true;
    QTest::newRow("number against text digits") << QVariant(5) << "[ID] = \"5\"" << true;
    QTest::newRow("number against words") << QVariant(5) << "[ID] = \"five\"" << false;
    QTest::newRow("number unequal to words") << QVariant(5) << "[ID] <> \"five\"" << true;
    QTest::newRow("true = True") << QVariant(true) << "[Print] = True" << true;
    QTest::newRow("false = True") << QVariant(false) << "[Print] = True" << false;
    QTest::newRow("false = False") << QVariant(false) << "[Has] = False" << true;
    QTest::newRow("and, both") << QVariant(7) << "[ID] > 1 AND [ID] < 9" << true;
    QTest::newRow("and, one fails") << QVariant(7) << "[ID] > 1 AND [ID] < 7" << false;
}

void TestEngineCriteria::compareMatches()
{
    QFETCH(QVariant, row);
    QFETCH(QString, criteria);
    QFETCH(bool, matches);
    bool all = true;
    for (const Comparison &c : engine::parseCriteria(criteria))
        all = all && engine::compareMatches(row, c);
    QCOMPARE(all, matches);
}

QTEST_GUILESS_MAIN(TestEngineCriteria)
#include "test_engine_criteria.moc"
