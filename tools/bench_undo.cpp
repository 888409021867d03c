// Benchmarks of Edit, Undo: a deleted current set of 1,000 drinks brought back, and an edited drink
// of six lines put back as it was, each through the menu item with the window refilled. Between
// runs Redo does the step again, so every run undoes the same step.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "edit/frmAddEdit.h"
#include "store/CDatabase.h"

#include <QLineEdit>

namespace bench {

namespace {

double timeUndo(frmMain &form, int runs, const std::function<bool()> &undone)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        times.push_back(medianTime(1, [&](int) { form.mnuEdit_Click(90); }));
        if (!undone())
            qFatal("undo did not restore the library");
        if (i + 1 < runs)
            form.mnuEdit_Click(95);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

void benchUndo(const Context &c)
{
    const bool set = c.wanted("undo_delete_set_1000"), edit = c.wanted("undo_edit_drink");
    if (!set && !edit)
        return;
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    setMsgBoxHandler([](const QString &, int, const QString &) { return int(msgbox::vbYes); });
    if (set) {
        QStringList names;
        for (int i = 0; i < 1000 && i < c.contents.drinks.size(); ++i)
            names << c.contents.drinks[i].name;
        form.fillDrinkList(names, DrinkListOrder::SortedOnce);
        form.mnuCurrentSet_Click(70);
        if (db.DoesDrinkExist(names.first()))
            qFatal("deleting the current set failed");
        const double ours = timeUndo(form, 3, [&] { return db.DoesDrinkExist(names.first()) && db.DoesDrinkExist(names.last()); });
        report("undo_delete_set_1000", c.drinks, ours, -1, 3);
    }
    setMsgBoxHandler([](const QString &, int, const QString &) { return int(msgbox::vbOK); });
    if (edit) {
        QString name = c.contents.drinks.first().name;
        for (const library::Drink &d : c.contents.drinks) {
            if (d.lines.size() == 6) {
                name = d.name;
                break;
            }
        }
        form.selectDrink(name);
        db.ShowDrinkInfo(name);
        setShowModalHandler([](QDialog &dialog) {
            auto &editor = static_cast<frmAddEdit &>(dialog);
            editor.txtDrinkName->setText(editor.txtDrinkName->text() + QStringLiteral(" Edited"));
            editor.cmdDone_Click();
            return dialog.result();
        });
        form.mnuEdit_Click(10);
        setShowModalHandler({});
        const double ours = timeUndo(form, 11, [&] { return db.DoesDrinkExist(name); });
        report("undo_edit_drink", c.drinks, ours, -1, 11);
    }
    Form_Unload(form);
}

} // namespace bench
