// Benchmarks of the marks and the clipboard on a current set of 1,000 drinks: marking the set tried,
// deleting the set (the drinks are written back afterwards), and copying one drink. The floor is the
// same rows written in one transaction on a bare connection.

#include "tools/bench_support.h"

#include "app/frmMain.h"
#include "app/startup.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "output/frmCopyToClipboard.h"
#include "store/CDatabase.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>

namespace bench {

namespace {

QStringList firstNames(const library::Library &lib, int count)
{
    QStringList names;
    for (int i = 0; i < count && i < lib.drinks.size(); ++i)
        names << lib.drinks[i].name;
    return names;
}

void answerYes()
{
    setMsgBoxHandler([](const QString &, int, const QString &) { return int(msgbox::vbYes); });
}

void answerOk()
{
    setMsgBoxHandler([](const QString &, int, const QString &) { return int(msgbox::vbOK); });
}

// Deletes a current set of `set` through Edit, Current Set, Delete on the library, then puts the
// library back from a copy, so the set can be deleted again and other figures see every drink. The
// time includes listing every remaining drink afterwards, as the command does.
void benchDeleteSet(const Context &c, const QStringList &set)
{
    const QString saved = c.path + QStringLiteral(".saved");
    const int runs = 3;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QFile::remove(saved);
        QFile::copy(c.path, saved);
        {
            frmMain form;
            startQuietly(form, c.path);
            form.fillDrinkList(set, DrinkListOrder::SortedOnce);
            answerYes();
            times.push_back(medianTime(1, [&](int) { form.mnuCurrentSet_Click(70); }));
            answerOk();
            if (program().database->DoesDrinkExist(set.first()))
                qFatal("deleting the current set failed");
            Form_Unload(form);
        }
        QFile::remove(c.path);
        QFile::rename(saved, c.path);
    }
    std::sort(times.begin(), times.end());
    report("delete_set_1000", c.drinks, times[times.size() / 2], -1, runs);
}

} // namespace

void benchOutput(const Context &c)
{
    const bool marking = c.wanted("mark_set_1000"), deleting = c.wanted("delete_set_1000"), copying = c.wanted("copy_drink");
    const QStringList set = firstNames(c.contents, 1000);
    if (deleting)
        benchDeleteSet(c, set);
    if (!marking && !copying)
        return;
    frmMain form;
    startQuietly(form, c.path);
    CDatabase &db = *program().database;
    RawConnection raw(c.path);

    if (marking) {
        form.fillDrinkList(set, DrinkListOrder::SortedOnce);
        form.selectDrinkAt(0);
        const int runs = 5;
        answerYes();
        const double ours = medianTime(runs, [&](int i) { form.mnuCurrentSet_Click(i % 2 ? 40 : 10); });
        answerOk();
        const double floor = medianTime(runs, [&](int i) {
            raw.exec("BEGIN IMMEDIATE");
            for (const QString &name : set)
                raw.rows("UPDATE Drinks SET Tried = ? WHERE Name = ?", {i % 2, name});
            raw.exec("COMMIT");
        });
        report("mark_set_1000", c.drinks, ours, floor, runs);
    }
    if (copying) {
        form.selectDrink(set.first());
        db.ShowDrinkInfo(set.first());
        setShowModalHandler([](QDialog &dialog) {
            auto &question = static_cast<frmCopyToClipboard &>(dialog);
            question.optOption[1]->setChecked(true);
            question.cmdButtons[0]->click();
            return question.result();
        });
        const int runs = 11;
        const double ours = medianTime(runs, [&](int) { form.mnuEdit_Click(50); });
        setShowModalHandler({});
        report("copy_drink", c.drinks, ours, -1, runs);
    }
    Form_Unload(form);
}

} // namespace bench
