// What the data gateway shows in the main window: the drink list, the shown drink, the buttons that
// depend on them, the recent searches, the status text and the caption.

#include "app/frmMain.h"

#include "app/drink_list_model.h"
#include "app/missing_marks.h"
#include "app/quick_search_box.h"
#include "common/name_order.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>

namespace {

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

void frmMain::fillDrinkList(const QStringList &names, DrinkListOrder order, const QList<int> &missing)
{
    SettingList setting(m_settingList);
    if (!m_quickSearching && !txtQuickSearch->text().isEmpty()) {
        txtQuickSearch->clear(); // the box no longer tells what the list holds
        txtQuickSearch->setNoMatch(false);
    }
    m_drinkModel->setDrinks(names, missing);
    showMissingColumn(m_drinkModel->showsMissing());
    if (order == DrinkListOrder::SortedOnce)
        lvDrinks->setSortingEnabled(false);
    if (order == DrinkListOrder::SortedOnce || lvDrinks->isSortingEnabled())
        m_drinkModel->sort(0, Qt::AscendingOrder); // by name: asked for once, or the user's sorting is on
    m_listInOrder = order == DrinkListOrder::SortedOnce || lvDrinks->isSortingEnabled()
                    || std::is_sorted(names.cbegin(), names.cend(), NameLess());
}

void frmMain::showMissingColumn(bool shown)
{
    QHeaderView *header = lvDrinks->header();
    lvDrinks->setHeaderHidden(!shown);
    if (!shown)
        return;
    const QSignalBlocker quiet(header);
    header->setSortIndicator(0, Qt::AscendingOrder);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
}

void frmMain::lvDrinks_HeaderSort(int column, Qt::SortOrder order)
{
    if (lvDrinks->isSortingEnabled())
        return; // the view sorts by itself
    SettingList setting(m_settingList);
    m_drinkModel->sort(column, order);
    m_listInOrder = column == 0 && order == Qt::AscendingOrder;
    const int row = selectedDrinkRow();
    if (row >= 0)
        lvDrinks->scrollTo(m_drinkModel->index(row, 0));
}

int frmMain::drinkCount() const
{
    return m_drinkModel->count();
}

QString frmMain::drinkAt(int row) const
{
    return m_drinkModel->nameAt(row);
}

int frmMain::selectedDrinkRow() const
{
    const QModelIndex current = lvDrinks->currentIndex();
    return current.isValid() && lvDrinks->selectionModel()->isRowSelected(current.row(), QModelIndex()) ? current.row() : -1;
}

void frmMain::selectRow(int row)
{
    if (row < 0 || row >= m_drinkModel->count())
        return;
    SettingList setting(m_settingList);
    const QModelIndex index = m_drinkModel->index(row, 0);
    lvDrinks->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    lvDrinks->scrollTo(index);
}

void frmMain::selectDrinkAt(int row)
{
    selectRow(row);
}

void frmMain::selectDrink(const QString &name)
{
    selectRow(m_drinkModel->rowOf(name));
}

void frmMain::setCurrentSetCount(int count)
{
    lblCurrentSet->setText(QStringLiteral("Current Set Contains ") + QString::number(count) + QStringLiteral(" Drinks"));
}

void frmMain::showDrinkDetail(const DrinkDetail &drink)
{
    pnlDrinkName->setText(drink.drink.name);
    pnlDrinkName->setToolTip(drink.drink.name);
    txtDirections->setPlainText(drink.drink.directions);
    txtComments->setPlainText(drink.drink.comments.toString());
    toolbarButton(10)->setChecked(drink.drink.tried);
    toolbarButton(11)->setChecked(drink.drink.print);
    QList<QTreeWidgetItem *> items;
    items.reserve(drink.lines.size());
    const QIcon missing = drink.barListInUse ? missingIcon(lvIngredients->palette()) : QIcon();
    const QIcon none = drink.barListInUse ? noMarkIcon() : QIcon();
    for (const DrinkLine &line : drink.lines) {
        auto *item = new QTreeWidgetItem(QStringList{line.text, line.ingredient});
        item->setIcon(0, line.missing ? missing : none);
        if (line.missing) {
            item->setForeground(0, missingColour(lvIngredients->palette()));
            item->setToolTip(0, line.ingredient + QStringLiteral(" is not on your bar list."));
        }
        items.append(item);
    }
    lvIngredients->clear();
    lvIngredients->addTopLevelItems(items);
    lblMissing->setVisible(drink.barListInUse);
    lblMissing->setText(drink.barListInUse ? missingSummary(drink.lines) : QString());
    // A list that shows counts keeps the shown drink's current: its lines or the bar list may
    // have changed since the search.
    if (drink.barListInUse && m_drinkModel->showsMissing())
        m_drinkModel->setMissing(m_drinkModel->rowOf(drink.drink.name), missingLineCount(drink.lines));
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

void frmMain::setReadOnlyNotice(const QString &reason)
{
    // Beside the messages, not one of them: it stays while the library stays open.
    lblReadOnly->setVisible(!reason.isEmpty());
    lblReadOnly->setToolTip(reason.isEmpty() ? QString() : QStringLiteral("Changes cannot be saved: %1.").arg(reason));
}

void frmMain::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void frmMain::addDrink(const QString &name)
{
    SettingList setting(m_settingList);
    // A list in order gets the entry in its place: moving it later would lay the list out twice.
    const bool inPlace = m_listInOrder || lvDrinks->isSortingEnabled();
    const int row = inPlace ? m_drinkModel->sortedRowFor(name) : m_drinkModel->count();
    m_drinkModel->insertDrink(row, name);
    selectRow(row);
}

void frmMain::renameDrink(const QString &oldName, const QString &newName)
{
    SettingList setting(m_settingList);
    const int row = m_drinkModel->rowOf(oldName);
    if (row < 0)
        return;
    const bool wasCurrent = selectedDrinkRow() == row;
    if (m_listInOrder || lvDrinks->isSortingEnabled()) {
        const int missing = m_drinkModel->showsMissing() ? m_drinkModel->data(m_drinkModel->index(row, 1)).toInt() : -1;
        m_drinkModel->removeDrink(row);
        const int to = m_drinkModel->sortedRowFor(newName);
        m_drinkModel->insertDrink(to, newName);
        m_drinkModel->setMissing(to, missing);
        if (wasCurrent)
            selectRow(to);
    } else {
        m_drinkModel->renameDrink(row, newName);
    }
}

void frmMain::removeDrinkAt(int row)
{
    SettingList setting(m_settingList);
    m_drinkModel->removeDrink(row);
}

void frmMain::sortDrinkList()
{
    if (!m_listInOrder && !lvDrinks->isSortingEnabled()) {
        SettingList setting(m_settingList);
        m_drinkModel->sort(0, Qt::AscendingOrder); // once: sorting stays off
        const QSignalBlocker quiet(lvDrinks->header());
        lvDrinks->header()->setSortIndicator(0, Qt::AscendingOrder);
        m_listInOrder = true;
    }
    selectRow(selectedDrinkRow());
}
