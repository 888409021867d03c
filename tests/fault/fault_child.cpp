// zestro-fault-child FILE COMMAND [ARG]: starts the program offscreen on FILE (settings beside it),
// runs one command through the handler a user's click reaches, and prints each message box as
// "MSG <text>", each dialog shown as "DIALOG <name>", and at the end "LIST <drinks listed>" and
// "SHOWN <drink shown>", "CAPTION <window title>" and "NOTICE <read-only notice, or none>". Message boxes are answered Yes or OK, the file dialog with ARG (Save and
// the printer only for `export` and `print`), and the command's dialogs are driven below. `hold`
// keeps the library open until stdin closes, for the second-copy cases; `show` only shows the first
// drink.

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "core/settings_access.h"
#include "edit/frmAddEdit.h"
#include "edit/frmIngredientMaintenence.h"
#include "edit/frmIngredientsCombine.h"
#include "output/frmExportDrinks.h"
#include "output/frmPrintTagCurrentSet.h"
#include "search/frmMyBar.h"
#include "search/frmSearchWizard.h"
#include "store/CDatabase.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTreeWidget>
#include <cstdio>
#include <iostream>
#include <utility>

namespace {
void say(QString line)
{
    std::printf("%s\n", qPrintable(line.replace('\n', "\\n")));
    std::fflush(stdout); // a kill must not lose what was said
}

void addLine(frmAddEdit &d, const QString &amount, const QString &ingredient)
{
    d.txtAmount->setText(amount);
    d.txtAmount_LostFocus();
    d.cmbIngredient->setEditText(ingredient);
    d.cmdAdd_Click();
}

void selectIngredients(frmIngredientMaintenence &m, const QStringList &names)
{
    m.lvIngredients->clearSelection();
    for (const QString &name : names)
        if (QTreeWidgetItem *item = m.lvIngredients->findItems(name, Qt::MatchExactly).value(0))
            item->setSelected(true);
    m.lvIngredients_MouseUp(Qt::LeftButton, {});
}

// Each command's dialogs, as a user would answer them.
int drive(const QString &command, QDialog &dialog)
{
    if (auto *d = qobject_cast<frmAddEdit *>(&dialog)) {
        static bool shownBefore = false; // back after a failed save: the user gives up
        if (std::exchange(shownBefore, true)) {
            say("EDITOR BACK " + d->txtDrinkName->text());
            d->cmdCancel_Click();
            return dialog.result();
        }
        if (command == "add") {
            d->txtDrinkName->setText("Fault Fizz");
            addLine(*d, "2", "Gin");
            addLine(*d, QString(), "Lime");
        } else {
            d->lstIngredients->setCurrentRow(0);
            d->cmdDelete_Click();
            addLine(*d, "1", "Sloe gin");
        }
        d->cmdDone_Click();
        if (dialog.result() != QDialog::Accepted)
            d->cmdCancel_Click();
    } else if (auto *m = qobject_cast<frmIngredientMaintenence *>(&dialog)) {
        const bool combine = command == "combine";
        selectIngredients(*m, combine ? QStringList{"Gin", "Sloe gin"} : QStringList{"Amaro"});
        (combine ? m->cmdCombine : m->cmdDelete)->click();
    } else if (auto *c = qobject_cast<frmIngredientsCombine *>(&dialog)) {
        c->lstDestination->item(0)->setSelected(true);
        c->cmdDoIt->click();
    } else if (auto *t = qobject_cast<frmPrintTagCurrentSet *>(&dialog)) {
        t->optOption[1]->setChecked(true); // "Make these the only drinks."
        t->cmdButtons[0]->click();
    } else if (auto *b = qobject_cast<frmMyBar *>(&dialog)) {
        QAbstractItemModel *model = b->lstIngredients->model(); // the first five ticks turned over
        for (int row = 0, turned = 0; row < model->rowCount() && turned < 5; ++row) {
            const QModelIndex at = model->index(row, 0);
            turned += model->setData(at, at.data(Qt::CheckStateRole).toInt() == Qt::Checked ? Qt::Unchecked : Qt::Checked,
                                     Qt::CheckStateRole);
        }
        b->cmdOK->click();
    } else if (auto *w = qobject_cast<frmSearchWizard *>(&dialog)) {
        w->show(); // at the page the command asked for
        w->txtDrinkName->setText("*Sour"); // the bar-list page keeps its slack
        w->cmdFinish->click();
    } else if (auto *e = qobject_cast<frmExportDrinks *>(&dialog)) {
        e->cmdButtons[0]->click(); // OK: the current set
    } else {
        return QDialog::Rejected; // tips, import conflicts: cancelled
    }
    return dialog.result();
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: zestro-fault-child FILE COMMAND [ARG]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]), command = QString::fromLatin1(argv[2]);
    const QString arg = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const QString folder = QFileInfo(file).absolutePath();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder + "/settings");
    setProgramFolder(folder);
    const auto option = [](const char *key, const QString &value) {
        SaveSetting(kAppTitle, "Options", QString::fromLatin1(key), value);
    };
    option("Database", file);
    option("Show Tips at Startup", "0");
    option("Random Drink", "0");
    option("ShowSearching", "False");
    setMsgBoxHandler([](const QString &text, int flags, const QString &) {
        say("MSG " + text);
        return int((flags & msgbox::ButtonsMask) == msgbox::vbYesNo ? msgbox::vbYes : msgbox::vbOK);
    });
    setFileDialogHandler([arg, command](FileDialogKind kind, CommonDialog &) {
        const bool writes = command == "export" || command == "print";
        return kind == FileDialogKind::Open || writes ? std::optional<QString>(arg) : std::nullopt;
    });
    setShowModalHandler([command](QDialog &dialog) {
        say("DIALOG " + dialog.objectName());
        return drive(command, dialog);
    });

    frmMain form;
    Form_Load(form, "kymp");
    if (command.contains("Set") && programDatabase().isOpen())
        programDatabase().Search(1, "*Sour", true); // a current set of several drinks
    // The command each case's user chooses; "list" and "hold" only open the library.
    const QMap<QString, const char *> items{
        {"edit", "actEditDrink"},          {"add", "actAddDrink"},                 {"delete", "actDeleteDrink"},
        {"deleteSet", "actDeleteSet"},     {"triedSet", "actMarkSetTried"},        {"onlyTheseSet", "actMarkSetPrint"},
        {"combine", "actEditIngredients"}, {"deleteIngredient", "actEditIngredients"}, {"barList", "actImportBarList"},
        {"importDrinks", "actImportDrinks"}, {"compact", "actCompactDatabase"}, {"myBar", "actMyBar"},
        {"searchName", "actSearchByName"}, {"searchBarList", "actSearchCanMake"}, {"print", "actPrintMarked"},
        {"export", "actExportDrinks"}};
    if (!items.contains(command) && command != "list" && command != "hold" && command != "show") {
        std::fprintf(stderr, "unknown command %s\n", argv[2]);
        return 2;
    }
    if (command == "print")
        form.command("actPrinterSetup")->trigger(); // into the file ARG
    if (command == "edit" || command == "delete" || command == "show") { // the first drink, clicked
        form.selectDrinkAt(0);
        form.lvDrinks_ItemClick(0);
    }
    if (items.contains(command))
        form.command(QString::fromLatin1(items[command]))->trigger();
    say("LIST " + QString::number(form.drinkCount()));
    say("SHOWN " + form.pnlDrinkName->text());
    say("CAPTION " + form.windowTitle());
    say("NOTICE " + (form.lblReadOnly->isVisibleTo(&form) ? form.lblReadOnly->toolTip() : QStringLiteral("none")));
    if (command == "hold")
        for (std::string line; std::getline(std::cin, line);) {
        }
    Form_Unload(form);
    return 0;
}
