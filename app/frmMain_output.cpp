// What the data gateway shows in the main window: the drink list, the shown drink, the buttons that
// depend on them, the recent searches, the status text and the caption.

#include "app/frmMain.h"

#include "common/name_order.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTreeWidget>

#include <algorithm>

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
    m_listInOrder = order == DrinkListOrder::SortedOnce || lvDrinks->isSortingEnabled()
                    || std::is_sorted(names.cbegin(), names.cend(), [](const QString &a, const QString &b) { return compareNames(a, b) < 0; });
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

// The row at which `name` belongs in a list in order, after the entries that sort equal to it.
int frmMain::sortedRowFor(const QString &name) const
{
    int low = 0, high = lvDrinks->topLevelItemCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (compareNames(lvDrinks->topLevelItem(middle)->text(0), name) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void frmMain::addDrink(const QString &name)
{
    SettingList setting(m_settingList);
    auto *item = new DrinkListItem(name);
    // A list in order gets the entry in its place at once: laying out a long list is what an edit
    // waits for, and moving the entry later would lay it out twice.
    if (m_listInOrder && !lvDrinks->isSortingEnabled())
        lvDrinks->insertTopLevelItem(sortedRowFor(name), item);
    else
        lvDrinks->addTopLevelItem(item); // at the end, or in its place while the user sorts the list
    lvDrinks->setCurrentItem(item);
}

void frmMain::renameDrink(const QString &oldName, const QString &newName)
{
    SettingList setting(m_settingList);
    const QList<QTreeWidgetItem *> found = lvDrinks->findItems(oldName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        return;
    QTreeWidgetItem *item = found.first();
    const bool wasCurrent = lvDrinks->currentItem() == item;
    if (m_listInOrder && !lvDrinks->isSortingEnabled()) {
        lvDrinks->takeTopLevelItem(lvDrinks->indexOfTopLevelItem(item));
        item->setText(0, newName);
        lvDrinks->insertTopLevelItem(sortedRowFor(newName), item);
        if (wasCurrent)
            lvDrinks->setCurrentItem(item);
    } else {
        item->setText(0, newName);
    }
}

void frmMain::removeDrinkAt(int row)
{
    SettingList setting(m_settingList);
    delete lvDrinks->takeTopLevelItem(row);
}

void frmMain::sortDrinkList()
{
    if (!m_listInOrder && !lvDrinks->isSortingEnabled()) {
        SettingList setting(m_settingList);
        lvDrinks->sortItems(0, Qt::AscendingOrder); // once: sorting stays off
        m_listInOrder = true;
    }
    QTreeWidgetItem *current = lvDrinks->currentItem();
    if (current && current->isSelected())
        selectItem(current);
}
