// DrinkStore on a copy of the starter library, without a window: a drink read whole, saved as an
// addition or an edit (all or nothing), deleted one by one or as a set, and marked.

#include "store/CDatabase.h"
#include "store/drink_store.h"
#include "support/fixture_db.h"
#include "support/temp_settings.h"

#include <QTemporaryDir>
#include <sqlite3.h>
#include <QtTest>

class TestDrinkStore : public QObject {
    Q_OBJECT

    QStringList rows(const QString &sql)
    {
        QStringList out;
        for (auto rs = m_db->database().OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
            QStringList fields;
            for (const QString &f : rs->fieldNames())
                fields << rs->value(f).toString();
            out << fields.join(QLatin1Char('|'));
        }
        return out;
    }
    QStringList dump()
    {
        return rows(QStringLiteral("SELECT ID, Name, Description, Comments, Tried, Print, Submitted FROM Drinks ORDER BY ID"))
               + rows(QStringLiteral("SELECT DrinkID, IngID, Amount FROM DrinkRel ORDER BY rowid"));
    }
    void exec(const QString &sql)
    {
        QVERIFY(sqlite3_exec(m_db->database().handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK);
        m_db->drinksTable().Requery();
        m_db->drinkRelTable().Requery();
    }
    qint64 scalar(const QString &sql) { return m_db->database().scalar(sql); }
    // A drink of two lines made of the first two ingredients.
    Drink newDrink(const QString &name)
    {
        Drink d;
        d.name = name;
        d.directions = QStringLiteral("Stir.");
        d.tried = true;
        d.lines = {{QStringLiteral("2 Ounces"), QStringLiteral("a"), 1}, {QString(), QStringLiteral("b"), 2}};
        return d;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_db = fixture::openedStarterLibrary(m_dir->path());
    }
    void cleanup()
    {
        m_db.reset();
        m_dir.reset();
    }

    void readsTheDrinkWhole()
    {
        const library::Library lib = fixture::starterContents();
        DrinkStore store(*m_db);
        for (qsizetype i = 0; i < lib.drinks.size(); i += 7) {
            const Drink &source = lib.drinks[i];
            for (const std::optional<Drink> &read : {store.read(source.name.toUpper()), store.read(int(i + 1))}) {
                QVERIFY(read);
                QCOMPARE(read->key, qint16(i + 1));
                QCOMPARE(read->name, source.name);
                QCOMPARE(read->directions, source.directions);
                QCOMPARE(read->comments, source.comments);
                QCOMPARE(read->comments.isNull(), source.comments.isNull());
                QCOMPARE((QList<bool>{read->tried, read->print, read->submitted}), (QList<bool>{source.tried, source.print, source.submitted}));
                QCOMPARE(read->lines.size(), source.lines.size());
                for (qsizetype l = 0; l < source.lines.size(); ++l) {
                    QCOMPARE(read->lines[l].amount, source.lines[l].amount);
                    QCOMPARE(read->lines[l].ingredient, source.lines[l].ingredient);
                    QCOMPARE(m_db->GetIngName(read->lines[l].ingredientKey), source.lines[l].ingredient);
                }
            }
        }
        QVERIFY(!store.read(QStringLiteral("No Such Drink")));
        QVERIFY(!store.read(0) && !store.read(40000) && !store.read(-70000));
        // A line whose ingredient is gone is left out.
        exec(QStringLiteral("DELETE FROM Ingredients WHERE ID = (SELECT IngID FROM DrinkRel WHERE DrinkID = 1 ORDER BY rowid LIMIT 1)"));
        QCOMPARE(store.read(1)->lines.size(), lib.drinks[0].lines.size() - 1);
        QCOMPARE(store.readAll().size(), lib.drinks.size());
    }

    void saveAddsUnderTheNextKeyAndEditsInPlace()
    {
        DrinkStore store(*m_db);
        const qint16 next = qint16(scalar(QStringLiteral("SELECT max(ID) FROM Drinks")) + 1);
        exec(QStringLiteral("INSERT INTO DrinkRel VALUES (%1, 3, 'stray')").arg(next)); // left by a deleted drink
        const qint16 key = store.save(newDrink(QStringLiteral("Zest Fizz")));
        QCOMPARE(key, next);
        QCOMPARE(rows(QStringLiteral("SELECT IngID, Amount FROM DrinkRel WHERE DrinkID = %1 ORDER BY rowid").arg(key)),
                 (QStringList{QStringLiteral("1|2 Ounces"), QStringLiteral("2|")}));
        QCOMPARE(rows(QStringLiteral("SELECT Name, Description, Comments IS NULL, Tried, Print FROM Drinks WHERE ID = %1").arg(key)),
                 QStringList{QStringLiteral("Zest Fizz|Stir.|1|true|false")});

        Drink edited = *store.read(key);
        edited.name = QStringLiteral("Zest Sling");
        edited.comments = QStringLiteral("Better.");
        edited.print = true;
        edited.lines.removeFirst();
        edited.lines.append({QStringLiteral("1 Dash"), QStringLiteral("c"), 4});
        QCOMPARE(store.save(edited), key);
        QCOMPARE(rows(QStringLiteral("SELECT IngID, Amount FROM DrinkRel WHERE DrinkID = %1 ORDER BY rowid").arg(key)),
                 (QStringList{QStringLiteral("2|"), QStringLiteral("4|1 Dash")}));
        QCOMPARE(rows(QStringLiteral("SELECT Name, Comments, Print FROM Drinks WHERE ID = %1").arg(key)),
                 QStringList{QStringLiteral("Zest Sling|Better.|true")});
        QVERIFY(!store.exists(QStringLiteral("Zest Fizz")) && store.keyOf(QStringLiteral("zest sling")) == key);
    }

    void failedSavesWriteNothing_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("error");
        QTest::newRow("add past the last key") << "UPDATE Drinks SET ID = 32767 WHERE ID = 1; UPDATE DrinkRel SET DrinkID = 32767 WHERE DrinkID = 1"
                                               << true << int(err::Overflow);
        const QString failLines = QStringLiteral("CREATE TEMP TRIGGER fail BEFORE INSERT ON main.DrinkRel BEGIN SELECT RAISE(ABORT, 'injected'); END");
        QTest::newRow("add, lines fail") << failLines << true << -1;
        QTest::newRow("edit, lines fail") << failLines << false << -1;
        QTest::newRow("edit of a drink gone") << "DELETE FROM Drinks WHERE ID = 2" << false << int(err::NoCurrentRecord);
    }
    void failedSavesWriteNothing()
    {
        QFETCH(QString, setup);
        QFETCH(bool, add);
        QFETCH(int, error);
        DrinkStore store(*m_db);
        Drink drink = add ? newDrink(QStringLiteral("New")) : *store.read(2);
        drink.name = QStringLiteral("Renamed");
        exec(setup);
        const QStringList before = dump();
        try {
            store.save(drink);
            QFAIL("saved");
        } catch (const EngineError &e) {
            if (error >= 0)
                QCOMPARE(e.number(), error);
        }
        QCOMPARE(dump(), before);
        QVERIFY(!m_db->database().inTransaction());
    }

    void deletesOneOrASet()
    {
        DrinkStore store(*m_db);
        const QStringList names{m_db->GetDrinkName(1), m_db->GetDrinkName(2), m_db->GetDrinkName(3), m_db->GetDrinkName(4)};
        QVERIFY(store.remove(names[0].toLower()));
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Drinks WHERE ID = 1")), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM DrinkRel WHERE DrinkID = 1")), 0);
        // Drink 3 cannot lose its lines: asked about, and going on deletes the others.
        exec(QStringLiteral("CREATE TEMP TRIGGER fail BEFORE DELETE ON main.DrinkRel WHEN OLD.DrinkID = 3 BEGIN SELECT RAISE(ABORT, 'x'); END"));
        QStringList asked;
        store.removeMany(names.mid(1), [&](const QString &name) { asked << name; return true; });
        QCOMPARE(asked, QStringList{names[2]});
        QCOMPARE(rows(QStringLiteral("SELECT ID FROM Drinks WHERE ID <= 4")), QStringList{QStringLiteral("3")});
        QVERIFY(scalar(QStringLiteral("SELECT count(*) FROM DrinkRel WHERE DrinkID = 3")) > 0);
    }

    void marksOneOrASet()
    {
        DrinkStore store(*m_db);
        exec(QStringLiteral("UPDATE Drinks SET Tried = 0, Print = 0"));
        QVERIFY(store.setMark(DrinkMark::Tried, m_db->GetDrinkName(5).toUpper(), true));
        QVERIFY(!store.setMark(DrinkMark::Tried, QStringLiteral("No Such Drink"), true));
        const QStringList set{m_db->GetDrinkName(2), QStringLiteral("Gone"), m_db->GetDrinkName(7)};
        QCOMPARE(store.setMarks(DrinkMark::Print, set, true), QStringList{QStringLiteral("Gone")});
        QCOMPARE(rows(QStringLiteral("SELECT ID FROM Drinks WHERE Tried <> 0")), QStringList{QStringLiteral("5")});
        QCOMPARE(store.keysMarkedToPrint(), (QList<int>{2, 7}));
        store.clearPrintMarks();
        QVERIFY(store.keysMarkedToPrint().isEmpty());
    }

private:
    TempSettings m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CDatabase> m_db;
};

QTEST_GUILESS_MAIN(TestDrinkStore)
#include "test_drink_store.moc"
