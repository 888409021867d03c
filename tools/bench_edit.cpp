// Benchmarks of the drink writes, end to end through the main window's commands: the editor opened
// on a drink of six lines and saved unchanged, a drink added, a drink deleted. The floor is the same
// rows written in one transaction on a bare connection.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "edit/frmAddEdit.h"
#include "store/CDatabase.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

namespace bench {

namespace {

// The first drink of the library with exactly six lines.
QString drinkOfSixLines(const library::Library &lib)
{
    for (const library::Drink &d : lib.drinks)
        if (d.lines.size() == 6)
            return d.name;
    return lib.drinks.first().name;
}

void writeDrink(RawConnection &raw, int id, bool replace)
{
    raw.exec("BEGIN IMMEDIATE");
    if (replace)
        raw.rows("DELETE FROM DrinkRel WHERE DrinkID = ?", {id});
    raw.rows(replace ? "UPDATE Drinks SET Name = Name, Description = Description WHERE ID = ?"
                     : "INSERT INTO Drinks (ID, Name, Description) VALUES (?, 'Floor drink', 'Shake.')",
             {id});
    for (int i = 1; i <= 6; ++i)
        raw.rows("INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (?, ?, '1 Ounce')", {id, i});
    raw.exec("COMMIT");
}

void deleteDrink(RawConnection &raw, int id)
{
    raw.exec("BEGIN IMMEDIATE");
    raw.rows("DELETE FROM Drinks WHERE ID = ?", {id});
    raw.rows("DELETE FROM DrinkRel WHERE DrinkID = ?", {id});
    raw.exec("COMMIT");
}

} // namespace

void benchEdit(const Context &c)
{
    const bool editing = c.wanted("edit_drink"), adding = c.wanted("add_drink"), deleting = c.wanted("delete_drink");
    if (!editing && !adding && !deleting)
        return;
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    RawConnection raw(c.path);
    const int runs = 11;

    if (editing) {
        const QString name = drinkOfSixLines(c.contents);
        form.selectDrink(name);
        db.ShowDrinkInfo(name);
        setShowModalHandler([](QDialog &dialog) {
            static_cast<frmAddEdit &>(dialog).cmdDone_Click();
            return dialog.result();
        });
        const double ours = medianTime(runs, [&](int) { form.mnuEdit_Click(10); });
        setShowModalHandler({});
        const double floor = medianTime(runs, [&](int) { writeDrink(raw, 1, true); });
        report("edit_drink", c.drinks, ours, floor, runs);
    }
    // Added drinks are deleted again, so the library keeps its size for the other figures.
    if (adding || deleting) {
        QStringList added;
        setShowModalHandler([&added](QDialog &dialog) {
            auto &editor = static_cast<frmAddEdit &>(dialog);
            added << QStringLiteral("Bench Drink %1").arg(added.size() + 1);
            editor.txtDrinkName->setText(added.last());
            for (int i = 0; i < 6; ++i) {
                editor.txtAmount->setText(QStringLiteral("1"));
                editor.cmbIngredient->setEditText(editor.cmbIngredient->itemText(i * 7));
                editor.cmdAdd_Click();
            }
            editor.cmdDone_Click();
            return dialog.result();
        });
        const double ours = medianTime(runs, [&](int) { form.mnuEdit_Click(5); });
        setShowModalHandler({});
        if (!db.DoesDrinkExist(added.last()))
            qFatal("adding a drink failed");
        if (adding) {
            const double floor = medianTime(runs, [&](int i) { writeDrink(raw, 32000 + i, false); });
            for (int i = 0; i < runs; ++i)
                deleteDrink(raw, 32000 + i);
            report("add_drink", c.drinks, ours, floor, runs);
        }
        // Deleting each added drink as the user does: select it, Edit, Delete, answer Yes.
        setMsgBoxHandler([](const QString &, int, const QString &) { return int(msgbox::vbYes); });
        std::vector<double> times;
        for (const QString &name : added) {
            form.selectDrink(name);
            QElapsedTimer t;
            t.start();
            form.mnuEdit_Click(30);
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        setMsgBoxHandler([](const QString &, int, const QString &) { return int(msgbox::vbOK); });
        if (db.DoesDrinkExist(added.last()))
            qFatal("deleting a drink failed");
        if (deleting) {
            std::sort(times.begin(), times.end());
            for (int i = 0; i < runs; ++i)
                writeDrink(raw, 32000 + i, false);
            const double floor = medianTime(runs, [&](int i) { deleteDrink(raw, 32000 + i); });
            report("delete_drink", c.drinks, times[times.size() / 2], floor, runs);
        }
    }
    Form_Unload(form);
}

} // namespace bench
