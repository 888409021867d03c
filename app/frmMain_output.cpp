// What the data gateway shows in the main window: the drink list, the shown drink, the buttons that
// depend on them, the recent searches, the status text and the caption.

#include "app/frmMain.h"

#include "common/name_order.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

// Sorts as the stored queries do, so "Rum and Tonic" comes before "Rum Old Fashioned" whether the
// list was sorted by a query or by the window.
class DrinkListItem : public QTreeWidgetItem {
public:
    explicit DrinkListItem(const QString &name) : QTreeWidgetItem(QStringList{name}) {}
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return compareNames(text(column), other.text(column)) < 0;
    }
};

const QString kEmptySearch = QStringLiteral("(empty)");

// Holds the list's own signals while the program changes it, so that only the user's moves count
// as a new choice of drink.
class SettingList {
public:
    explicit SettingList(bool &flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~SettingList() { m_flag = m_was; }

private:
    bool &m_flag;
    bool m_was;
};

} // namespace

void frmMain::fillDrinkList(const QStringList &names, DrinkListOrder order)
{
    SettingList setting(m_settingList);
    QList<QTreeWidgetItem *> items;
    items.reserve(names.size());
    for (const QString &name : names)
        items.append(new DrinkListItem(name));
    lvDrinks->setUpdatesEnabled(false);
    if (order == DrinkListOrder::SortedOnce)
        lvDrinks->setSortingEnabled(false);
    lvDrinks->clear();
    lvDrinks->addTopLevelItems(items);
    if (order == DrinkListOrder::SortedOnce)
        lvDrinks->sortItems(0, Qt::AscendingOrder); // once: sorting stays off
    lvDrinks->setUpdatesEnabled(true);
}

int frmMain::drinkCount() const
{
    return lvDrinks->topLevelItemCount();
}

QString frmMain::drinkAt(int row) const
{
    const QTreeWidgetItem *item = lvDrinks->topLevelItem(row);
    return item ? item->text(0) : QString();
}

int frmMain::selectedDrinkRow() const
{
    QTreeWidgetItem *current = lvDrinks->currentItem();
    return current && current->isSelected() ? lvDrinks->indexOfTopLevelItem(current) : -1;
}

void frmMain::selectItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    SettingList setting(m_settingList);
    lvDrinks->setCurrentItem(item);
    lvDrinks->scrollToItem(item);
}

void frmMain::selectDrinkAt(int row)
{
    selectItem(lvDrinks->topLevelItem(row));
}

void frmMain::selectDrink(const QString &name)
{
    const QList<QTreeWidgetItem *> found = lvDrinks->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        selectItem(found.first());
}

void frmMain::setCurrentSetCount(int count)
{
    lblCurrentSet->setText(QStringLiteral("Current Set Contains ") + QString::number(count) + QStringLiteral(" Drinks"));
}

void frmMain::showDrinkDetail(const DrinkDetail &drink)
{
    pnlDrinkName->setText(drink.name);
    pnlDrinkName->setToolTip(drink.name);
    txtDirections->setPlainText(drink.directions);
    txtComments->setPlainText(drink.comments);
    toolbarButton(10)->setChecked(drink.tried);
    toolbarButton(11)->setChecked(drink.print);
    QList<QTreeWidgetItem *> items;
    items.reserve(drink.lines.size());
    for (const DrinkLine &line : drink.lines)
        items.append(new QTreeWidgetItem(QStringList{line.text, line.ingredient}));
    lvIngredients->clear();
    lvIngredients->addTopLevelItems(items);
}

void frmMain::setNeighbourButtons(bool canGoBack, bool canGoNext)
{
    toolbarButton(1)->setEnabled(canGoBack);
    menuItem(QStringLiteral("mnuView"), 20)->setEnabled(canGoBack);
    toolbarButton(2)->setEnabled(canGoNext);
    menuItem(QStringLiteral("mnuView"), 23)->setEnabled(canGoNext);
}

void frmMain::setRecentSearches(const QStringList &captions)
{
    for (int i = 0; i < 3; ++i) {
        QAction *item = menuItem(QStringLiteral("mnuSearchResults"), i);
        const QString caption = captions.value(i);
        item->setText(caption.isEmpty() ? kEmptySearch : caption);
        // An entry shows once it has held a search, and stays.
        if (!caption.isEmpty())
            item->setVisible(true);
    }
}

void frmMain::setStatusText(const QString &text)
{
    statusBar()->showMessage(text);
    statusBar()->repaint();
}

void frmMain::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void frmMain::addDrink(const QString &name)
{
    auto *item = new DrinkListItem(name);
    {
        SettingList setting(m_settingList);
        lvDrinks->addTopLevelItem(item); // at the end, or in its place while the user sorts the list
    }
    selectItem(item);
}

void frmMain::renameDrink(const QString &oldName, const QString &newName)
{
    SettingList setting(m_settingList);
    const QList<QTreeWidgetItem *> found = lvDrinks->findItems(oldName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        found.first()->setText(0, newName);
}

void frmMain::removeDrinkAt(int row)
{
    SettingList setting(m_settingList);
    delete lvDrinks->takeTopLevelItem(row);
}

void frmMain::sortDrinkList()
{
    if (lvDrinks->isSortingEnabled())
        return; // the user sorts the list: it is in order already
    const int count = lvDrinks->topLevelItemCount();
    auto nameAt = [this](int row) { return lvDrinks->topLevelItem(row)->text(0); };
    // In order when the entry `skip` is left out (-1: none left out); otherwise the first row
    // whose entry is out of order.
    auto firstDescent = [&](int skip) {
        int previous = -1;
        for (int row = 0; row < count; ++row) {
            if (row == skip)
                continue;
            if (previous >= 0 && compareNames(nameAt(previous), nameAt(row)) > 0)
                return previous;
            previous = row;
        }
        return -1;
    };
    const int descent = firstDescent(-1);
    if (descent < 0)
        return;
    QTreeWidgetItem *current = lvDrinks->currentItem();
    const bool selected = current && current->isSelected();
    SettingList setting(m_settingList);
    // After an addition or a rename one entry is out of place: move it alone, which keeps a long
    // list from being sorted whole for every edit. Anything else is sorted once.
    int misplaced = -1;
    for (int candidate : {descent, descent + 1}) {
        if (candidate < count && firstDescent(candidate) < 0) {
            misplaced = candidate;
            break;
        }
    }
    if (misplaced >= 0) {
        QTreeWidgetItem *item = lvDrinks->takeTopLevelItem(misplaced);
        int low = 0, high = count - 1;
        while (low < high) {
            const int middle = (low + high) / 2;
            if (compareNames(nameAt(middle), item->text(0)) <= 0)
                low = middle + 1;
            else
                high = middle;
        }
        lvDrinks->insertTopLevelItem(low, item);
    } else {
        lvDrinks->sortItems(0, Qt::AscendingOrder); // once: sorting stays off
    }
    if (selected)
        selectItem(current);
}
