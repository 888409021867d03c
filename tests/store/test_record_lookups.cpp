// Name <-> key lookups and the drink count, on the starter library.

#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/msgbox_recorder.h"
#include "support/temp_settings.h"

#include <QTemporaryDir>
#include <QtTest>

class TestRecordLookups : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_db.setFileName(fixture::starterLibrary(m_dir.path()));
        m_db.DbOpen();
        const library::Library lib = fixture::starterContents();
        m_drinkNames.reserve(lib.drinks.size());
        for (const library::Drink &d : lib.drinks)
            m_drinkNames << d.name;
        for (const library::Ingredient &i : lib.ingredients)
            m_ingredientNames << i.name;
    }

    void drinkCountIsText()
    {
        QCOMPARE(m_db.DrinkCount(), QString::number(m_drinkNames.size()));
        QTemporaryDir dir;
        CDatabase empty;
        empty.setFileName(fixture::customLibrary(dir.path(), library::Library{}));
        empty.DbOpen();
        QCOMPARE(empty.DrinkCount(), QStringLiteral("0"));
    }

    // The builder numbers ingredients and drinks from 1 in the order of the source.
    void ingredientIdsFollowNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("id");
        const int gin = int(m_ingredientNames.indexOf(QStringLiteral("Gin"))) + 1;
        QTest::newRow("exact") << "Gin" << gin;
        QTest::newRow("other case") << "gIN" << gin;
        QTest::newRow("trailing space") << "Gin " << 0;
        QTest::newRow("unknown") << "Unicorn tears" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("double quote") << "Gin\" OR \"1\"=\"1" << 0;
        QTest::newRow("single quote") << "Gin' OR '1'='1" << 0;
    }

    void ingredientIdsFollowNames()
    {
        QFETCH(QString, name);
        QFETCH(int, id);
        MsgBoxRecorder boxes;
        QCOMPARE(int(m_db.GetIngID(name)), id);
        QVERIFY(boxes.messages().isEmpty());
    }

    void ingredientNamesFollowIds()
    {
        MsgBoxRecorder boxes;
        for (int i = 0; i < m_ingredientNames.size(); i += 17)
            QCOMPARE(m_db.GetIngName(qint16(i + 1)), m_ingredientNames[i]);
        QVERIFY(boxes.messages().isEmpty());
    }

    void missingIngredientNumberIsRefusedWithItsNumber()
    {
        for (const qint16 id : {qint16(9999), qint16(-4)}) {
            try {
                m_db.GetIngName(id);
                QFAIL("a missing ingredient gave a name");
            } catch (const EngineError &e) {
                QCOMPARE(e.description(), QStringLiteral("Cannot find ingredient number '%1'.").arg(id));
            }
        }
    }

    void drinkNamesFollowIds()
    {
        QCOMPARE(m_db.GetDrinkName(1), m_drinkNames.first());
        QCOMPARE(m_db.GetDrinkName(qint16(m_drinkNames.size())), m_drinkNames.last());
        try {
            m_db.GetDrinkName(32000);
            QFAIL("a missing drink gave a name");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), int(err::NoCurrentRecord));
        }
    }

    void drinkExistence_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::newRow("first") << m_drinkNames.first() << true;
        QTest::newRow("last") << m_drinkNames.last() << true;
        QTest::newRow("other case") << m_drinkNames.first().toUpper() << true;
        QTest::newRow("apostrophe") << "Bee's Knees" << m_drinkNames.contains(QStringLiteral("Bee's Knees"));
        QTest::newRow("unknown") << "Unicorn Fizz" << false;
        QTest::newRow("double quote") << "Martini\"" << false;
        QTest::newRow("empty") << "" << false;
    }

    void drinkExistence()
    {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        QCOMPARE(m_db.DoesDrinkExist(name), exists);
    }

    void lookupsOnAClosedStore()
    {
        CDatabase closed;
        QCOMPARE(int(closed.GetIngID(QStringLiteral("Gin"))), 0);
        QVERIFY_THROWS_EXCEPTION(EngineError, closed.DrinkCount());
        QVERIFY_THROWS_EXCEPTION(EngineError, closed.DoesDrinkExist(QStringLiteral("Gin")));
    }

private:
    TempSettings m_settings;
    QTemporaryDir m_dir;
    CDatabase m_db;
    QStringList m_drinkNames;
    QStringList m_ingredientNames;
};

QTEST_MAIN(TestRecordLookups)
#include "test_record_lookups.moc"
