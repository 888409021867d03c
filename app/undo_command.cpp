#include "app/undo_command.h"

#include "common/busy_cursor.h"
#include "store/CDatabase.h"

#include <QHash>
#include <QSet>

namespace {

// The names of those of the drinks that are in the library, by key.
QHash<qint16, QString> namesOf(CDatabase &database, const QList<qint16> &keys)
{
    QHash<qint16, QString> names;
    if (keys.isEmpty())
        return names;
    QStringList list;
    for (qint16 key : keys)
        list << QString::number(key);
    auto rs = database.database().OpenRecordset(QStringLiteral("SELECT ID, Name FROM Drinks WHERE ID IN (%1)").arg(list.join(QLatin1Char(','))),
                                                engine::dbOpenForwardOnly);
    for (; !rs->Eof(); rs->MoveNext())
        names.insert(qint16(rs->value(QStringLiteral("ID")).toInt()), rs->value(QStringLiteral("Name")).toString());
    return names;
}

int rowOf(const OutputWindow &window, const QString &name)
{
    for (int row = 0; row < window.drinkCount(); ++row) {
        if (window.drinkAt(row) == name)
            return row;
    }
    return -1;
}

} // namespace

void replayUndoHistory(CDatabase &database, OutputWindow &window, bool redo)
{
    UndoHistory &history = database.undoHistory();
    if (redo ? !history.canRedo() : !history.canUndo())
        return;
    BusyCursor busy;
    const QList<qint16> keys = redo ? history.redoDrinks() : history.undoDrinks();
    const QHash<qint16, QString> before = namesOf(database, keys);
    const QString shown = window.selectedDrinkName();
    const int shownRow = window.selectedDrinkRow();
    if (redo)
        history.redo();
    else
        history.undo();
    database.forgetShownDrink(); // its rows may have changed
    const QHash<qint16, QString> after = namesOf(database, keys);

    QStringList gone;
    QStringList back;
    QString show; // the drink to show: one the step changed that is there now
    for (qint16 key : keys) {
        const bool was = before.contains(key);
        const bool is = after.contains(key);
        if (was && !is)
            gone << before[key];
        if (is && !was)
            back << after[key];
        if (is && show.isEmpty())
            show = after[key];
    }
    if (gone.size() + back.size() > 1) {
        // A whole set came back or went: every drink, the first of those that came back selected.
        database.ShowAllDrinks(true);
        const QSet<QString> returned(back.cbegin(), back.cend());
        for (int row = 0; row < window.drinkCount() && !returned.isEmpty(); ++row) {
            if (returned.contains(window.drinkAt(row))) {
                show = window.drinkAt(row);
                break;
            }
        }
    } else {
        bool reorder = false;
        for (qint16 key : keys) {
            if (before.contains(key) && after.contains(key) && before[key] != after[key]) {
                window.renameDrink(before[key], after[key]);
                reorder = true;
            }
        }
        for (const QString &name : gone) {
            if (const int row = rowOf(window, name); row >= 0)
                window.removeDrinkAt(row);
        }
        for (const QString &name : back) {
            window.addDrink(name);
            reorder = true;
        }
        window.setCurrentSetCount(window.drinkCount());
        if (reorder)
            window.sortDrinkList();
        database.ShowListMarks(); // an undone mark shows beside its name
    }
    if (show.isEmpty() || rowOf(window, show) < 0) {
        // Nothing the step changed is listed (an ingredient's step, or a drink that went): the drink
        // shown before, or the one that took its place.
        show = rowOf(window, shown) >= 0 ? shown : QString();
        if (show.isEmpty() && window.drinkCount() > 0)
            show = window.drinkAt(std::clamp(shownRow, 0, window.drinkCount() - 1));
    }
    if (show.isEmpty()) {
        database.ShowAllDrinks(true);
        return;
    }
    database.ShowMissingCounts(); // an undone bar-list change counts again
    window.selectDrink(show);
    database.ShowDrinkInfo(show);
}
