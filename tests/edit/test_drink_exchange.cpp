// File, Export Drinks and File, Import Drinks through the running program's menu: the whole library
// back into an empty one, the current set, files refused with where their problems are, the
// questions about taken names, and the ways an import or export must write nothing.

#include "edit/drink_import.h"
#include "edit/frmImportConflict.h"
#include "output/frmExportDrinks.h"
#include "store/CDatabase.h"
#include "store/engine/library_builder.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

QStringList dump(StartedProgram &p)
{
    return p.rows(QStringLiteral("SELECT Name, Description, ifnull(Comments, '<none>'), Tried, Print, Submitted FROM Drinks "
                                 "ORDER BY Name"))
           + p.rows(QStringLiteral("SELECT Drinks.Name, Ingredients.Ingredient, DrinkRel.Amount FROM DrinkRel "
                                   "JOIN Drinks ON Drinks.ID = DrinkID JOIN Ingredients ON Ingredients.ID = IngID "
                                   "ORDER BY Drinks.Name, DrinkRel.rowid"))
           + p.rows(QStringLiteral("SELECT Ingredient, Common, Has FROM Ingredients ORDER BY Ingredient"));
}

void answerFile(const QString &path)
{
    setFileDialogHandler([path](FileDialogKind, CommonDialog &) { return std::optional<QString>(path); });
}

// Export through the menu; `option` 1 is the current set, 2 the whole library.
void exportTo(StartedProgram &p, const QString &path, int option)
{
    answerFile(path);
    ModalScript script([option](QDialog &dialog) {
        auto &choice = static_cast<frmExportDrinks &>(dialog);
        choice.optOption[size_t(option - 1)]->setChecked(true);
        choice.cmdButtons[0]->click();
        return choice.result();
    });
    p.form().menuItem(QStringLiteral("mnuFile"), 120)->trigger();
    setFileDialogHandler({});
}

// Import through the menu, answering the questions about taken names in turn; gives the names asked about.
QStringList importFrom(StartedProgram &p, const QString &path, const QList<int> &answers = {})
{
    answerFile(path);
    QStringList asked;
    qsizetype next = 0;
    ModalScript script([&](QDialog &dialog) {
        auto &question = static_cast<frmImportConflict &>(dialog);
        asked << question.lblQuestion->text().section(QLatin1Char('\''), 1, 1);
        return next < answers.size() ? answers[next++] : int(frmImportConflict::Cancel);
    });
    p.form().menuItem(QStringLiteral("mnuFile"), 110)->trigger();
    setFileDialogHandler({});
    return asked;
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("in.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
    return path;
}

library::Drink drink(const QString &name, const QString &directions, const QList<library::Line> &lines)
{
    library::Drink d;
    d.name = name;
    d.directions = directions;
    d.lines = lines;
    return d;
}

} // namespace

class TestDrinkExchange : public QObject {
    Q_OBJECT
private slots:
    void wholeLibraryComesBackIntoAnEmptyOne()
    {
        StartedProgram p;
        // Every kind of drink the program can hold: empty and missing comments, empty directions, no lines, marks.
        p.exec("UPDATE Drinks SET Comments = '' WHERE ID = 1; UPDATE Drinks SET Comments = NULL, Description = '' WHERE ID = 2;"
               "UPDATE Drinks SET Tried = 1, Print = 1, Submitted = 1 WHERE ID = 3; DELETE FROM DrinkRel WHERE DrinkID = 4;"
               "UPDATE Drinks SET Comments = 'Say \"when\"' || char(10) || 'Caf\u00e9 \\ done' WHERE ID = 5;"
               "INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (900, 'Unused bitters', 1, 1);"
               "UPDATE Ingredients SET Has = ID % 2"); // bar ticks of its own: the file carries them
        const QStringList before = dump(p);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("all.json"));
        exportTo(p, file, 2);
        QVERIFY2(p.form().statusText().startsWith(QStringLiteral("Exported %1 drinks to all.json").arg(p.db().DrinkCount())),
                 qPrintable(p.form().statusText()));

        p.exec("DELETE FROM DrinkRel; DELETE FROM Drinks; DELETE FROM Ingredients");
        QVERIFY(importFrom(p, file).isEmpty());
        QCOMPARE(dump(p), before);
        QCOMPARE(p.listedNames().size(), p.db().DrinkCount().toInt());
        QVERIFY2(p.form().statusText().contains(QStringLiteral("drinks added, 0 replaced, 0 skipped;")), qPrintable(p.form().statusText()));
        QVERIFY(p.boxes().messages().isEmpty());
    }

    void currentSetKeepsItsOrderAndOnlyItsIngredients()
    {
        StartedProgram p;
        const QString first = p.rows("SELECT ID FROM Drinks ORDER BY Name LIMIT 1")[0]; // an edge of the file's order
        const QStringList set = {p.rows("SELECT Name FROM Drinks WHERE ID = 7")[0], p.rows("SELECT Name FROM Drinks WHERE ID = " + first)[0]};
        p.form().fillDrinkList(set, DrinkListOrder::AsGiven);
        QTemporaryDir dir;
        exportTo(p, dir.filePath(QStringLiteral("set.json")), 1);
        const library::Library lib = library::readLibraryJson(dir.filePath(QStringLiteral("set.json")));
        QCOMPARE(QStringList({lib.drinks[0].name, lib.drinks[1].name}), set);
        QStringList used;
        for (const QString &row : p.rows("SELECT DISTINCT Ingredient FROM Ingredients JOIN DrinkRel ON IngID = ID WHERE DrinkID IN (7, " + first
                                         + ") ORDER BY Ingredient"))
            used << row;
        QStringList written;
        for (const auto &ing : lib.ingredients)
            written << ing.name;
        QCOMPARE(written, used);
    }

    // Text a user may send in a file enters by an import, is stored and found as written, and leaves
    // by an export unchanged.
    void hostileTextRoundTrips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("directions");
        QTest::newRow("pattern characters") << "100% Pure_Gin [x] ?" << "50% * _ ? [a-z] \\ done";
        QTest::newRow("quotes") << "Dad's Nightcap" << "Say \"when\"; it's done'); DROP TABLE Drinks;--";
        QTest::newRow("emoji") << "Fire \U0001F525 Punch" << "\U0001F525\U0001F378 and \U0001F1E8\U0001F1ED";
        QTest::newRow("combining, right to left") << "Cafe\u0301 \u05E9\u05DC\u05D5\u05DD" << "\u202EdesreveR\u202C \u0627\u0644\u0645\u0627\u0621";
        QTest::newRow("longest") << QString(255, QChar(0x00E9)) << QString(65536, QLatin1Char('x'));
    }
    void hostileTextRoundTrips()
    {
        QFETCH(QString, name);
        QFETCH(QString, directions);
        StartedProgram p;
        QTemporaryDir dir;
        library::Library lib;
        lib.ingredients = {{QStringLiteral("Gin")}};
        lib.drinks = {drink(name, directions, {{QStringLiteral("1 Ounce"), QStringLiteral("Gin")}})};
        QVERIFY(importFrom(p, writeFile(dir, library::libraryJson(lib))).isEmpty());
        QCOMPARE(p.boxes().texts(), QStringList());
        QCOMPARE(p.rows("SELECT Name, Description FROM Drinks ORDER BY ID DESC LIMIT 1"), QStringList{name + '|' + directions});
        p.db().Search(1, name, false);
        QCOMPARE(p.listedNames(), QStringList{name});
        exportTo(p, dir.filePath(QStringLiteral("out.json")), 1);
        const library::Library out = library::readLibraryJson(dir.filePath(QStringLiteral("out.json")));
        QVERIFY(out.drinks.size() == 1 && out.drinks[0].name == name && out.drinks[0].directions == directions);
    }

    void badFileIsRefusedNamingWhere_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("named");
        const QByteArray head = R"({"format": "zestro-library", "version": 1, "ingredients": [{"name": "Gin"}], "drinks": )", end = "}";
        QTest::newRow("not JSON") << QByteArray("{\n  \"format\": \"zestro-library\",\n  oops") << "line 3, column";
        QTest::newRow("wrong format") << QByteArray(R"({"format": "other", "version": 1})") << "\"format\" entry must be";
        QTest::newRow("wrong version") << QByteArray(R"({"format": "zestro-library", "version": 3})") << "only version 1";
        QTest::newRow("missing name") << head + R"([{"name": "Ok"}, {"directions": "Stir."}])" + end << "drink 2: no name.";
        QTest::newRow("line naming no ingredient")
            << head + R"([{"name": "Neat", "lines": [{"amount": "1 Ounce", "ingredient": "Gin"}, {"amount": "2 Ounces"}]}])" + end
            << "drink 1 \"Neat\", line 2: no ingredient.";
        QTest::newRow("duplicate name") << head + R"([{"name": "Gin Fizz"}, {"name": "GIN FIZZ"}])" + end
                                        << "drink 2 \"GIN FIZZ\": listed twice (also drink 1 \"Gin Fizz\"; they differ in letter case).";
        QTest::newRow("amount as number") << head + R"([{"name": "Neat", "lines": [{"amount": 2, "ingredient": "Gin"}]}])" + end
                                          << "line 1: the amount 2 is a number";
    }

    void badFileIsRefusedNamingWhere()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, named);
        StartedProgram p;
        const QStringList before = dump(p);
        QTemporaryDir dir;
        importFrom(p, writeFile(dir, json));
        QCOMPARE(p.boxes().messages().size(), 1);
        QVERIFY2(p.boxes().messages()[0].text.contains(named), qPrintable(p.boxes().messages()[0].text));
        QVERIFY(p.boxes().messages()[0].text.endsWith(QStringLiteral("Nothing was imported.")));
        QCOMPARE(dump(p), before);
    }

    void spellingsOfOneIngredientAreMerged()
    {
        StartedProgram p;
        const QString composed = QStringLiteral("Cr\u00e8me de Cassis"), lemon = QStringLiteral("Fresh lemon juice");
        library::Library lib;
        lib.ingredients = {{lemon}, {composed}, {QStringLiteral("Fresh Lemon Juice"), true}, {QStringLiteral("Cre\u0300me de Cassis")}};
        lib.drinks = {drink(QStringLiteral("Kir Sour"), {}, {{{}, lemon}, {{}, composed}}),
                      drink(QStringLiteral("Cassis Smash"), {}, {{{}, lib.ingredients[2].name}, {{}, lib.ingredients[3].name}})};
        QTemporaryDir dir;
        importFrom(p, writeFile(dir, library::libraryJson(lib)));
        QCOMPARE(p.rows("SELECT DISTINCT Ingredient, Common FROM DrinkRel JOIN Ingredients ON IngID = Ingredients.ID WHERE DrinkID IN "
                        "(SELECT ID FROM Drinks WHERE Name IN ('Kir Sour', 'Cassis Smash')) ORDER BY IngID"),
                 (QStringList{lemon + "|false", composed + "|false"}));
        QVERIFY(p.form().statusText().endsWith(": 2 drinks added, 0 replaced, 0 skipped; 2 ingredients created, 2 other spellings merged."));
    }

    void takenNamesAreReplacedOrSkippedAsAnswered_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QList<bool>>("replaced"); // of the three taken drinks
        using A = frmImportConflict;
        QTest::newRow("one by one") << QList<int>{A::Replace, A::Skip, A::Replace} << 3 << QList<bool>{true, false, true};
        QTest::newRow("replace all") << QList<int>{A::ReplaceAll} << 1 << QList<bool>{true, true, true};
        QTest::newRow("skip all") << QList<int>{A::SkipAll} << 1 << QList<bool>{false, false, false};
        QTest::newRow("skip, then replace all") << QList<int>{A::Skip, A::ReplaceAll} << 2 << QList<bool>{false, true, true};
    }

    void takenNamesAreReplacedOrSkippedAsAnswered()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, asked);
        QFETCH(QList<bool>, replaced);
        StartedProgram p;
        const QStringList taken = p.rows("SELECT Name FROM Drinks WHERE ID IN (3, 5, 9) ORDER BY ID");
        const QString held = p.rows("SELECT Ingredient FROM Ingredients WHERE Has = 0 ORDER BY ID LIMIT 1")[0];
        const QStringList oldLines = p.rows("SELECT DrinkID, IngID, Amount FROM DrinkRel WHERE DrinkID IN (3, 5, 9) ORDER BY rowid");
        library::Library lib;
        lib.ingredients = {{QStringLiteral("Yuzu"), true, true}, {QStringLiteral("Skipped only"), false, false}, {held, false, true}};
        for (const QString &name : taken)
            lib.drinks << drink(name.toUpper(), QStringLiteral("New way."), {{QStringLiteral("1 Dash"), QStringLiteral("Yuzu")}});
        lib.drinks[1].lines = {{QString(), QStringLiteral("Skipped only")}};
        lib.drinks << drink(QStringLiteral("Brand New"), QString(), {{QStringLiteral("2 cl"), QStringLiteral("yuzu")}});
        // The last drink moves to 32766: the new one takes the largest number, and the last keeps its lines.
        p.exec("UPDATE DrinkRel SET DrinkID = 32766 WHERE DrinkID = (SELECT max(ID) FROM Drinks); UPDATE Drinks SET ID = 32766 WHERE ID = (SELECT max(ID) FROM Drinks)");
        const QStringList lastLines = p.rows("SELECT IngID, Amount FROM DrinkRel WHERE DrinkID = 32766 ORDER BY rowid");
        QVERIFY(!lastLines.isEmpty());
        const int lastId = p.rows("SELECT max(ID) FROM Drinks")[0].toInt();
        QTemporaryDir dir;
        QCOMPARE(importFrom(p, writeFile(dir, library::libraryJson(lib)), answers), taken.mid(0, asked));

        // A created ingredient takes the file's bar tick; one the library had keeps its own.
        const QString yuzu = p.rows("SELECT ID FROM Ingredients WHERE Ingredient = 'Yuzu' AND Common = 1 AND Has = 1").value(0);
        QVERIFY(!yuzu.isEmpty());
        QCOMPARE(p.rows("SELECT Has FROM Ingredients WHERE Ingredient = '" + held + "'"), QStringList{"false"});
        QCOMPARE(p.rows("SELECT ID, Name FROM Drinks WHERE Name = 'Brand New'"), QStringList{QStringLiteral("%1|Brand New").arg(lastId + 1)});
        for (int i = 0; i < 3; ++i) {
            const int id = QList<int>{3, 5, 9}[i];
            const QStringList row = p.rows(QStringLiteral("SELECT Name, Description FROM Drinks WHERE ID = %1").arg(id));
            QCOMPARE(row[0] == lib.drinks[i].name + QStringLiteral("|New way."), replaced[i]);
            const QStringList lines = p.rows(QStringLiteral("SELECT DrinkID, IngID, Amount FROM DrinkRel WHERE DrinkID = %1 ORDER BY rowid").arg(id));
            if (replaced[i] && i != 1)
                QCOMPARE(lines, QStringList{QStringLiteral("%1|%2|1 Dash").arg(id).arg(yuzu)});
            else if (!replaced[i])
                QCOMPARE(lines, oldLines.filter(QRegularExpression(QStringLiteral("^%1\\|").arg(id))));
        }
        // An ingredient only a skipped drink uses is not created.
        QCOMPARE(p.rows("SELECT count(*) FROM Ingredients WHERE Ingredient = 'Skipped only'")[0], QString(replaced[1] ? "1" : "0"));
        const int count = int(std::count(replaced.begin(), replaced.end(), true));
        QVERIFY2(p.form().statusText().contains(QStringLiteral(": 1 drink added, %1 replaced, %2 skipped; %3 created.")
                                                    .arg(count)
                                                    .arg(3 - count)
                                                    .arg(replaced[1] ? "2 ingredients" : "1 ingredient")),
                 qPrintable(p.form().statusText()));
        QVERIFY(p.listedNames().contains(QStringLiteral("Brand New")));
        QCOMPARE(p.rows("SELECT IngID, Amount FROM DrinkRel WHERE DrinkID = 32766 ORDER BY rowid"), lastLines);
    }

    void importThatStopsWritesNothing_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("cancelProgress");
        QTest::addColumn<QString>("told"); // in the status text, or in the message
        QTest::newRow("question closed") << QString() << QList<int>{frmImportConflict::Cancel} << false << "Import stopped";
        QTest::newRow("progress cancelled") << QString() << QList<int>{frmImportConflict::ReplaceAll} << true << "Import cancelled";
        QTest::newRow("drink numbers run out") << "UPDATE Drinks SET ID = 32000 WHERE ID = 1" << QList<int>{frmImportConflict::SkipAll}
                                               << false << "Error 6: Overflow: the import would add 999 drinks";
        QTest::newRow("ingredient numbers run out") << "UPDATE Ingredients SET ID = 32767 WHERE ID = 1"
                                                    << QList<int>{frmImportConflict::SkipAll} << false << "would add 2 ingredients";
    }

    void importThatStopsWritesNothing()
    {
        QFETCH(QString, setup);
        QFETCH(QList<int>, answers);
        QFETCH(bool, cancelProgress);
        QFETCH(QString, told);
        StartedProgram p;
        if (!setup.isEmpty())
            p.exec(setup);
        library::Library lib = library::syntheticLibrary(1000, 5);
        lib.ingredients = {{QStringLiteral("Test one")}, {QStringLiteral("Test two")}};
        for (library::Drink &d : lib.drinks)
            d.lines = {{QStringLiteral("1 Ounce"), lib.ingredients[0].name}};
        lib.drinks[0].name = p.rows("SELECT Name FROM Drinks WHERE ID = 6")[0];
        const QStringList before = dump(p);
        int looks = 0;
        setImportProgressHook([&](QProgressDialog &progress) {
            if (cancelProgress && ++looks == 3)
                progress.cancel();
        });
        QTemporaryDir dir;
        importFrom(p, writeFile(dir, library::libraryJson(lib)), answers);
        setImportProgressHook({});
        QCOMPARE(dump(p), before);
        const QString shown = p.form().statusText() + p.boxes().texts().join(QLatin1Char('\n'));
        QVERIFY2(shown.contains(told), qPrintable(shown));
    }

    void failedExportWriteKeepsTheOldFile()
    {
        StartedProgram p;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("kept.json"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the old file") == 12);
        old.close();
        // A file size limit makes the write fail part-way, as a full disk would.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
        exportTo(p, file, 2);
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(p.boxes().messages().size(), 1);
        QVERIFY2(p.boxes().texts()[0].startsWith(QStringLiteral("There was an error exporting the drinks; the file was not written.")),
                 qPrintable(p.boxes().texts()[0]));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the old file"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.json"});
        QCOMPARE(p.form().statusText(), QStringLiteral("Drinks not exported."));
    }
};

QTEST_MAIN(TestDrinkExchange)
#include "test_drink_exchange.moc"
