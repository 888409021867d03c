#pragma once
// The drink list of the main window (lvDrinks): the current set, one row per drink with its marks in a
// narrow last column, and its selected row, the current drink. It owns its rows and its selection. Whatever the program does
// to it stays quiet; only the user's own choice of another drink, by mouse or keyboard, is told.

#include "store/output_window.h"

#include <QHash>
#include <QTreeView>

class DrinkListModel;

class DrinkListView : public QTreeView {
    Q_OBJECT
public:
    explicit DrinkListView(QWidget *parent = nullptr);

    // Replaces the rows; afterwards no drink is selected. `missing` is empty, or holds one count
    // per name of the ingredients the user lacks, shown in a second column.
    void setDrinks(const QStringList &names, DrinkListOrder order, const QList<int> &missing = {});
    int count() const;
    QString drinkAt(int row) const;
    // The selected drink's row and name; -1 and an empty text when none is selected.
    int selectedRow() const;
    QString selectedDrink() const;
    // Selects the drink and scrolls it into view; nothing happens for a row or name not listed.
    void selectRow(int row);
    void selectDrink(const QString &name);

    // One entry changed by an edit. A list in name order gets a new or renamed entry in its place;
    // another list gets it at the end (sortByName() then orders it once).
    void addDrink(const QString &name);
    void renameDrink(const QString &oldName, const QString &newName);
    void removeAt(int row);
    // Sorts by name once; the selected drink stays selected and is scrolled into view.
    void sortByName();
    // The user's sorting (a double click on the window's background): on becomes off and back.
    void toggleSorting();

    bool showsMissing() const;
    // The drink's missing count, while the list shows counts.
    void setMissing(const QString &name, int missing);
    // Every listed drink's marks (Drink::Mark bits; a name not in `marked` has none), or one drink's.
    void setMarks(const QHash<QString, quint8> &marked);
    void setMarks(const QString &name, quint8 marks);
    DrinkListModel *drinkModel() const { return m_model; }

signals:
    // The user moved the selection to another drink.
    void drinkChosen(const QString &name);
    // A mouse button came up over the list; `choseAnother` when that click chose another drink
    // (drinkChosen has told of it).
    void released(Qt::MouseButton button, const QPoint &globalPos, bool choseAnother);
    // Enter or Return on the selected drink: as a double click.
    void editRequested();
    // The menu key or Shift+F10 with a drink selected: its menu belongs at `globalPos`, by the row.
    void menuRequested(const QPoint &globalPos);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // After a user's key: tells of a drink chosen other than the one at `rowBefore`.
    void reportChoice(int rowBefore);
    void requestMenu();
    void showMissingColumn(bool shown);
    // The heading tells that the rows are in name order, A to Z.
    void showNameOrder();
    // The user clicked a column heading.
    void headerSort(int column, Qt::SortOrder order);
    // Turns the view's own sorting off, leaving the headings clickable.
    void stopSorting();
    // Puts the rows in the order the heading's indicator shows, while the view's sorting is on.
    void sortByHeading();
    bool keptInOrder() const { return m_inOrder || isSortingEnabled(); }

    DrinkListModel *m_model = nullptr;
    bool m_inOrder = true;   // the rows are in name order (then edits keep them so)
    int m_rowAtPress = -1;   // the selected row when the mouse button went down
};
