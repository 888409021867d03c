// Ingredient writes on a started program, checked against the file: identifiers, stored names,
// refusals, and failures injected half-way that leave the file exactly as it was.

#include "core/name_text.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QListWidget>
#include <QtTest>

namespace {

QStringList dump(StartedProgram &p)
{
    return p.rows(QStringLiteral("SELECT ID, Ingredient, Common, Has FROM Ingredients ORDER BY ID"))
        + p.rows(QStringLiteral("SELECT DrinkID, IngID, Amount FROM DrinkRel ORDER BY rowid"));
}

int uses(StartedProgram &p, int id)
{
    return int(p.rows(QStringLiteral("SELECT DrinkID FROM DrinkRel WHERE IngID = %1").arg(id)).size());
}

int errorOf(const std::function<void()> &write)
{
    try {
        write();
    } catch (const EngineError &e) {
        return e.number();
    }
    return 0;
}

void expectMessages(StartedProgram &p, const QStringList &beginnings)
{
    QCOMPARE(p.boxes().texts().size(), beginnings.size());
    for (int i = 0; i < beginnings.size(); ++i)
        QVERIFY2(p.boxes().texts()[i].startsWith(beginnings[i]), qPrintable(p.boxes().texts()[i]));
}

} // namespace

class TestIngredientWrites : public QObject {
    Q_OBJECT
private slots:
    // Adding (no old name) and renaming: the stored row, or a refusal that leaves the file as it was.
    void write_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("error");
        const QString none;
        QTest::newRow("add, cleaned and trimmed") << none << none << " \tYuzu\u200B Cordial  " << 0;
        QTest::newRow("add to an empty table") << "DELETE FROM Ingredients" << none << "Yuzu" << 0;
        QTest::newRow("add past the last number") << "UPDATE Ingredients SET ID = 32767 WHERE Ingredient = 'Gin'" << none << "Yuzu"
                                                   << int(err::Overflow);
        QTest::newRow("add a taken name") << none << none << " GIN" << int(err::DuplicateValue);
        QTest::newRow("add over stray lines of its number")
            << "INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (1, (SELECT max(ID) + 1 FROM Ingredients), '1 Ounce')" << none
            << "Yuzu" << 0;
        QTest::newRow("rename, trimmed") << none << "Gin" << " Old Tom\u200B Gin " << 0;
        QTest::newRow("letter case only") << none << "Gin" << "GIN" << 0;
        QTest::newRow("another's name") << none << "Gin" << "vodka" << int(err::DuplicateValue);
        QTest::newRow("no such ingredient") << none << "Moonshine" << "Hooch" << int(err::NoCurrentRecord);
        QTest::newRow("blank") << none << "Gin" << " \u200B" << int(err::InvalidOperation);
    }
    void write()
    {
        QFETCH(QString, setup);
        QFETCH(QString, oldName);
        QFETCH(QString, typed);
        QFETCH(int, error);
        StartedProgram p;
        if (!setup.isEmpty())
            p.exec(setup);
        const QStringList before = dump(p);
        const bool adding = oldName.isEmpty();
        const int id = adding ? p.rows("SELECT coalesce(max(ID), 0) + 1 FROM Ingredients").value(0).toInt() : p.db().GetIngID(oldName);
        const int used = uses(p, id);
        QCOMPARE(errorOf([&] { adding ? p.db().IngredientAdd(typed, true) : p.db().IngredientEdit(oldName, typed, true, true); }), error);
        if (error) {
            QCOMPARE(dump(p), before);
            return;
        }
        // A new ingredient starts off the bar list and in no drink; a renamed one keeps its number and its drinks.
        QCOMPARE(p.rows(QStringLiteral("SELECT Ingredient, Common, Has FROM Ingredients WHERE ID = %1").arg(id)),
                 QStringList{cleanName(typed).trimmed() + (adding ? "|true|false" : "|true|true")});
        QCOMPARE(uses(p, id), adding ? 0 : used);
    }

    // Only a name that no drink line uses is deleted; a check that fails counts as "in use".
    void deleteOnlyWhatNoDrinkUses_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("used");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("unused") << QString() << "Amaro" << false << QStringList();
        QTest::newRow("a quote in the name stays in its literal") << QString() << "Gin\")) OR ((1=1" << false << QStringList();
        QTest::newRow("used") << QString() << "Gin" << true
                              << QStringList{"Error while deleting ingredient.\n3200: Gin is used in some drinks, so it was not deleted."};
        QTest::newRow("check fails") << "CREATE TEMP TABLE DrinkRel (Broken)" << "Amaro" << true
                                     << QStringList{"SELECT DrinkRel.DrinkID", "SELECT DrinkRel.DrinkID", "Error while deleting ingredient.\n"};
    }
    void deleteOnlyWhatNoDrinkUses()
    {
        QFETCH(QString, setup);
        QFETCH(QString, name);
        QFETCH(bool, used);
        QFETCH(QStringList, messages);
        StartedProgram p;
        const QStringList before = dump(p);
        const bool existed = p.db().DoesIngredientExist(name);
        if (!setup.isEmpty())
            p.exec(setup); // a temporary table hides the real one from every query
        QCOMPARE(p.db().IsIngredientBeingUsed(name), used);
        p.db().IngredientDelete(name);
        if (!setup.isEmpty())
            p.exec(QStringLiteral("DROP TABLE temp.DrinkRel"));
        expectMessages(p, messages);
        QCOMPARE(p.db().DoesIngredientExist(name), existed && used);
        if (used || !existed)
            QCOMPARE(dump(p), before);
    }

    void combine_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("failure"); // a trigger that fails part of the work, or empty
        QTest::addColumn<QStringList>("messages");
        const QStringList three{"Sloe gin", "Gin", "Vodka"};
        QTest::newRow("three into one") << three << QString() << QStringList();
        QTest::newRow("only the destination") << QStringList{"Gin"} << QString() << QStringList();
        QTest::newRow("second move fails")
            << three << "AFTER UPDATE ON main.DrinkRel WHEN OLD.IngID = (SELECT ID FROM main.Ingredients WHERE Ingredient = 'Vodka')"
            << QStringList{"injected", "error during combine"};
        QTest::newRow("delete fails") << three << "AFTER DELETE ON main.Ingredients" << QStringList{"Error executing replace or delete.  "};
    }
    void combine()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, failure);
        QFETCH(QStringList, messages);
        StartedProgram p;
        if (!failure.isEmpty())
            p.exec("CREATE TEMP TRIGGER fail " + failure + " BEGIN SELECT RAISE(ABORT, 'injected'); END");
        QListWidget list;
        list.addItems(items);
        list.item(items.indexOf("Gin"))->setSelected(true);
        const QStringList before = dump(p);
        const auto lines = p.rows("SELECT IngID FROM DrinkRel, Ingredients WHERE IngID = ID AND Ingredient IN ('" + items.join("','") + "')");
        p.db().IngredientCombine(&list);
        expectMessages(p, messages);
        if (!failure.isEmpty()) {
            QVERIFY(p.boxes().texts().constLast().endsWith("\n\nNothing was combined."));
            QCOMPARE(dump(p), before);
            return;
        }
        QCOMPARE(uses(p, p.db().GetIngID("Gin")), lines.size());
        for (const QString &item : items)
            QCOMPARE(p.db().GetIngID(item) != 0, item == "Gin");
    }
};

QTEST_MAIN(TestIngredientWrites)
#include "test_ingredient_writes.moc"
