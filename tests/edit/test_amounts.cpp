// Amount texts: typed fractions rewritten as decimals, and the text a line stores composed from the
// amount, the unit and the description.

#include "common/CCommonRoutines.h"
#include "core/amount_text.h"

#include <QtTest>

class TestAmounts : public QObject {
    Q_OBJECT
private slots:
    void fractionToDecimal_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rewritten");
        const QList<std::pair<const char *, const char *>> cases{
            {"1/2", ".5"},       {"1 1/2", "1.5"},          {"1-1/2", "1.5"},  {"10 1/2", "10.5"},
            {"2 3/4 oz", "2.75 oz"}, {"Add 1/2", "Add .5"}, {"11/2", "11/2"},  {"3/8", "3/8"},
            {" 1/2", " 1/2"},    {"1/2 and 1/4", ".5 and 1/4"}, {"2/3", ".6"}, {"1 1/8", "1.125"},
            {"", ""},
        };
        for (const auto &[typed, rewritten] : cases)
            QTest::newRow(typed) << QString::fromUtf8(typed) << QString::fromUtf8(rewritten);
    }
    void fractionToDecimal()
    {
        QFETCH(QString, typed);
        QFETCH(QString, rewritten);
        QCOMPARE(CCommonRoutines().FractionToDecimal(typed), rewritten);
    }

    void composeAmountText_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("composed"); // "FAIL": not a number
        const QList<std::tuple<const char *, int, const char *, const char *>> cases{
            {".5", 2, "", ".5 Cup"},      {"1.5", 2, "", "1.5 Cups"},          {"1", 10, "", "1 Ounce"},
            {"2", 9, "", "2 ml"},         {"0", 3, "", "0 Dash"},              {"2", 0, "fresh", "2 fresh"},
            {"", 0, "  chilled  ", "chilled"}, {"1", 15, "lemon", "1 Slice lemon"}, {"2", 0, "", "2 "},
            {"a few", 0, "", "a few "},  {"", 0, "", ""},                     {"", 2, "", "FAIL"},
            {"a few", 2, "", "FAIL"},    {" 1/2", 2, "", "FAIL"},             {"inf", 2, "", "FAIL"},
        };
        for (const auto &[amount, unit, description, composed] : cases)
            QTest::addRow("%s|%d|%s", amount, unit, description)
                << QString::fromUtf8(amount) << unit << QString::fromUtf8(description) << QString::fromUtf8(composed);
    }
    void composeAmountText()
    {
        QFETCH(QString, amount);
        QFETCH(int, unit);
        QFETCH(QString, description);
        QFETCH(QString, composed);
        const std::optional<QString> text = ::composeAmountText(amount, unit, description);
        QCOMPARE(text.value_or(QStringLiteral("FAIL")), composed);
    }
};

QTEST_MAIN(TestAmounts)
#include "test_amounts.moc"
