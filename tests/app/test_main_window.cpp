// Start-up, the main window's menus and commands, File, Open and shutdown, on a real frmMain.

#include "app/startup.h"
#include "common/common_dialog.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "core/settings_access.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <optional>
#include <sys/stat.h>

namespace {
QString storedDatabasePath()
{
    return GetSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Database"));
}

struct EndProgramCalled {
    int code;
};
[[noreturn]] void throwOnEnd(int code)
{
    throw EndProgramCalled{code};
}

// Answers the next file dialogs with the given paths; an empty optional is Cancel.
class FileDialogScript {
public:
    explicit FileDialogScript(QList<std::optional<QString>> answers) : m_answers(std::move(answers))
    {
        setFileDialogHandler([this](FileDialogKind, CommonDialog &dialog) {
            seen.append(dialog.Filter);
            return m_answers.isEmpty() ? std::optional<QString>() : m_answers.takeFirst();
        });
    }
    ~FileDialogScript() { setFileDialogHandler({}); }
    QStringList seen;

private:
    QList<std::optional<QString>> m_answers;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void startupOpensTheLibraryBesideTheProgram()
    {
        StartedProgram p;
        QCOMPARE(p.form().windowTitle(), QStringLiteral("Zestro - zestro.mdb"));
        QCOMPARE(storedDatabasePath(), p.libraryPath());
        QCOMPARE(p.listedNames().size(), int(fixture::starterContents().drinks.size()));
        QVERIFY(p.form().isVisible());
        QVERIFY(p.boxes().messages().isEmpty());
    }

    void captionsComeFromTheStringTable()
    {
        StartedProgram p;
        frmMain &f = p.form();
        QCOMPARE(f.menuItem(QStringLiteral("mnuMenu"), 0)->text(), QStringLiteral("&File"));
        QCOMPARE(f.menuItem(QStringLiteral("mnuFile"), 1)->text(), QStringLiteral("&Open..."));
        QCOMPARE(f.menuItem(QStringLiteral("mnuFile"), 30)->text(), QStringLiteral("&Print"));
        QCOMPARE(f.menuItem(QStringLiteral("mnuFile"), 40)->text(), QStringLiteral("Printer Set&up..."));
        QCOMPARE(f.menuItem(QStringLiteral("mnuFile"), 99)->text(), QStringLiteral("E&xit"));
        QCOMPARE(f.menuItem(QStringLiteral("mnuMenu"), 3)->text(), QStringLiteral("&Edit"));
        QCOMPARE(f.menuItem(QStringLiteral("mnuEdit"), 5)->text(), QStringLiteral("&Add..."));
        QCOMPARE(f.menuItem(QStringLiteral("mnuEdit"), 10)->text(), QStringLiteral("&Edit..."));
        QCOMPARE(f.menuItem(QStringLiteral("mnuEdit"), 30)->text(), QStringLiteral("&Delete"));
        QCOMPARE(f.menuItem(QStringLiteral("mnuEdit"), 50)->text(), QStringLiteral("&Copy to clipboard..."));
        QCOMPARE(f.menuItem(QStringLiteral("mnuHelp"), 10)->text(), QStringLiteral("Zestro &Help Topics"));
        QCOMPARE(f.lblIngredients->text(), QStringLiteral("Ingredients"));
        QCOMPARE(f.lblDirections->text(), QStringLiteral("Directions"));
        QCOMPARE(f.lblComments->text(), QStringLiteral("Comments"));
        const QStringList tips = {"Previous", "Next", "", "Copy to Clipboard", "", "Add", "Edit", "Delete", "",
                                  "Mark as Tried", "Mark to Print", "", "Search Wizard", "", "Print Marked Drinks"};
        for (int i = 1; i <= 15; ++i) {
            QAction *b = f.toolbarButton(i);
            QVERIFY(b);
            QCOMPARE(b->isSeparator(), tips[i - 1].isEmpty());
            if (!b->isSeparator())
                QCOMPARE(b->toolTip(), tips[i - 1]);
        }
        QVERIFY(f.toolbarButton(10)->isCheckable() && f.toolbarButton(11)->isCheckable());
        QVERIFY(!f.toolbarButton(1)->isCheckable());
        const auto shortcuts = QList<QPair<QString, int>>{{"mnuEdit", 5}, {"mnuEdit", 10}, {"mnuEdit", 30}, {"mnuEdit", 50},
                                                          {"mnuView", 20}, {"mnuView", 23}, {"mnuSearch", 10}, {"mnuTools", 30},
                                                          {"mnuHelp", 10}, {"mnuFile", 99}};
        const QStringList keys = {"Ctrl+A", "Ctrl+E", "Del", "Ctrl+C", "Ctrl+P", "Ctrl+N", "Ctrl+W", "Ctrl+I", "F1", "Ctrl+Q"};
        for (int i = 0; i < shortcuts.size(); ++i)
            QCOMPARE(f.menuItem(shortcuts[i].first, shortcuts[i].second)->shortcut().toString(), keys[i]);
        // The start-up made the toolbar flat.
        for (QAction *action : f.Toolbar1->actions()) {
            if (auto *button = qobject_cast<QToolButton *>(f.Toolbar1->widgetForAction(action)))
                QVERIFY(button->autoRaise());
        }
    }

    // Each menu item, pop-up item and toolbar button runs its command, chosen or by its index, and
    // follows the command's enabled state.
    void itemsRunTheirCommands_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("command");
        const char *rows[][2] = {
            {"mnuFile(1)", "actOpenDatabase"}, {"mnuFile(30)", "actPrintMarked"}, {"mnuFile(40)", "actPrinterSetup"},
            {"mnuFile(99)", "actExit"}, {"mnuFile(110)", "actImportDrinks"}, {"mnuFile(120)", "actExportDrinks"},
            {"mnuEdit(5)", "actAddDrink"}, {"mnuEdit(10)", "actEditDrink"}, {"mnuEdit(30)", "actDeleteDrink"},
            {"mnuEdit(50)", "actCopyDrink"}, {"mnuCurrentSet(10)", "actMarkSetTried"},
            {"mnuCurrentSet(20)", "actMarkSetPrint"}, {"mnuCurrentSet(40)", "actUnmarkSetTried"},
            {"mnuCurrentSet(50)", "actUnmarkSetPrint"}, {"mnuCurrentSet(70)", "actDeleteSet"},
            {"mnuView(10)", "actAllDrinks"}, {"mnuView(15)", "actRandomDrink"}, {"mnuView(20)", "actPrevious"},
            {"mnuView(23)", "actNext"}, {"mnuView(85)", "actTipOfTheDay"}, {"mnuView(99)", "actOptions"},
            {"mnuSearchResults(0)", "actRecentSearch0"},
            {"mnuSearch(10)", "actSearchWizard"}, {"mnuSearch(30)", "actSearchByName"},
            {"mnuSearch(40)", "actSearchByIngredients"}, {"mnuSearch(50)", "actSearchByDirections"},
            {"mnuSearch(60)", "actSearchByComments"}, {"mnuSearch(70)", "actSearchCanMake"},
            {"mnuSearch(100)", "actSearchTried"}, {"mnuSearch(110)", "actSearchNotTried"},
            {"mnuSearch(120)", "actSearchSubmitted"}, {"mnuSearch(130)", "actSearchToPrint"},
            {"mnuFile(50)", "actBackUpLibrary"}, {"mnuFile(55)", "actRestoreBackup"},
            {"mnuTools(10)", "actCompactDatabase"}, {"mnuTools(30)", "actEditIngredients"},
            {"mnuTools(500)", "actDatabaseUtilities"}, {"mnuBarlist(10)", "actMyBar"}, {"mnuBarlist(30)", "actImportBarList"},
            {"mnuBarlist(40)", "actExportBarList"}, {"mnuBarlist(50)", "actBuyNext"}, {"mnuHelp(10)", "actHelpTopics"},
            {"mnuHelp(30)", "actSubmittingDrinks"}, {"mnuHelp(99)", "actAbout"},
            {"mnuDrinkListPopup(10)", "actEditDrink"}, {"mnuDrinkListPopup(20)", "actDeleteDrink"},
            {"Toolbar1(1)", "actPrevious"}, {"Toolbar1(4)", "actCopyDrink"}, {"Toolbar1(8)", "actDeleteDrink"},
            {"Toolbar1(11)", "actMarkPrint"}, {"Toolbar1(13)", "actSearchWizard"}, {"Toolbar1(15)", "actPrintMarked"}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << row[0] << row[1];
    }

    void itemsRunTheirCommands()
    {
        QFETCH(QString, item);
        QFETCH(QString, command);
        StartedProgram p;
        frmMain &f = p.form();
        const QString menu = item.section(QLatin1Char('('), 0, 0);
        const int index = item.section(QLatin1Char('('), 1).chopped(1).toInt();
        const QHash<QString, void (frmMain::*)(int)> handlers{
            {"mnuFile", &frmMain::mnuFile_Click}, {"mnuEdit", &frmMain::mnuEdit_Click},
            {"mnuCurrentSet", &frmMain::mnuCurrentSet_Click}, {"mnuView", &frmMain::mnuView_Click},
            {"mnuSearch", &frmMain::mnuSearch_Click}, {"mnuSearchResults", &frmMain::mnuSearchResults_Click},
            {"mnuTools", &frmMain::mnuTools_Click}, {"mnuBarlist", &frmMain::mnuBarList_Click},
            {"mnuHelp", &frmMain::mnuHelp_Click}, {"mnuDrinkListPopup", &frmMain::mnuDrinkListPopup_Click},
            {"Toolbar1", &frmMain::Toolbar1_ButtonClick}};
        QAction *action = f.command(command);
        QAction *chosen = menu == QLatin1String("Toolbar1") ? f.toolbarButton(index) : f.findChild<QAction *>(item);
        QVERIFY(action && chosen && handlers.contains(menu));
        QVERIFY(menu != QLatin1String("Toolbar1") || chosen == action); // the button is the command itself
        QObject::disconnect(action, &QAction::triggered, &f, nullptr); // count the runs, do not run
        QSignalSpy runs(action, &QAction::triggered);
        action->setEnabled(false);
        QVERIFY(!chosen->isEnabled());
        (f.*handlers[menu])(index);
        QCOMPARE(runs.count(), 0); // a disabled command does not run
        action->setEnabled(true);
        QVERIFY(chosen->isEnabled());
        if (chosen != action)
            chosen->trigger();
        (f.*handlers[menu])(index);
        QCOMPARE(runs.count(), chosen != action ? 2 : 1);
    }

    void commandStatesFollowTheWindow()
    {
        auto enabled = [](frmMain &f) {
            QStringList on;
            for (const char *name : {"actEditDrink", "actDeleteDrink", "actCopyDrink", "actMarkTried", "actDeleteSet",
                                     "actPrevious", "actNext", "actAllDrinks", "actAddDrink"})
                if (f.command(QLatin1String(name))->isEnabled())
                    on << QLatin1String(name);
            return on;
        };
        StartedProgram p; // the first drink of all is shown
        QCOMPARE(enabled(p.form()), (QStringList{"actEditDrink", "actDeleteDrink", "actCopyDrink", "actMarkTried",
                                                 "actDeleteSet", "actNext", "actAllDrinks", "actAddDrink"}));
        QVERIFY(p.form().menuItem(QStringLiteral("mnuView"), 23)->isEnabled());
        // The key is the menu item's alone, though the toolbar shows the command too.
        p.form().show();
        QVERIFY(QTest::qWaitForWindowActive(&p.form()));
        QTest::keyClick(&p.form(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(p.form().selectedDrinkRow(), 1);
        QVERIFY(p.form().command(QStringLiteral("actPrevious"))->isEnabled());
        QVERIFY(p.form().menuItem(QStringLiteral("mnuView"), 20)->isEnabled());
        p.db().DbClose(); // no library: only what can say so
        QCOMPARE(enabled(p.form()), (QStringList{"actAllDrinks", "actAddDrink"}));
        QVERIFY(!p.form().menuItem(QStringLiteral("mnuEdit"), 10)->isEnabled());
    }

    void maintainerModeShowsTheUtilitiesItem_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("a");
        QTest::addColumn<bool>("b");
        QTest::newRow("first keyword in capitals") << "VEXO" << true << false;
        QTest::newRow("second inside a word") << "--xkympx" << false << true;
        QTest::newRow("both") << "vexo kymp" << true << true;
        QTest::newRow("neither") << "--verbose" << false << false;
    }

    void maintainerModeShowsTheUtilitiesItem()
    {
        QFETCH(QString, commandLine);
        QFETCH(bool, a);
        QFETCH(bool, b);
        StartedProgram::Options options;
        options.commandLine = commandLine;
        StartedProgram p(options);
        QCOMPARE(program().maintainerA, a);
        QCOMPARE(program().maintainerB, b);
        QCOMPARE(p.form().menuItem(QStringLiteral("mnuTools"), 499)->isVisible(), a || b);
        QCOMPARE(p.form().menuItem(QStringLiteral("mnuTools"), 500)->isVisible(), a || b);
    }

    void utilitiesItemSendsTheUserToTheWebPage()
    {
        StartedProgram p;
        triggerCommand(p.form(), QStringLiteral("actDatabaseUtilities"));
        QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral(
                     "Zestro database utilities are not there.  Please go to https://zestro.example.org/ and get the latest "
                     "version of Zestro or the utilities.")});
        QCOMPARE(p.boxes().messages().first().icon(), int(msgbox::vbExclamation));
        writeFile(QDir(p.folder()).filePath(QStringLiteral("utils.exe")), "x");
        p.boxes().clear();
        triggerCommand(p.form(), QStringLiteral("actDatabaseUtilities"));
        QVERIFY(p.boxes().messages().isEmpty());
    }

    void missingLibraryStartsEmptyWithAMessage()
    {
        StartedProgram::Options options;
        options.copyLibrary = false;
        StartedProgram p(options);
        const QString path = QDir(p.folder()).filePath(QStringLiteral("zestro.mdb"));
        QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral("The file '") + path
                                                + QStringLiteral("' cannot be found.  You can select another database by choosing File|Open.")});
        QCOMPARE(p.boxes().messages().first().icon(), int(msgbox::vbExclamation));
        QVERIFY(!p.db().isOpen());
        QVERIFY(p.listedNames().isEmpty());
        QVERIFY(p.form().isVisible());
        QCOMPARE(storedDatabasePath(), QString()); // nothing opened, nothing remembered
    }

    // They stay enabled without a library, so that they can say so.
    void commandsWithoutADatabaseSaySo_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("all drinks") << "actAllDrinks";
        QTest::newRow("tried") << "actSearchTried";
        QTest::newRow("search wizard") << "actSearchWizard";
        QTest::newRow("ingredients") << "actSearchByIngredients";
        QTest::newRow("recent search") << "actRecentSearch0";
        QTest::newRow("compact") << "actCompactDatabase";
        QTest::newRow("add drink") << "actAddDrink";
        QTest::newRow("edit ingredients") << "actEditIngredients";
        QTest::newRow("bar list export") << "actExportBarList";
    }

    void commandsWithoutADatabaseSaySo()
    {
        QFETCH(QString, command);
        StartedProgram::Options options;
        options.copyLibrary = false;
        StartedProgram p(options);
        ModalScript dialogs;
        setEndProgramHandler(throwOnEnd);
        p.boxes().clear();
        triggerCommand(p.form(), command);
        setEndProgramHandler(nullptr);
        QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral("No database is open.  You can select one by choosing File|Open.")});
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(p.form().isVisible());
    }

    void userLibraryIsACopyOfTheStarterThatRebuildsNeverTouch()
    {
        TempSettings settings;
        QTemporaryDir dir;
        setProgramFolder(dir.path());
        MsgBoxRecorder boxes;
        ModalScript dialogs; // the tip of the day
        const QString user = dir.filePath(QStringLiteral("zestro.mdb"));
        auto start = [&](const std::function<void(CDatabase &)> &check) {
            SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Database"), QString());
            frmMain form;
            Form_Load(form, QStringLiteral("kymp"));
            QCOMPARE(form.windowTitle(), QStringLiteral("Zestro - zestro.mdb"));
            QCOMPARE(storedDatabasePath(), user);
            check(*program().database);
            Form_Unload(form);
        };
        fixture::starterLibrary(dir.path(), QStringLiteral("zestro-starter.mdb"));
        start([](CDatabase &db) { db.database().Execute(QStringLiteral("UPDATE Ingredients SET Has = True")); });
        fixture::starterLibrary(dir.path(), QStringLiteral("zestro-starter.mdb")); // a rebuild
        start([](CDatabase &db) {
            QCOMPARE(db.database().scalar(QStringLiteral("SELECT count(*) FROM Ingredients WHERE Has = 0")), 0);
        });
        QVERIFY(boxes.messages().isEmpty());
        setProgramFolder(QString());
    }

    void startupGivesTheRealReasonForAFileThatIsNoDatabase_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::newRow("folder") << false;
        QTest::newRow("named pipe") << true;
    }

    void startupGivesTheRealReasonForAFileThatIsNoDatabase()
    {
        QFETCH(bool, pipe);
        TempSettings settings;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("drinks.mdb"));
        QVERIFY(pipe ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 : QDir().mkdir(path));
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Database"), path);
        MsgBoxRecorder boxes;
        frmMain form;
        Form_Load(form, QStringLiteral("kymp"));
        QCOMPARE(boxes.messages().size(), 1);
        QVERIFY2(boxes.texts().first().startsWith(QStringLiteral("Error 3051: Cannot open '") + path), qPrintable(boxes.texts().first()));
        QVERIFY(!program().database->isOpen());
        Form_Unload(form);
    }

    void damagedLibraryDoesNotLockTheUserOut()
    {
        TempSettings settings;
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("bad.mdb"));
        writeFile(bad, QByteArray("not a database\r\n").repeated(100));
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Database"), bad);
        setProgramFolder(dir.path());
        MsgBoxRecorder boxes;
        {
            frmMain form;
            Form_Load(form, QStringLiteral("kymp"));
            QCOMPARE(boxes.messages().size(), 1);
            QVERIFY2(boxes.texts().first().startsWith(QStringLiteral("Error 3343: ")), qPrintable(boxes.texts().first()));
            QVERIFY(form.isVisible());
            QVERIFY(!program().database->isOpen());

            // File, Open then reaches a good library.
            const QString good = fixture::starterLibrary(dir.path(), QStringLiteral("good.mdb"));
            FileDialogScript files({good});
            triggerCommand(form, QStringLiteral("actOpenDatabase"));
            QCOMPARE(form.windowTitle(), QStringLiteral("Zestro - good.mdb"));
            QCOMPARE(storedDatabasePath(), good);
            Form_Unload(form);
        }
        setProgramFolder(QString());
    }

    // A start cut short while a file was opening asks before that file is tried again; a stored
    // query that builds a huge value is stopped with a message, and the next start does not ask.
    void unfinishedStartAsksBeforeTheSameFile_data()
    {
        QTest::addColumn<bool>("unfinished");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("showAll");
        QTest::addColumn<QStringList>("message"); // pieces of the one message shown
        QTest::addColumn<bool>("opened");
        const QStringList asked{"did not finish while it was opening '", "zestro.mdb'", "Open it again?"};
        QTest::newRow("no") << true << int(msgbox::vbNo) << QString() << asked << false;
        QTest::newRow("yes") << true << int(msgbox::vbYes) << QString() << asked << true;
        QTest::newRow("huge value") << false << 0 << "SELECT Name || printf('%.*c', 40000000, 'x') || printf('%.*c', 40000000, 'x') AS Name FROM Drinks"
                                    << QStringList{"Error 3035: ", "larger than 64 MB"} << true;
        QTest::newRow("value too huge to build") << false << 0 << "SELECT printf('%.*c', 900000000, 'x') AS Name FROM Drinks"
                                                 << QStringList{"Error 3049: ", "without a name", "'ShowAllName'"} << true;
    }
    void unfinishedStartAsksBeforeTheSameFile()
    {
        QFETCH(bool, unfinished);
        QFETCH(int, answer);
        QFETCH(QString, showAll);
        QFETCH(QStringList, message);
        QFETCH(bool, opened);
        TempSettings settings;
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
        QTemporaryDir dir;
        const QString path = fixture::starterLibrary(dir.path());
        if (!showAll.isEmpty())
            engine::OpenDatabase(path)->Execute("UPDATE QueryDefs SET SQL = '" + showAll.replace("'", "''") + "' WHERE Name = 'ShowAllName'");
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Database"), path);
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("OpeningDatabase"), unfinished ? path : QString());
        setProgramFolder(dir.path());
        MsgBoxRecorder boxes;
        boxes.answerNext(answer);
        {
            frmMain form;
            Form_Load(form, QStringLiteral("kymp"));
            QCOMPARE(boxes.texts().size(), 1);
            for (const QString &piece : message)
                QVERIFY2(boxes.texts().first().contains(piece), qPrintable(boxes.texts().first()));
            QCOMPARE(program().database->isOpen(), opened);
            QCOMPARE(GetSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("OpeningDatabase")), QString());
            Form_Unload(form);
        }
        setProgramFolder(QString());
    }

    // Closing or ending the program while the tip of the day shows is no unfinished start.
    void tipShowsAfterTheStartIsNoted()
    {
        TempSettings settings;
        QTemporaryDir dir;
        SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Database"), fixture::starterLibrary(dir.path()));
        setProgramFolder(dir.path());
        QStringList duringTip;
        ModalScript script([&](QDialog &) {
            duringTip << GetSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("OpeningDatabase"));
            return int(QDialog::Rejected);
        });
        frmMain form;
        Form_Load(form, QStringLiteral("kymp"));
        QCOMPARE(script.shown, QStringList{QStringLiteral("frmTip")});
        QCOMPARE(duringTip, QStringList{QString()});
        Form_Unload(form);
        setProgramFolder(QString());
    }

    void fileOpenSwitchesToAnotherLibrary()
    {
        StartedProgram p;
        library::Library small;
        small.ingredients = {{QStringLiteral("Gin"), false, false}, {QStringLiteral("Ice"), true, false}};
        small.drinks = {{QStringLiteral("Gin on the Rocks"), {{QStringLiteral("2 Ounces"), QStringLiteral("Gin")}, {QString(), QStringLiteral("Ice")}},
                         QStringLiteral("Pour over ice."), QVariant(), false, false, false}};
        QTemporaryDir other;
        const QString path = fixture::customLibrary(other.path(), small, QStringLiteral("home bar.mdb"));
        FileDialogScript files({path});
        triggerCommand(p.form(), QStringLiteral("actOpenDatabase"));
        QCOMPARE(files.seen, QStringList{QStringLiteral("Zestro Database|*.mdb")});
        QCOMPARE(CommonDialog::qtFilter(files.seen.first()), QStringLiteral("Zestro Database (*.mdb)")); // as the dialog shows it
        QCOMPARE(p.form().windowTitle(), QStringLiteral("Zestro - home bar.mdb"));
        QCOMPARE(p.listedNames(), QStringList{QStringLiteral("Gin on the Rocks")});
        QCOMPARE(p.form().pnlDrinkName->text(), QStringLiteral("Gin on the Rocks"));
        QCOMPARE(storedDatabasePath(), path);
        QCOMPARE(menuCaption(p.form().menuItem(QStringLiteral("mnuSearchResults"), 0)), QStringLiteral("All Drinks: ()"));
    }

    void cancelledFileOpenChangesNothing()
    {
        StartedProgram p;
        p.db().Search(1, QStringLiteral("*sour*"), true);
        const QStringList before = p.listedNames();
        FileDialogScript files({std::nullopt});
        triggerCommand(p.form(), QStringLiteral("actOpenDatabase"));
        QCOMPARE(p.listedNames(), before);
        QVERIFY(p.db().isOpen());
        QCOMPARE(storedDatabasePath(), p.libraryPath());
        QVERIFY(p.boxes().messages().isEmpty());
    }

    void failedFileOpenGoesBackToTheLibraryThatWorked()
    {
        StartedProgram p;
        QTemporaryDir other;
        const QString bad = other.filePath(QStringLiteral("broken.mdb"));
        writeFile(bad, QByteArray("Gin\r\n").repeated(300));
        FileDialogScript files({bad});
        triggerCommand(p.form(), QStringLiteral("actOpenDatabase"));
        QCOMPARE(p.boxes().messages().size(), 1);
        QCOMPARE(p.boxes().messages().first().caption, QStringLiteral("Open error"));
        QVERIFY(p.boxes().texts().first().startsWith(QStringLiteral("Error 3343: ")));
        QVERIFY(p.db().isOpen());
        QCOMPARE(p.form().windowTitle(), QStringLiteral("Zestro - zestro.mdb"));
        QCOMPARE(storedDatabasePath(), p.libraryPath());
        QCOMPARE(p.listedNames().size(), int(fixture::starterContents().drinks.size()));
    }

    void fileOpenEndsTheProgramWhenNeitherFileOpens()
    {
        StartedProgram p;
        QTemporaryDir other;
        const QString bad = other.filePath(QStringLiteral("broken.mdb"));
        writeFile(bad, QByteArray("Gin\r\n").repeated(300));
        FileDialogScript files({bad});
        setEndProgramHandler(throwOnEnd);
        // Damage the working library on disk; the open handle keeps working until the switch.
        writeFile(p.libraryPath() + QStringLiteral(".tmp"), QByteArray("gone\r\n").repeated(300));
        QFile::remove(p.libraryPath());
        QFile::rename(p.libraryPath() + QStringLiteral(".tmp"), p.libraryPath());
        try {
            // Called bare: the command's guard would catch the test's stand-in for the program's end.
            openAnotherDatabase(p.form());
            QFAIL("the program went on with no database it could open");
        } catch (const EndProgramCalled &end) {
            QCOMPARE(end.code, 1);
        }
        setEndProgramHandler(nullptr);
        QCOMPARE(p.boxes().texts().last(), QStringLiteral("Error opening database.  Exiting program."));
        QCOMPARE(p.boxes().messages().last().caption, QStringLiteral("Open error"));
        QCOMPARE(p.boxes().messages().last().icon(), int(msgbox::vbExclamation));
    }

    void viewMenuOpensTheTipAndOptions()
    {
        StartedProgram p;
        ModalScript dialogs;
        for (const char *command : {"actTipOfTheDay", "actOptions", "actAbout"})
            triggerCommand(p.form(), QLatin1String(command));
        QCOMPARE(dialogs.shown, (QStringList{QStringLiteral("frmTip"), QStringLiteral("frmOptions"), QStringLiteral("frmAbout")}));
    }

    void tipsAtStartupFollowTheSetting_data()
    {
        QTest::addColumn<bool>("tips");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }

    void tipsAtStartupFollowTheSetting()
    {
        QFETCH(bool, tips);
        ModalScript dialogs([](QDialog &dialog) {
            // The main window is up, with a drink shown, before the tip appears.
            Q_ASSERT(program().mainForm && program().mainForm->isVisible());
            Q_UNUSED(dialog);
            return int(QDialog::Accepted);
        });
        StartedProgram::Options options;
        options.tips = tips;
        StartedProgram p(options);
        QCOMPARE(dialogs.shown, tips ? QStringList{QStringLiteral("frmTip")} : QStringList());
    }

    void helpCommandsOpenTheHelpFile()
    {
        StartedProgram p;
        QList<QPair<int, int>> calls;
        QString file;
        setHelpHandler([&](QWidget *, const QString &f, int command, int context) {
            file = f;
            calls.append({command, context});
        });
        triggerCommand(p.form(), QStringLiteral("actHelpTopics"));
        triggerCommand(p.form(), QStringLiteral("actSubmittingDrinks"));
        setHelpHandler({});
        QCOMPARE(file, QDir(p.folder()).filePath(QStringLiteral("zestro_help.html")));
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[0].first, 11);
        QCOMPARE(calls[1], qMakePair(1, 23));
    }

    // F1 in a modal dialog brings the help over the dialog, where the user can reach it, also when
    // the main window opened it before.
    void f1InADialogShowsHelpOverIt()
    {
        StartedProgram p;
        p.form().show();
        triggerCommand(p.form(), QStringLiteral("actHelpTopics"));
        QString helpShown;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->activateWindow(); // the shortcut is the active window's
            if (QTest::qWaitForWindowActive(dialog))
                QTest::keyClick(dialog->focusWidget(), Qt::Key_F1);
            if (const auto *help = dialog->findChild<QDialog *>(QStringLiteral("frmHelp")); help && help->isVisible())
                helpShown = help->windowTitle();
            dialog->reject();
        });
        triggerCommand(p.form(), QStringLiteral("actMyBar"));
        QCOMPARE(helpShown, QStringLiteral("Zestro Help"));
    }

    void exitUnloadsAndReleasesTheProgramObjects()
    {
        StartedProgram p;
        triggerCommand(p.form(), QStringLiteral("actExit"));
        QVERIFY(!program().database);
        QVERIFY(!program().settings);
        QVERIFY(!program().commonRoutines);
        QVERIFY(!program().mainForm);
        QVERIFY(!QFile::exists(p.libraryPath() + QStringLiteral(".lock")));
    }

    // Enter edits the selected drink; Shift+F10 and the menu key open the pop-up at its row.
    void keysOnTheDrinkList()
    {
        StartedProgram p;
        frmMain &f = p.form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.selectDrinkAt(2);
        ModalScript script; // the editor closes at once, cancelled
        QTest::keyClick(f.lvDrinks, Qt::Key_Return);
        QCOMPARE(script.shown, QStringList{QStringLiteral("frmAddEdit")});
        const QRect row = f.lvDrinks->visualRect(f.lvDrinks->model()->index(2, 0));
        for (const QKeyCombination key : {Qt::SHIFT | Qt::Key_F10, QKeyCombination(Qt::Key_Menu)}) {
            QTest::keyClick(f.lvDrinks, key.key(), key.keyboardModifiers());
            QTRY_VERIFY(f.drinkListPopup()->isVisible());
            QCOMPARE(f.drinkListPopup()->pos().y(), f.lvDrinks->viewport()->mapToGlobal(row.bottomLeft()).y());
            f.drinkListPopup()->close();
        }
    }

    // Every item of every menu, sub-menu and pop-up has an access key of its own in its menu.
    void everyMenuItemHasItsOwnAccessKey()
    {
        StartedProgram p;
        frmMain &f = p.form();
        f.setRecentSearches({QStringLiteral("Name: (Gin & Tonic)"), QStringLiteral("Name: (rum)"), QString()});
        QStringList faults;
        std::function<void(QWidget *)> walk = [&](QWidget *menu) { // the menu bar, a menu or a pop-up
            QList<QKeySequence> keys;
            for (QAction *item : menu->actions()) {
                if (item->menu())
                    walk(item->menu());
                const QKeySequence key = QKeySequence::mnemonic(item->text());
                if (!item->isSeparator() && (key.isEmpty() || keys.contains(key)))
                    faults << item->text();
                keys << key;
            }
        };
        walk(f.menuBar());
        walk(f.drinkListPopup());
        ModalScript script([&](QDialog &dialog) { walk(dialog.findChild<QMenu *>()); return 0; });
        triggerCommand(f, QStringLiteral("actEditIngredients"));
        QCOMPARE(script.shown, QStringList{QStringLiteral("frmIngredientMaintenence")});
        QCOMPARE(faults, QStringList());
        QCOMPARE(f.menuItem(QStringLiteral("mnuSearchResults"), 0)->text(), QStringLiteral("&Name: (Gin && Tonic)"));
    }

    // Place, size, maximized state and splitter come back at the next start after File, Exit, as
    // Qt's geometry; the recent searches and the drink shown do not: the start lists every drink
    // and shows the first.
    void windowIsRememberedBetweenRuns()
    {
        StartedProgram p;
        frmMain &f = p.form();
        f.move(40, 30);
        f.resize(700, 480);
        auto *splitter = f.findChild<QSplitter *>(QStringLiteral("splMain"));
        splitter->setSizes({150, 530});
        const QList<int> sizes = splitter->sizes();
        p.db().Search(1, QStringLiteral("*sour*"), true);
        f.selectDrinkAt(1);
        p.db().ShowDrinkInfo(p.selectedName());
        triggerCommand(f, QStringLiteral("actExit"));

        for (const bool maximized : {false, true}) {
            frmMain again;
            Form_Load(again, QStringLiteral("kymp"));
            QCOMPARE(again.selectedDrinkRow(), 0);
            QCOMPARE(again.pnlDrinkName->text(), again.drinkAt(0));
            QCOMPARE(again.drinkCount(), p.rows(QStringLiteral("SELECT ID FROM Drinks")).size());
            QCOMPARE(menuCaption(again.menuItem(QStringLiteral("mnuSearchResults"), 0)), QStringLiteral("All Drinks: ()"));
            QVERIFY(!again.menuItem(QStringLiteral("mnuSearchResults"), 1)->isVisible());
            QCOMPARE(again.isMaximized(), maximized);
            QCOMPARE(maximized ? again.normalGeometry().size() : again.size(), QSize(700, 480));
            if (!maximized) {
                QCOMPARE(again.pos(), QPoint(40, 30));
                QCOMPARE(again.findChild<QSplitter *>(QStringLiteral("splMain"))->sizes(), sizes);
                again.setWindowState(Qt::WindowMaximized);
            }
            again.close();
        }
        QCOMPARE(GetSetting(QStringLiteral("Zestro"), QStringLiteral("Recent Searches"), QStringLiteral("1")), QString());
        QCOMPARE(GetSetting(QStringLiteral("Zestro"), QStringLiteral("Window"), QStringLiteral("Shown Drink")), QString());
        // The detail panes were never dragged: they follow the drink shown at the next start too.
        QCOMPARE(GetSetting(QStringLiteral("Zestro"), QStringLiteral("Window"), QStringLiteral("Detail Splitter")), QString());
        QVERIFY(p.boxes().messages().isEmpty());
    }

    // A window that never showed (the start ended before it) leaves the kept place alone.
    void unshownWindowLeavesTheKeptPlace()
    {
        StartedProgram p;
        p.form().hide();
        SaveSettings(QStringLiteral("Zestro"), QStringLiteral("Window"), {{QStringLiteral("Geometry"), QStringLiteral("kept")}});
        Form_Unload(p.form());
        QCOMPARE(GetSetting(QStringLiteral("Zestro"), QStringLiteral("Window"), QStringLiteral("Geometry")), QStringLiteral("kept"));
    }

    // Splitter sizes edited by hand or kept for another layout are left out.
    void keptSplitterSizesAreChecked_data()
    {
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("used");
        QTest::newRow("two sizes") << "400,400" << true;
        QTest::newRow("a pane closed") << "0,680" << false;
        QTest::newRow("three sizes") << "150,530,10" << false;
        QTest::newRow("not numbers") << "wide,narrow" << false;
    }
    void keptSplitterSizesAreChecked()
    {
        QFETCH(QString, kept);
        QFETCH(bool, used);
        StartedProgram p;
        const QList<int> first = p.form().findChild<QSplitter *>(QStringLiteral("splMain"))->sizes();
        p.form().close();
        SaveSettings(QStringLiteral("Zestro"), QStringLiteral("Window"), {{QStringLiteral("Splitter"), kept}});
        frmMain again;
        Form_Load(again, QStringLiteral("kymp"));
        const QList<int> sizes = again.findChild<QSplitter *>(QStringLiteral("splMain"))->sizes();
        QCOMPARE(sizes.size(), 2);
        QVERIFY2(used ? qAbs(sizes[0] - sizes[1]) < 20 && sizes != first : sizes == first, qPrintable(QStringLiteral("%1,%2").arg(sizes[0]).arg(sizes[1])));
        again.close();
    }

    // A recent-search list and a drink kept by an earlier version are left alone; the place and size
    // it kept are read while there is no geometry yet, and only then.
    void earlierSettingsAreReadOnce()
    {
        StartedProgram p;
        const QString drink = p.form().drinkAt(2);
        p.form().close();
        SaveSettings(QStringLiteral("Zestro"), QStringLiteral("Recent Searches"), {{QStringLiteral("1"), QStringLiteral("Name: *sour*")}});
        SaveSettings(QStringLiteral("Zestro"), QStringLiteral("Window"),
                     {{QStringLiteral("Geometry"), QString()}, {QStringLiteral("Position"), QStringLiteral("60,50")},
                      {QStringLiteral("Size"), QStringLiteral("720,500")}, {QStringLiteral("Shown Drink"), drink}});
        for (const QPoint expected : {QPoint(60, 50), QPoint(70, 40)}) {
            frmMain again;
            Form_Load(again, QStringLiteral("kymp"));
            QCOMPARE(QRect(again.pos(), again.size()), QRect(expected, QSize(720, 500)));
            QCOMPARE(again.pnlDrinkName->text(), again.drinkAt(0));
            QCOMPARE(menuCaption(again.menuItem(QStringLiteral("mnuSearchResults"), 0)), QStringLiteral("All Drinks: ()"));
            again.move(70, 40);
            again.close();
            SaveSettings(QStringLiteral("Zestro"), QStringLiteral("Window"), {{QStringLiteral("Position"), QStringLiteral("5,5")}});
        }
        SaveSettings(QStringLiteral("Zestro"), QStringLiteral("Window"), {{QStringLiteral("Geometry"), QString()}, {QStringLiteral("Maximized"), QStringLiteral("true")}});
        frmMain maximized;
        Form_Load(maximized, QStringLiteral("kymp"));
        QVERIFY(maximized.isMaximized());
        maximized.close();
    }

    // The window, frame and all, fits the free area of its screen: at a first start, and at a size
    // kept larger than the screen.
    void windowFitsTheScreen_data()
    {
        QTest::addColumn<QString>("position"); // as an earlier version kept them; "bottom" is 100 above the screen's bottom
        QTest::addColumn<QString>("size");
        QTest::newRow("first start") << "0,0" << "";
        QTest::newRow("kept larger than the screen") << "0,0" << "3000,2000";
        QTest::newRow("kept off every screen") << "20000,20000" << "700,480";
        QTest::newRow("kept reaching below the screen") << "0,bottom" << "700,480";
    }
    void windowFitsTheScreen()
    {
        QFETCH(QString, position);
        QFETCH(QString, size);
        StartedProgram p;
        position.replace(QStringLiteral("bottom"), QString::number(p.form().screen()->availableGeometry().bottom() - 100));
        p.form().close();
        SaveSettings(QStringLiteral("Zestro"), QStringLiteral("Window"),
                     {{QStringLiteral("Geometry"), QString()}, {QStringLiteral("Position"), position}, {QStringLiteral("Size"), size}});
        frmMain again;
        Form_Load(again, QStringLiteral("kymp"));
        QVERIFY(again.screen()->availableGeometry().contains(again.frameGeometry()));
        again.close(); // unloads the program objects the start made
    }

    void windowsLeftOpenAtShutdownAreNamed()
    {
        StartedProgram p;
        auto *stray = new QDialog;
        stray->setObjectName(QStringLiteral("frmStray"));
        stray->setAttribute(Qt::WA_DeleteOnClose);
        stray->show();
        triggerCommand(p.form(), QStringLiteral("actHelpTopics")); // our own help window closes without a word
        p.boxes().clear();
        Form_Unload(p.form());
        QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral(
                     "Zestro could not unload the following forms.  Please let Dravo know at dravo@zestro.example.org.  "
                     "Thanks!\n\nfrmStray\n")});
        QVERIFY(!stray->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
