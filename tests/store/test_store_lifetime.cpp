// Opening, upgrading and closing the database through CDatabase.

#include "app/frmMain.h"
#include "core/settings_access.h"
#include "store/CDatabase.h"
#include "store/CGeneralDatabase.h"
#include "support/fixture_db.h"
#include "support/msgbox_recorder.h"
#include "support/temp_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kUpgradeMessage = QStringLiteral(
    "Zestro has noticed you have an old database that doesn't support the latest Bar List feature.  "
    "Please wait while the database is being modified.");
}

class TestStoreLifetime : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void openSetsCaptionAndTables()
    {
        frmMain form;
        CDatabase db;
        db.setOutputWindow(&form);
        db.setFileName(fixture::starterLibrary(m_dir->path()));
        MsgBoxRecorder boxes;
        QVERIFY(db.DbOpen());
        QCOMPARE(form.windowTitle(), QStringLiteral("Zestro - zestro.mdb"));
        QVERIFY(boxes.messages().isEmpty());
        QVERIFY(db.isOpen());
        QVERIFY(!db.drinksTable().Eof());
        QCOMPARE(db.drinksTable().RecordCount(), int(fixture::starterContents().drinks.size()));
        QVERIFY(!db.ingredientsTable().Eof());
        QVERIFY(!db.drinkRelTable().Eof());
    }

    void captionShowsOnlyTheFileName_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("caption");
        QTest::newRow("plain") << "bar.mdb" << "Zestro - bar.mdb";
        QTest::newRow("backslash in the name") << "old\\home.mdb" << "Zestro - home.mdb";
        QTest::newRow("blank in the name") << "my drinks.mdb" << "Zestro - my drinks.mdb";
    }

    void captionShowsOnlyTheFileName()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, caption);
        frmMain form;
        CDatabase db;
        db.setOutputWindow(&form);
        db.setFileName(fixture::starterLibrary(m_dir->path(), fileName));
        db.DbOpen();
        QCOMPARE(form.windowTitle(), caption);
    }

    void onlyAFileThatOpenedIsSavedInTheSettings()
    {
        auto stored = [] { return GetSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Database")); };
        CDatabase db;
        QCOMPARE(db.FileName(), QString());
        const QString bad = m_dir->filePath(QStringLiteral("bad.mdb"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        for (const QString &path : {QStringLiteral("/data/drinks/zestro.mdb"), bad}) {
            db.setFileName(path);
            QVERIFY_THROWS_EXCEPTION(EngineError, db.DbOpen());
            QCOMPARE(stored(), QString());
        }
        const QString good = fixture::starterLibrary(m_dir->path());
        db.setFileName(good);
        db.DbOpen();
        QCOMPARE(stored(), good);
    }

    void closeNeverOpenedGivesFalseSilently()
    {
        MsgBoxRecorder boxes;
        CDatabase db;
        QVERIFY(!db.DbClose());
        QVERIFY(boxes.messages().isEmpty());
    }

    void closeDropsTheTablesAndReopens()
    {
        CDatabase db;
        db.setFileName(fixture::starterLibrary(m_dir->path()));
        db.DbOpen();
        QVERIFY(db.DbClose());
        QVERIFY(!db.isOpen());
        QVERIFY_THROWS_EXCEPTION(EngineError, db.drinksTable());
        QVERIFY(db.DbOpen());
        QCOMPARE(db.DrinkCount(), QString::number(fixture::starterContents().drinks.size()));
    }

    void oldFileIsUpgradedOnce()
    {
        const QString path = fixture::oldFormatLibrary(m_dir->path());
        {
            MsgBoxRecorder boxes;
            frmMain form;
            CDatabase db;
            db.setOutputWindow(&form);
            db.setFileName(path);
            QVERIFY(db.DbOpen());
            QCOMPARE(boxes.texts(), QStringList{kUpgradeMessage});
            QCOMPARE(boxes.messages().first().icon(), int(msgbox::vbInformation));
            QCOMPARE(boxes.messages().first().caption, QStringLiteral("Zestro"));
            QCOMPARE(form.windowTitle(), QStringLiteral("Zestro - old.mdb"));
            // The new field is there for the ingredient list, false on every existing row.
            auto list = db.database().QueryDefs(QStringLiteral("GetIngList")).OpenRecordset(engine::dbOpenSnapshot);
            QVERIFY(!list->Eof());
            for (; !list->Eof(); list->MoveNext())
                QCOMPARE(list->Fields(QStringLiteral("Has")).Value(), QVariant(false));
        }
        MsgBoxRecorder boxes;
        CDatabase again;
        again.setFileName(path);
        again.DbOpen();
        QVERIFY(boxes.messages().isEmpty());
    }

    void failedUpgradeIsReportedAndTheFileStaysUsable()
    {
        const QString path = fixture::oldFormatLibrary(m_dir->path());
        auto db = engine::OpenDatabase(path, false, true); // read-only: the field cannot be added
        QVERIFY(!CGeneralDatabase::DoesFieldExist(*db, QStringLiteral("Ingredients"), QStringLiteral("Has")));
        engine::TableDef ingredients = db->TableDefs(QStringLiteral("Ingredients"));
        try {
            CGeneralDatabase::AddField(*db, ingredients, QStringLiteral("Has"), engine::dbBoolean);
            QFAIL("a read-only file took a new field");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), 3027);
            QVERIFY2(e.description().startsWith(QStringLiteral("Error creating field 'Has' in table 'Ingredients'.\nError: 3027: ")),
                     qPrintable(e.description()));
        }
        QVERIFY(!db->OpenRecordset(QStringLiteral("Drinks"))->Eof());
    }

    void fieldLookupOfAMissingTableIsShownAndCountsAsNo()
    {
        auto db = engine::OpenDatabase(fixture::starterLibrary(m_dir->path()));
        MsgBoxRecorder boxes;
        QVERIFY(!CGeneralDatabase::DoesFieldExist(*db, QStringLiteral("Ingredients"), QStringLiteral("Nope")));
        QVERIFY(boxes.messages().isEmpty()); // item not found is a plain no
        QVERIFY(CGeneralDatabase::DoesFieldExist(*db, QStringLiteral("ingredients"), QStringLiteral("has")));
    }

    void badFilesRaiseNumberedErrorsAndLeaveTheStoreClosed_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("number");
        QTest::newRow("missing") << QByteArray() << int(err::FileNotFound);
        QTest::newRow("text file") << QByteArray("Gin\r\nTonic water\r\nLime\r\n").repeated(40) << int(err::UnrecognizedFormat);
        QTest::newRow("truncated") << QByteArray("truncate") << int(err::DatabaseDamaged);
    }

    void badFilesRaiseNumberedErrorsAndLeaveTheStoreClosed()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, number);
        QString path = m_dir->filePath(QStringLiteral("bad.mdb"));
        if (contents == "truncate") {
            path = fixture::starterLibrary(m_dir->path(), QStringLiteral("bad.mdb"));
            QFile f(path);
            QVERIFY(f.resize(f.size() / 2 + 100));
        } else if (!contents.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contents);
        }
        frmMain form;
        CDatabase db;
        db.setOutputWindow(&form);
        db.setFileName(path);
        try {
            db.DbOpen();
            QFAIL("DbOpen accepted a bad file");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), number);
            QVERIFY(!e.description().isEmpty());
        }
        QVERIFY(!db.isOpen());
        QCOMPARE(form.windowTitle(), QStringLiteral("Zestro"));
        QVERIFY(!QFile::exists(path + QStringLiteral(".lock")));
    }

    // The file deleted or replaced by another program while open: no write reaches either file.
    void fileTakenAwayWhileOpenIsNotWritten_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("removed") << false;
        QTest::newRow("replaced by a copy") << true;
    }
    void fileTakenAwayWhileOpenIsNotWritten()
    {
        QFETCH(bool, replaced);
        const QString path = fixture::starterLibrary(m_dir->path()), moved = path + QStringLiteral(".moved");
        frmMain form;
        CDatabase db;
        db.setOutputWindow(&form);
        db.setFileName(path);
        db.DbOpen();
        db.Search(0, QString(), false);
        const auto bytes = [](const QString &file) { QFile f(file); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); };
        const QByteArray before = bytes(path);
        QVERIFY(QFile::rename(path, moved) && (!replaced || QFile::copy(moved, path)));
        try {
            db.DrinkTried(true, form, true);
            QFAIL("a write went to a file that was taken away");
        } catch (const EngineError &e) {
            QVERIFY2(e.number() == err::CannotOpenFile && e.description().contains(QLatin1String("removed or replaced")), e.what());
        }
        QCOMPARE(bytes(moved), before);
        QCOMPARE(bytes(path), replaced ? before : QByteArray());
    }

    void secondCopyCannotOpenTheSameFile()
    {
        const QString path = fixture::starterLibrary(m_dir->path());
        CDatabase first;
        first.setFileName(path);
        first.DbOpen();
        CDatabase second;
        second.setFileName(path);
        try {
            second.DbOpen();
            QFAIL("a second store opened a file in use");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), int(err::FileInUse));
        }
        QVERIFY(first.DbClose());
        QVERIFY(second.DbOpen());
    }

private:
    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestStoreLifetime)
#include "test_store_lifetime.moc"
