// The search wizard on a started program, opened through the Search menu and worked through its
// buttons and keys: which search each choice runs with which text (read back from the recent-search
// caption, which shows the type's label and the exact text), the bar list and its slack, the pages a
// shortcut opens, the ingredient page's limits, and that every way out closes the wizard.

#include "common/CZestro30.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "search/frmSearchWizard.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

namespace {

const QString kNoMatch = QStringLiteral("No drinks matched your criteria.");
const QString kSlackMessage = QStringLiteral("Please enter a whole number of ingredients, for example 1.");

struct WizardRun {
    int finished = 0; // times the wizard was closed
    int result = -1;
};

// Opens the wizard with the Search menu item and hands it to `drive`, shown offscreen so that the
// Activate step runs as it does on screen.
WizardRun runWizard(StartedProgram &p, const QString &command, const std::function<void(frmSearchWizard &)> &drive)
{
    WizardRun run;
    ModalScript script([&](QDialog &dialog) {
        auto &wizard = static_cast<frmSearchWizard &>(dialog);
        QObject::connect(&wizard, &QDialog::finished, [&run](int result) {
            ++run.finished;
            run.result = result;
        });
        wizard.show();
        drive(wizard);
        return wizard.result();
    });
    triggerCommand(p.form(), command);
    return run;
}

QString recentSearch(StartedProgram &p)
{
    return menuCaption(p.form().menuItem(QStringLiteral("mnuSearchResults"), 0));
}

QStringList entries(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Types into the ingredient drop-down as a user would, so the type-ahead runs on every key. Keys go
// to the drop-down, which has the focus and passes them on to its text box.
void typeIngredient(frmSearchWizard &w, const QString &text, bool enter)
{
    QTest::keyClicks(w.cmbIngredients, text);
    if (enter)
        QTest::keyClick(w.cmbIngredients, Qt::Key_Return);
}

void doubleClick(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
}

void markMartini(StartedProgram &p, const char *field)
{
    p.db().database().Execute(QStringLiteral("UPDATE Drinks SET %1 = True WHERE Name = \"Martini\"").arg(QLatin1String(field)), 128);
}

} // namespace

class TestSearchWizard : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        setClock({});
    }

    void opensWithCaptionsFromTheStringTable()
    {
        StartedProgram p;
        runWizard(p, QStringLiteral("actSearchWizard"), [](frmSearchWizard &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Search Wizard"));
            QStringList options;
            for (QRadioButton *o : w.optSearchType)
                options << o->text();
            QCOMPARE(options, (QStringList{"Name", "Ingredients", "Directions", "Comments", "Drinks you have tried",
                                           "Drinks you have not tried", "Drinks to be printed", "User-submitted drinks",
                                           "Drinks I can make (bar list)"}));
            QCOMPARE((QStringList{w.cmdBack->text(), w.cmdNext->text(), w.cmdFinish->text(), w.cmdCancel->text()}),
                     (QStringList{"< Back", "Next >", "&Finish", "Cancel"}));
            QVERIFY(w.optNameType[0]->isChecked());
            QVERIFY(!w.cmdAdd->isEnabled() && !w.cmdRemove->isEnabled() && !w.chkSaveSlack->isChecked());
            QCOMPARE(w.txtSlack->text(), QStringLiteral("1"));
            w.cmdCancel->click();
        });
    }

    void opensAtThePageAsked_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("option");
        QTest::newRow("wizard") << "actSearchWizard" << 0 << 0;
        QTest::newRow("drink name") << "actSearchByName" << 1 << 0;
        QTest::newRow("ingredients") << "actSearchByIngredients" << 2 << 1;
        QTest::newRow("directions") << "actSearchByDirections" << 3 << 2;
        QTest::newRow("comments") << "actSearchByComments" << 3 << 3;
        QTest::newRow("bar list") << "actSearchCanMake" << 4 << 8;
    }

    void opensAtThePageAsked()
    {
        QFETCH(QString, command);
        QFETCH(int, page);
        QFETCH(int, option);
        StartedProgram p;
        const WizardRun run = runWizard(p, command, [&](frmSearchWizard &w) {
            QCOMPARE(w.pages->currentIndex(), page);
            QVERIFY(w.optSearchType[size_t(option)]->isChecked());
            const bool shortcut = page != 0;
            QCOMPARE(w.cmdNext->isEnabled(), !shortcut);
            QCOMPARE(w.cmdBack->isEnabled(), shortcut);
            QCOMPARE(w.cmdFinish->isEnabled(), shortcut);
            QCOMPARE(w.cmdFinish->isDefault(), shortcut); // Enter: Next on the first page, Finish after it
            if (!shortcut) {
                QTest::keyClick(w.optSearchType[0], Qt::Key_Return);
                QVERIFY(w.pages->currentIndex() == 1 && w.cmdFinish->isDefault());
            }
            if (option == 1) { // the drop-down holds every ingredient, with nothing typed yet
                QCOMPARE(w.cmbIngredients->count(), int(fixture::starterContents().ingredients.size()));
                QCOMPARE(w.cmbIngredients->currentText(), QString());
            }
            w.cmdCancel->click();
        });
        QCOMPARE(run.finished, 1);
        QCOMPARE(run.result, int(QDialog::Rejected));
    }

    void finishRunsTheChosenSearch_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("nameType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("recent");
        QTest::newRow("exact name") << 0 << 0 << "Martini" << "Name: (Martini)";
        QTest::newRow("exact name, hidden characters")
            << 0 << 0 << QStringLiteral("\uFEFFMar\u200Bti") + QChar(0) + QStringLiteral("ni\u00AD\u202E") << "Name: (Martini)";
        QTest::newRow("begins with") << 0 << 1 << "t" << "Name: (t*)";
        QTest::newRow("ends with") << 0 << 2 << "t" << "Name: (*t)";
        QTest::newRow("contains") << 0 << 3 << "t" << "Name: (*t*)";
        QTest::newRow("ingredients") << 1 << 0 << "Gin,Tonic water" << "Ingredients: (Gin,Tonic water)";
        QTest::newRow("directions") << 2 << 0 << "muddle" << "Directions: (*muddle*)";
        QTest::newRow("directions, hidden characters") << 2 << 0 << "mud\u2060dle\x1b" << "Directions: (*muddle*)";
        QTest::newRow("comments") << 3 << 0 << "classic" << "Comments: (*classic*)";
        QTest::newRow("tried") << 4 << 0 << "" << "Tried Drinks: ()";
        QTest::newRow("not tried") << 5 << 0 << "" << "Untried Drinks: ()";
        QTest::newRow("to be printed") << 6 << 0 << "" << "Print: ()";
        QTest::newRow("user-submitted") << 7 << 0 << "" << "Submitted: ()";
    }

    void finishRunsTheChosenSearch()
    {
        QFETCH(int, option);
        QFETCH(int, nameType);
        QFETCH(QString, text);
        QFETCH(QString, recent);
        StartedProgram p;
        markMartini(p, "Tried");
        markMartini(p, "Print");
        const WizardRun run = runWizard(p, QStringLiteral("actSearchWizard"), [&](frmSearchWizard &w) {
            w.optSearchType[size_t(option)]->click();
            QCOMPARE(w.cmdNext->isEnabled(), option <= 3);
            if (w.cmdNext->isEnabled())
                w.cmdNext->click();
            if (option == 0) {
                w.optNameType[size_t(nameType)]->click();
                w.txtDrinkName->setText(text);
            } else if (option == 1) {
                for (const QString &name : text.split(QLatin1Char(','))) {
                    typeIngredient(w, name, false);
                    w.cmdAdd->click();
                }
                QCOMPARE(entries(w.lstIngredients), text.split(QLatin1Char(',')));
            } else if (option <= 3) {
                w.txtDirections->setText(text);
            }
            w.cmdFinish->click();
        });
        QCOMPARE(p.boxes().texts(), QStringList());
        QCOMPARE(recentSearch(p), recent);
        QCOMPARE(run.finished, 1); // the search closed the wizard
        if (option == 0 && nameType == 0)
            QCOMPARE(p.listedNames(), QStringList{QStringLiteral("Martini")});
    }

    void enterInTheIngredientBox_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("recent"); // empty: the search found nothing
        QTest::newRow("known names") << QStringList{"gin", "tonic w"} << QStringList{"Gin", "Tonic water"}
                                     << "Ingredients: (Gin,Tonic water)";
        QTest::newRow("soft hyphens typed") << QStringList{"gin\u00ad", "to\u00adnic w"} << QStringList{"Gin", "Tonic water"}
                                            << "Ingredients: (Gin,Tonic water)";
        QTest::newRow("a name that is no ingredient") << QStringList{"gin", "Xylo syrup"}
                                                      << QStringList{"Gin", "Xylo syrup"} << "";
    }

    void enterInTheIngredientBox()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, chosen);
        QFETCH(QString, recent);
        StartedProgram p;
        const QString before = recentSearch(p);
        const WizardRun run = runWizard(p, QStringLiteral("actSearchByIngredients"), [&](frmSearchWizard &w) {
            for (const QString &name : typed)
                typeIngredient(w, name, true); // text in the box: Enter adds it
            QCOMPARE(entries(w.lstIngredients), chosen);
            QVERIFY(w.isVisible()); // nothing searched yet
            QCOMPARE(w.cmbIngredients->findText(QStringLiteral("Gin")), -1); // a chosen item leaves the drop-down
            typeIngredient(w, QString(), true); // empty box: Enter runs the search
        });
        QCOMPARE(run.finished, 1);
        if (recent.isEmpty()) {
            QCOMPARE(p.boxes().texts(), QStringList{kNoMatch});
            QCOMPARE(recentSearch(p), before);
        } else {
            QCOMPARE(p.boxes().texts(), QStringList());
            QCOMPARE(recentSearch(p), recent);
            QCOMPARE(p.listedNames(), QStringList{QStringLiteral("Gin and Tonic")});
        }
    }

    void twentyIngredientsAtMost()
    {
        StartedProgram p;
        runWizard(p, QStringLiteral("actSearchByIngredients"), [&](frmSearchWizard &w) {
            for (int i = 0; i < 20; ++i) {
                typeIngredient(w, w.cmbIngredients->itemText(0).left(1), false);
                w.cmdAdd->click();
            }
            QCOMPARE(w.lstIngredients->count(), 20);
            QCOMPARE(p.boxes().texts(), QStringList());
            const QString next = w.cmbIngredients->itemText(0);
            typeIngredient(w, next.left(1), true);
            QCOMPARE(p.boxes().texts(), QStringList{QStringLiteral(
                "Take it easy, champ!  Zestro will only search for 20 ingredients at a time.  If that is a problem, let me know and I'll up it.")});
            QCOMPARE(p.boxes().messages().first().icon(), int(msgbox::vbExclamation));
            QCOMPARE(w.lstIngredients->count(), 20);
            QCOMPARE(w.cmbIngredients->currentText(), next); // nothing changed
            QCOMPARE(w.cmbIngredients->itemText(0), next);
            w.cmdCancel->click();
        });
    }

    void removeGivesTheNameBack()
    {
        StartedProgram p;
        runWizard(p, QStringLiteral("actSearchByIngredients"), [&](frmSearchWizard &w) {
            const int ginAt = w.cmbIngredients->findText(QStringLiteral("Gin"));
            for (const char *name : {"gin", "lime j", "tomato"}) {
                typeIngredient(w, QLatin1String(name), false);
                w.cmdAdd->click();
            }
            QCOMPARE(entries(w.lstIngredients), (QStringList{"Gin", "Lime juice", "Tomato juice"}));
            QListWidgetItem *gin = w.lstIngredients->item(0);
            QTest::mouseClick(w.lstIngredients->viewport(), Qt::LeftButton, {}, w.lstIngredients->visualItemRect(gin).center());
            QVERIFY(w.cmdRemove->isEnabled());
            QVERIFY(!w.cmdAdd->isEnabled());
            w.cmdRemove->click();
            QVERIFY(!w.cmdRemove->isEnabled());
            QCOMPARE(w.cmbIngredients->findText(QStringLiteral("Gin")), ginAt); // back in its place
            QCOMPARE(w.cmbIngredients->currentText(), QString());
            doubleClick(w.lstIngredients->viewport(), w.lstIngredients->visualItemRect(w.lstIngredients->item(1)).center());
            QCOMPARE(entries(w.lstIngredients), QStringList{QStringLiteral("Lime juice")});
            w.cmdCancel->click();
        });
    }

    void backThenFinishRunsWhatThePageHolds_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("recent");
        QTest::newRow("name, contains") << 0 << "Martini" << "Name: (*Martini*)";
        QTest::newRow("directions") << 2 << "muddle" << "Directions: (*muddle*)";
    }

    void backThenFinishRunsWhatThePageHolds()
    {
        QFETCH(int, option);
        QFETCH(QString, text);
        QFETCH(QString, recent);
        StartedProgram p;
        runWizard(p, QStringLiteral("actSearchWizard"), [&](frmSearchWizard &w) {
            w.optSearchType[size_t(option)]->click();
            w.cmdNext->click();
            w.optNameType[3]->click();
            (option == 0 ? w.txtDrinkName : w.txtDirections)->setText(text);
            w.cmdBack->click();
            QCOMPARE(w.pages->currentWidget(), w.pctMain);
            QVERIFY(w.cmdNext->isEnabled() && w.cmdFinish->isEnabled() && !w.cmdBack->isEnabled());
            w.cmdFinish->click();
        });
        QCOMPARE(recentSearch(p), recent);
    }

    void doubleClickingAnOption_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("page");     // the page it opens, or -1
        QTest::addColumn<QString>("recent"); // the search it runs
        QTest::newRow("ingredients: next page") << 1 << 2 << "";
        QTest::newRow("bar list: next page") << 8 << 4 << "";
        QTest::newRow("user-submitted: finish") << 7 << -1 << "Submitted: ()";
    }

    void doubleClickingAnOption()
    {
        QFETCH(int, option);
        QFETCH(int, page);
        QFETCH(QString, recent);
        StartedProgram p;
        const QString before = recentSearch(p);
        const WizardRun run = runWizard(p, QStringLiteral("actSearchWizard"), [&](frmSearchWizard &w) {
            QRadioButton *target = w.optSearchType[size_t(option)];
            doubleClick(target, QPoint(8, target->height() / 2));
            if (page >= 0) {
                QCOMPARE(w.pages->currentIndex(), page);
                QVERIFY(w.cmdBack->isEnabled() && !w.cmdNext->isEnabled());
                w.cmdCancel->click();
            }
        });
        QCOMPARE(run.finished, 1);
        QCOMPARE(recentSearch(p), recent.isEmpty() ? before : recent);
    }

    void cancelAndEscapeRunNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel button") << "actSearchByName" << false;
        QTest::newRow("escape in the name box") << "actSearchByName" << true;
        QTest::newRow("escape in the ingredient box") << "actSearchByIngredients" << true;
    }

    void cancelAndEscapeRunNothing()
    {
        QFETCH(QString, command);
        QFETCH(bool, escape);
        StartedProgram p;
        const QString status = p.form().statusText();
        const WizardRun run = runWizard(p, command, [&](frmSearchWizard &w) {
            QWidget *box = command == QLatin1String("actSearchByIngredients") ? static_cast<QWidget *>(w.cmbIngredients) : w.txtDrinkName;
            QTest::keyClicks(box, QStringLiteral("gin"));
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                w.cmdCancel->click();
        });
        QCOMPARE(run.finished, 1);
        QCOMPARE(run.result, int(QDialog::Rejected));
        QCOMPARE(p.form().statusText(), status);
        QCOMPARE(p.boxes().texts(), QStringList());
    }

    void barListRunsWithTheTypedSlack()
    {
        StartedProgram p;
        p.db().database().Execute(QStringLiteral("UPDATE Ingredients SET Has = True WHERE Ingredient IN "
                                                 "(\"Gin\", \"Vodka\", \"Lime juice\", \"Lime\", \"Tonic water\", \"Dry vermouth\", \"Olive\")"),
                                  128);
        setClock([] { return 100.0; }); // BarList reports "0", a Search ".000"
        QMap<QString, QStringList> found;
        for (const QString &slack : {QStringLiteral("0"), QStringLiteral(" 2 ")}) {
            p.form().setStatusText(QString());
            const WizardRun run = runWizard(p, QStringLiteral("actSearchCanMake"), [&](frmSearchWizard &w) {
                w.txtSlack->setValue(slack.trimmed().toInt());
                w.cmdFinish->click();
            });
            QCOMPARE(run.finished, 1);
            QCOMPARE(p.form().statusText(), QStringLiteral("Last search took 0 seconds."));
            found[slack] = p.listedNames();
            p.db().BarList(qint16(slack.trimmed().toShort()));
            QCOMPARE(found[slack], p.listedNames());
        }
        QVERIFY(found[QStringLiteral("0")].size() < found[QStringLiteral(" 2 ")].size());
        QCOMPARE(CZestro30().BarListSlack().toString(), QStringLiteral("1")); // not ticked: not saved

    }

    // The hint stands in the status bar; "Sorry, no drinks found." stands alone.
    void emptyBarListSaysHowToFillIt_data()
    {
        QTest::addColumn<QString>("slack");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("before"); // in the status bar, before the hint
        QTest::newRow("nothing found") << "0" << QStringList{QStringLiteral("Sorry, no drinks found.")} << "";
        QTest::newRow("drinks of common ones") << "3" << QStringList() << "Last search took 0 seconds.  ";
    }

    void emptyBarListSaysHowToFillIt()
    {
        QFETCH(QString, slack);
        StartedProgram p;
        QFETCH(QString, before);
        p.exec(QStringLiteral("UPDATE Ingredients SET Has = 0"));
        setClock([] { return 100.0; });
        runWizard(p, QStringLiteral("actSearchCanMake"), [&](frmSearchWizard &w) {
            w.txtSlack->setValue(slack.toInt());
            w.cmdFinish->click();
        });
        setClock({});
        QTEST(p.boxes().texts(), "messages");
        QCOMPARE(p.form().statusText(), before + QStringLiteral("Your bar list is empty, so only common ingredients such as water or ice "
                                                                "count as at hand.  To fill it, tick the ingredients you have in Tools, "
                                                                "Bar List, My Bar..."));
    }

    void tickedSlackBecomesTheDefault()
    {
        StartedProgram p;
        for (const char *slack : {"2", "3"}) {
            p.form().setStatusText(QString());
            runWizard(p, QStringLiteral("actSearchCanMake"), [&](frmSearchWizard &w) {
                w.txtSlack->setValue(QByteArray(slack).toInt());
                w.chkSaveSlack->setChecked(QByteArray(slack) == "2");
                QTest::keyClick(w.txtSlack, Qt::Key_Return); // Enter finishes, as in the other text boxes
            });
            QVERIFY(p.form().statusText().startsWith(QStringLiteral("Last search took ")));
        }
        runWizard(p, QStringLiteral("actSearchWizard"), [](frmSearchWizard &w) {
            QCOMPARE(w.txtSlack->text(), QStringLiteral("2"));
            w.cmdCancel->click();
        });
    }

    // A default kept in the settings is used while it lies within the box's range.
    void keptSlackWithinItsRange_data()
    {
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << "0" << "0";
        QTest::newRow("the most") << "20" << "20";
        QTest::newRow("one more") << "21" << "1";
        QTest::newRow("negative") << "-1" << "1";
    }
    void keptSlackWithinItsRange()
    {
        QFETCH(QString, kept);
        QFETCH(QString, shown);
        StartedProgram p;
        CZestro30().setBarListSlack(kept);
        runWizard(p, QStringLiteral("actSearchWizard"), [&](frmSearchWizard &w) {
            QCOMPARE(w.txtSlack->text(), shown);
            w.cmdCancel->click();
        });
    }

    void slackMustBeAWholeNumber_data()
    {
        QTest::addColumn<QString>("slack");
        QTest::newRow("letters") << "two";
        QTest::newRow("minus") << "-";
    }

    void slackMustBeAWholeNumber()
    {
        QFETCH(QString, slack);
        StartedProgram p;
        const QStringList listed = p.listedNames();
        const QString status = p.form().statusText();
        const WizardRun run = runWizard(p, QStringLiteral("actSearchCanMake"), [&](frmSearchWizard &w) {
            w.txtSlack->clear();
            QTest::keyClicks(w.txtSlack, slack); // refused: the box stays empty
            w.chkSaveSlack->setChecked(true);
            w.cmdFinish->click();
            QCOMPARE(p.boxes().texts(), QStringList{kSlackMessage});
            QCOMPARE(p.boxes().messages().first().icon(), int(msgbox::vbExclamation));
            QVERIFY(w.isVisible());
            QCOMPARE(w.pages->currentWidget(), w.pctBarlist);
            QVERIFY(w.cmdBack->isEnabled() && w.cmdFinish->isEnabled() && !w.cmdNext->isEnabled());
            QCOMPARE(CZestro30().BarListSlack().toString(), QStringLiteral("1"));
            QCOMPARE(p.form().statusText(), status);
            QCOMPARE(p.listedNames(), listed);
            w.txtSlack->setValue(1); // put right, it runs
            w.cmdFinish->click();
        });
        QCOMPARE(run.finished, 1);
        // It ran: the time it took, or (nothing found on the empty bar list) the hint how to fill it.
        QVERIFY(p.form().statusText().startsWith(QStringLiteral("Last search took "))
                || p.form().statusText().startsWith(QStringLiteral("Your bar list is empty")));
        QCOMPARE(CZestro30().BarListSlack().toString(), QStringLiteral("1"));
    }

    void slackBoxKeepsToItsRange_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("stored, odd") << "2 or 3" << "" << "1";
        QTest::newRow("stored, too many") << " 21 " << "" << "1";
        QTest::newRow("typed, negative") << "" << "-1" << "1";
    }

    void slackBoxKeepsToItsRange()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        StartedProgram p;
        CZestro30().setBarListSlack(stored);
        runWizard(p, QStringLiteral("actSearchCanMake"), [&](frmSearchWizard &w) {
            w.txtSlack->selectAll();
            QTest::keyClicks(w.txtSlack, typed);
            QTEST(w.txtSlack->text(), "shown");
            w.cmdCancel->click();
        });
    }

    void aModalRunEndsWithItsSearch()
    {
        // The real modal loop, not the test's script: Finish hides the wizard and the search's end
        // closes it, so the menu command returns.
        StartedProgram p;
        QTimer::singleShot(0, [] {
            if (auto *w = qobject_cast<frmSearchWizard *>(QApplication::activeModalWidget())) {
                w->txtDrinkName->setText(QStringLiteral("Martini"));
                w->cmdFinish->click();
            }
        });
        QTimer safetyNet; // a wizard left open fails the test instead of hanging it
        safetyNet.setSingleShot(true);
        connect(&safetyNet, &QTimer::timeout, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        safetyNet.start(5000);
        triggerCommand(p.form(), QStringLiteral("actSearchByName"));
        QCOMPARE(recentSearch(p), QStringLiteral("Name: (Martini)"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void anEngineErrorEndsTheSearchWithAMessage()
    {
        StartedProgram p;
        p.db().database().Execute(QStringLiteral("DELETE FROM QueryDefs WHERE Name = \"NameSearchByName\""), 128);
        const WizardRun run = runWizard(p, QStringLiteral("actSearchByName"), [](frmSearchWizard &w) {
            w.txtDrinkName->setText(QStringLiteral("Martini"));
            QTest::keyClick(w.txtDrinkName, Qt::Key_Return);
        });
        QCOMPARE(run.finished, 1);
        QCOMPARE(p.boxes().texts().size(), 1);
        QVERIFY2(p.boxes().texts().first().startsWith(QStringLiteral("Error ")), qPrintable(p.boxes().texts().first()));
    }

};

QTEST_MAIN(TestSearchWizard)
#include "test_search_wizard.moc"
