// The undo history on a copy of the starter library, without a window: what a new step, a write
// outside any step and the capacity do to the lists, the labels the steps get, and a replay whose
// row is no longer as the step left it.

#include "store/CDatabase.h"
#include "store/drink_store.h"
#include "store/undo_history.h"
#include "support/fixture_db.h"
#include "support/temp_settings.h"

#include <QTemporaryDir>
#include <QtTest>

class TestUndoHistory : public QObject {
    Q_OBJECT

    UndoHistory &history() { return m_db->undoHistory(); }
    void add(const QString &name) { m_db->IngredientAdd(name, false); }
    qint64 count(const QString &sql) { return m_db->database().scalar(sql); }
    // How many steps Undo reverses before it has none left.
    int undoAll()
    {
        int steps = 0;
        for (; history().canUndo() && steps < 100; ++steps)
            history().undo();
        return steps;
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

    void newStepClearsRedo()
    {
        add(QStringLiteral("Yuzu"));
        history().undo();
        QVERIFY(history().canRedo());
        add(QStringLiteral("Kumquat"));
        QVERIFY(!history().canRedo());
        QCOMPARE(undoAll(), 1);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Ingredients WHERE Ingredient IN ('Yuzu', 'Kumquat')")), 0);
    }

    // A write the history did not record makes every older step unsafe: the next step starts a
    // new history, and an undo says so and changes nothing.
    void writeOutsideAnyStepDropsTheHistory_data()
    {
        QTest::addColumn<bool>("thenStep");
        QTest::newRow("then a step") << true;
        QTest::newRow("then undo") << false;
    }
    void writeOutsideAnyStepDropsTheHistory()
    {
        QFETCH(bool, thenStep);
        add(QStringLiteral("Yuzu"));
        add(QStringLiteral("Kumquat"));
        m_db->database().executeNative(QStringLiteral("UPDATE Ingredients SET Common = 1 WHERE Ingredient = 'Yuzu'"));
        if (thenStep) {
            add(QStringLiteral("Calamansi"));
            QCOMPARE(undoAll(), 1);
        } else {
            QVERIFY_THROWS_EXCEPTION(EngineError, history().undo());
            QVERIFY(!history().canUndo());
        }
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Ingredients WHERE Ingredient IN ('Yuzu', 'Kumquat') AND Common = (Ingredient = 'Yuzu')")), 2);
    }

    // Each step here is larger than a capacity of one character: only the newest is kept. With
    // room for all, all are.
    void capacityDropsTheOldestStepsButNeverTheNewest_data()
    {
        QTest::addColumn<qsizetype>("capacity");
        QTest::addColumn<int>("kept");
        QTest::newRow("one character") << qsizetype(1) << 1;
        QTest::newRow("room for all") << UndoHistory::kDefaultCapacity << 3;
    }
    void capacityDropsTheOldestStepsButNeverTheNewest()
    {
        QFETCH(qsizetype, capacity);
        QFETCH(int, kept);
        history().setCapacity(capacity);
        for (const char *name : {"Yuzu", "Kumquat", "Calamansi"})
            add(QLatin1String(name));
        QCOMPARE(undoAll(), kept);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Ingredients WHERE Ingredient IN ('Yuzu', 'Kumquat', 'Calamansi')")), 3 - kept);
    }

    void labelCountsTheDrinks_data()
    {
        QTest::addColumn<int>("drinks");
        QTest::addColumn<QString>("label");
        QTest::newRow("one") << 1 << "Delete 1 Drink";
        QTest::newRow("two") << 2 << "Delete 2 Drinks";
    }
    void labelCountsTheDrinks()
    {
        QFETCH(int, drinks);
        QFETCH(QString, label);
        const QStringList names = m_db->database().textColumn(QStringLiteral("SELECT Name FROM Drinks ORDER BY ID LIMIT %1").arg(drinks));
        {
            UndoStep step(*m_db, QStringLiteral("Delete %n Drinks"));
            DrinkStore(*m_db).removeMany(names, [](const QString &) { return false; });
        }
        QCOMPARE(history().undoLabel(), label);
        history().undo();
        QCOMPARE(history().redoLabel(), label);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Drinks")), 192);
    }

    // A row changed behind the triggers' back (none were there to see it): the replay finds it is
    // not as the step left it, changes nothing and keeps the step. Nobody else wrote, so nobody
    // else is blamed.
    void replayOfARowNotAsLeftChangesNothing()
    {
        {
            UndoStep step(*m_db, QStringLiteral("Edit Drink"));
            m_db->database().executeNative(QStringLiteral("UPDATE Drinks SET Description = 'Shake.' WHERE ID = 1"));
        }
        m_db->database().executeNative(QStringLiteral("DROP TRIGGER temp.zestro_undo_Drinks_update"));
        m_db->database().executeNative(QStringLiteral("UPDATE Drinks SET Description = 'Stir.' WHERE ID = 1"));
        try {
            history().undo();
            QFAIL("the undo went ahead");
        } catch (const EngineError &e) {
            QCOMPARE(e.description(), QStringLiteral("Could not undo Edit Drink.  A row it would change is no longer as it was left.  "
                                                     "Nothing was changed."));
        }
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Drinks WHERE ID = 1 AND Description = 'Stir.'")), 1);
        QCOMPARE(history().undoLabel(), QStringLiteral("Edit Drink"));
    }

private:
    TempSettings m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CDatabase> m_db;
};

QTEST_GUILESS_MAIN(TestUndoHistory)
#include "test_undo_history.moc"
