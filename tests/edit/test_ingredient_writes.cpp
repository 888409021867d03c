// Adding, renaming, deleting and combining ingredients on a started program, checked against the
// file: identifiers, stored names, refusals, and failures injected half-way that leave the file
// exactly as it was.

#include "common/name_text.h"
#include "edit/CQueries.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QListWidget>
#include <QtTest>
#include <sqlite3.h>

namespace {

void exec(StartedProgram &p, const QString &sql)
{
    QCOMPARE(sqlite3_exec(p.db().database().handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    p.db().ingredientsTable().Requery();
}

QStringList rows(StartedProgram &p, const QString &sql)
{
    QStringList out;
    for (auto rs = p.db().database().OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
        QStringList fields;
        for (const QString &f : rs->fieldNames())
            fields << rs->value(f).toString();
        out << fields.join(QLatin1Char('|'));
    }
    return out;
}

QStringList dump(StartedProgram &p)
{
    return rows(p, QStringLiteral("SELECT ID, Ingredient, Common, Has FROM Ingredients ORDER BY ID"))
        + rows(p, QStringLiteral("SELECT DrinkID, IngID, Amount FROM DrinkRel ORDER BY rowid"));
}

int uses(StartedProgram &p, int id)
{
    return int(rows(p, QStringLiteral("SELECT DrinkID FROM DrinkRel WHERE IngID = %1").arg(id)).size());
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

} // namespace

class TestIngredientWrites : public QObject {
    Q_OBJECT
private slots:
    void statements()
    {
        StartedProgram p;
        CQueries q;
        engine::Database &db = p.db().database();
        const int moved = uses(p, 7) + uses(p, 12);
        QVERIFY(q.ReassignIngredient(7, 12, db));
        QCOMPARE(q.LastStatement(), QStringLiteral("UPDATE DrinkRel SET DrinkRel.IngID = 12 WHERE (((DrinkRel.IngID)=7));"));
        QCOMPARE(uses(p, 12), moved);
        QVERIFY(q.IsIngredientBeingUsed(12, db));
        QCOMPARE(q.LastStatement(), QStringLiteral("SELECT DrinkRel.DrinkID From DrinkRel WHERE (((DrinkRel.IngID)=12));"));
        // A quote in a name stays inside the literal: nothing but that name could ever match.
        const QStringList before = dump(p);
        QVERIFY(q.DelIngByName(QStringLiteral("Gin\")) OR ((1=1"), db));
        QCOMPARE(dump(p), before);
        QVERIFY(q.DelIngByName(QStringLiteral("Amaro"), db));
        QCOMPARE(q.LastStatement(), QStringLiteral("DELETE Ingredients.*, Ingredients.Ingredient From Ingredients WHERE "
                                                   "(((Ingredients.Ingredient)=\"Amaro\"));"));
        QCOMPARE(p.db().GetIngID(QStringLiteral("Amaro")), qint16(0));
    }

    void add_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::addColumn<int>("error");
        QTest::newRow("trimmed, cleaned") << QStringLiteral(" \tYuzu\u200B Cordial  ") << QStringLiteral("Yuzu Cordial") << 0;
        QTest::newRow("blank") << QStringLiteral("  \u200B ") << QString() << int(err::InvalidOperation);
        QTest::newRow("quote") << QStringLiteral("6\" Straw") << QString() << int(err::InvalidOperation);
        QTest::newRow("comma") << QStringLiteral("Lime, fresh") << QString() << int(err::InvalidOperation);
        QTest::newRow("taken, other case") << QStringLiteral(" GIN") << QString() << int(err::DuplicateValue);
    }
    void add()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(int, error);
        StartedProgram p;
        const QStringList before = dump(p);
        const int next = rows(p, QStringLiteral("SELECT max(ID) + 1 FROM Ingredients")).value(0).toInt();
        QCOMPARE(errorOf([&] { p.db().IngredientAdd(typed, true); }), error);
        if (error)
            QCOMPARE(dump(p), before);
        else
            QCOMPARE(rows(p, QStringLiteral("SELECT ID, Ingredient, Common, Has FROM Ingredients WHERE ID = %1").arg(next)),
                     QStringList{QStringLiteral("%1|%2|true|false").arg(next).arg(stored)});
    }

    void addNumbersFromOneAndStopsAtTheLastNumber()
    {
        StartedProgram p;
        exec(p, QStringLiteral("UPDATE Ingredients SET ID = 32767 WHERE Ingredient = 'Gin'"));
        const QStringList before = dump(p);
        QCOMPARE(errorOf([&] { p.db().IngredientAdd(QStringLiteral("Quince syrup"), false); }), int(err::Overflow));
        QCOMPARE(dump(p), before);
        exec(p, QStringLiteral("DELETE FROM Ingredients"));
        p.db().IngredientAdd(QStringLiteral("Quince syrup"), false);
        QCOMPARE(rows(p, QStringLiteral("SELECT ID, Ingredient FROM Ingredients")), QStringList{QStringLiteral("1|Quince syrup")});
    }

    void edit_data()
    {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<int>("error");
        QTest::newRow("rename, trimmed") << "Gin" << " Old Tom\u200B Gin " << 0;
        QTest::newRow("letter case only") << "Gin" << "GIN" << 0;
        QTest::newRow("another's name") << "Gin" << "vodka" << int(err::DuplicateValue);
        QTest::newRow("no such ingredient") << "Moonshine" << "Hooch" << int(err::NoCurrentRecord);
        QTest::newRow("blank") << "Gin" << " " << int(err::InvalidOperation);
    }
    void edit()
    {
        QFETCH(QString, oldName);
        QFETCH(QString, newName);
        QFETCH(int, error);
        StartedProgram p;
        const QStringList before = dump(p);
        const int id = p.db().GetIngID(oldName);
        const int used = uses(p, id);
        QCOMPARE(errorOf([&] { p.db().IngredientEdit(oldName, newName, true, true); }), error);
        if (error) {
            QCOMPARE(dump(p), before);
            return;
        }
        QCOMPARE(rows(p, QStringLiteral("SELECT Ingredient, Common, Has FROM Ingredients WHERE ID = %1").arg(id)),
                 QStringList{cleanName(newName).trimmed() + QStringLiteral("|true|true")});
        QCOMPARE(uses(p, id), used); // the drinks now show the new name
    }

    void deleteOnlyWhatNoDrinkUses_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("used");
        QTest::addColumn<QString>("message");
        QTest::newRow("unused") << "Amaro" << false << QString();
        QTest::newRow("no such name") << "Moonshine" << false << QString();
        QTest::newRow("used") << "Gin" << true << "Error while deleting ingredient.\n3200: Gin is used in some drinks, so it was not deleted.";
    }
    void deleteOnlyWhatNoDrinkUses()
    {
        QFETCH(QString, name);
        QFETCH(bool, used);
        QFETCH(QString, message);
        StartedProgram p;
        const int count = int(rows(p, QStringLiteral("SELECT ID FROM Ingredients")).size());
        QCOMPARE(p.db().IsIngredientBeingUsed(name), used);
        p.db().IngredientDelete(name);
        QCOMPARE(p.boxes().texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(!p.db().DoesIngredientExist(name) || used);
        QCOMPARE(rows(p, QStringLiteral("SELECT ID FROM Ingredients")).size(), count - (name == "Amaro" ? 1 : 0));
    }

    void failedUsageCheckCountsAsUsed()
    {
        StartedProgram p;
        exec(p, QStringLiteral("CREATE TEMP TABLE DrinkRel (Broken)")); // hides the real one from every query
        QVERIFY(p.db().IsIngredientBeingUsed(QStringLiteral("Amaro")));
        p.db().IngredientDelete(QStringLiteral("Amaro"));
        exec(p, QStringLiteral("DROP TABLE temp.DrinkRel"));
        QVERIFY(p.db().DoesIngredientExist(QStringLiteral("Amaro")));
        QCOMPARE(p.boxes().messages().size(), 3); // the engine's text twice, then the delete's own message
        QVERIFY(p.boxes().texts().last().startsWith(QStringLiteral("Error while deleting ingredient.\n")));
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
            exec(p, "CREATE TEMP TRIGGER fail " + failure + " BEGIN SELECT RAISE(ABORT, 'injected'); END");
        QListWidget list;
        list.addItems(items);
        list.item(items.indexOf("Gin"))->setSelected(true);
        const QStringList before = dump(p);
        const int gin = p.db().GetIngID("Gin");
        int lines = 0;
        for (const QString &item : items)
            lines += uses(p, p.db().GetIngID(item));
        p.db().IngredientCombine(&list);
        QCOMPARE(p.boxes().messages().size(), messages.size());
        for (int i = 0; i < messages.size(); ++i)
            QVERIFY2(p.boxes().texts()[i].startsWith(messages[i]), qPrintable(p.boxes().texts()[i]));
        if (!failure.isEmpty()) {
            QCOMPARE(dump(p), before);
            return;
        }
        QCOMPARE(uses(p, gin), lines);
        for (const QString &item : items)
            QCOMPARE(p.db().GetIngID(item) != 0, item == "Gin");
        QCOMPARE(p.db().ingredientsTable().RecordCount(), int(rows(p, "SELECT ID FROM Ingredients").size()));
    }
};

QTEST_MAIN(TestIngredientWrites)
#include "test_ingredient_writes.moc"
