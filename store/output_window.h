#pragma once
// Where the data gateway shows its results: the drink list that holds the current set, the shown
// drink's detail, the buttons that depend on them, the status text and the caption. The main window
// implements it and start-up hands it to the gateway; tests may hand a recording stand-in.

#include "core/drink.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class CommonDialog;
class QWidget;

// One ingredient line of the shown drink: the text as listed, the bare ingredient name and the amount.
struct DrinkLine {
    QString text;
    QString ingredient;
    bool missing = false; // neither on the bar list nor common, while the bar list holds anything
    QString amount = {};  // the line's amount as written; empty for none
};

struct DrinkDetail {
    Drink drink;            // as shown: a text too long to show whole is cut, and says so
    QList<DrinkLine> lines; // the drink's lines as listed
    bool barListInUse = false; // the bar list holds at least one ingredient
};

// How a message that the store passes on to the user looks.
enum class Notice { Information, Exclamation };

enum class DrinkListOrder {
    AsGiven,       // as listed, or by name while the user has sorting switched on
    SortedOnce,    // sorted by name now; sorting is then off, so later additions go to the end
};

class OutputWindow {
public:
    virtual ~OutputWindow() = default;

    // ---- The drink list (the current set) ----
    // Replaces the list; afterwards no drink is selected. `missing`, when given, holds for each name
    // the number of its ingredients the user lacks, shown beside it.
    virtual void fillDrinkList(const QStringList &names, DrinkListOrder order, const QList<int> &missing = {}) = 0;
    virtual int drinkCount() const = 0;
    virtual QString drinkAt(int row) const = 0;
    // The selected drink's row, or -1 when none is selected.
    virtual int selectedDrinkRow() const = 0;
    // Selects the drink and scrolls it into view; nothing happens for a row or name not listed.
    virtual void selectDrinkAt(int row) = 0;
    virtual void selectDrink(const QString &name) = 0;
    virtual void setCurrentSetCount(int count) = 0;
    // One entry changed by an edit: added at the end and selected, renamed in place, or removed.
    // After an addition or a rename, sortDrinkList() puts the list in order and the selection in view.
    virtual void addDrink(const QString &name) = 0;
    virtual void renameDrink(const QString &oldName, const QString &newName) = 0;
    virtual void removeDrinkAt(int row) = 0;
    // Sorts the list by name once; the selected drink stays selected and is scrolled into view.
    virtual void sortDrinkList() = 0;
    // The marks beside the listed names (Drink::Mark bits): a name not in `marked` has none.
    virtual void showDrinkMarks(const QHash<QString, quint8> &marked) { Q_UNUSED(marked); }
    // Whether the list shows missing counts (see fillDrinkList), and new counts for it: a listed
    // name not in `missing` keeps the count it shows.
    virtual bool showsMissingCounts() const { return false; }
    virtual void setMissingCounts(const QHash<QString, int> &missing) { Q_UNUSED(missing); }

    // ---- The shown drink ----
    virtual void showDrinkDetail(const DrinkDetail &drink) = 0;
    virtual void setNeighbourButtons(bool canGoBack, bool canGoNext) = 0;

    // ---- The rest of the window ----
    // The captions of the three recent searches, newest first; an empty caption is an unused entry.
    virtual void setRecentSearches(const QStringList &captions) = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setCaption(const QString &caption) = 0;
    // Why the open library cannot be changed, shown for as long as it is open; empty when it can.
    virtual void setReadOnlyNotice(const QString &reason) { Q_UNUSED(reason); }
    // A message the user must see before the store goes on (the window shows it as a message box).
    virtual void notify(const QString &text, Notice kind) { Q_UNUSED(text); Q_UNUSED(kind); }
    // The undo history gained or lost a step: the Undo and Redo commands name another one.
    virtual void undoHistoryChanged() {}
    // The file dialog of the window, and the window that owns the dialogs a command shows.
    virtual CommonDialog &commonDialog() = 0;
    virtual QWidget *dialogParent() = 0;

    // The selected drink's name, or an empty text when none is selected.
    QString selectedDrinkName() const
    {
        const int row = selectedDrinkRow();
        return row < 0 ? QString() : drinkAt(row);
    }
};
