#include "browse/drink_list_view.h"

#include "browse/drink_list_model.h"
#include "browse/mark_icons.h"
#include "core/name_order.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

DrinkListView::DrinkListView(QWidget *parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("lvDrinks"));
    m_model = new DrinkListModel(this, true);
    setModel(m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(true);
    setMinimumWidth(200);
    // Only the keyboard's menu requests are taken here; a right click opens the menu as it comes up.
    setContextMenuPolicy(Qt::DefaultContextMenu);
    connect(header(), &QHeaderView::sortIndicatorChanged, this, &DrinkListView::headerSort);
    showMissingColumn(false);
    showNameOrder();
}

void DrinkListView::showNameOrder()
{
    // A to Z is Qt's ascending order, whichever way the style draws its arrow.
    const QSignalBlocker quiet(header());
    header()->setSortIndicator(0, Qt::AscendingOrder);
}

void DrinkListView::setDrinks(const QStringList &names, DrinkListOrder order, const QList<int> &missing)
{
    m_model->setDrinks(names, missing);
    showMissingColumn(m_model->showsMissing());
    if (order == DrinkListOrder::SortedOnce)
        stopSorting();
    if (order == DrinkListOrder::SortedOnce || isSortingEnabled())
        m_model->sort(0, Qt::AscendingOrder); // by name: asked for once, or the user's sorting is on
    m_inOrder = order == DrinkListOrder::SortedOnce || isSortingEnabled()
                || std::is_sorted(names.cbegin(), names.cend(), NameLess());
    if (m_inOrder && !isSortingEnabled())
        showNameOrder(); // the heading of a column the user clicked before no longer tells the order
}

int DrinkListView::count() const
{
    return m_model->count();
}

QString DrinkListView::drinkAt(int row) const
{
    return m_model->nameAt(row);
}

int DrinkListView::selectedRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isRowSelected(current.row(), QModelIndex()) ? current.row() : -1;
}

QString DrinkListView::selectedDrink() const
{
    const int row = selectedRow();
    return row < 0 ? QString() : drinkAt(row);
}

void DrinkListView::selectRow(int row)
{
    if (row < 0 || row >= count())
        return;
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void DrinkListView::selectDrink(const QString &name)
{
    selectRow(m_model->rowOf(name));
}

void DrinkListView::addDrink(const QString &name)
{
    if (isSortingEnabled()) { // in the order of the user's heading, which may be any column either way
        m_model->insertDrink(count(), name);
        sortByHeading();
        selectDrink(name);
        return;
    }
    // A list in name order gets the entry in its place: moving it later would lay the list out twice.
    const int row = keptInOrder() ? m_model->sortedRowFor(name) : count();
    m_model->insertDrink(row, name);
    selectRow(row);
}

void DrinkListView::sortByHeading()
{
    m_model->sort(header()->sortIndicatorSection(), header()->sortIndicatorOrder());
}

void DrinkListView::renameDrink(const QString &oldName, const QString &newName)
{
    const int row = m_model->rowOf(oldName);
    if (row < 0)
        return;
    if (!keptInOrder()) {
        m_model->renameDrink(row, newName);
        return;
    }
    if (isSortingEnabled()) {
        const bool wasSelected = selectedRow() == row;
        m_model->renameDrink(row, newName);
        const QString selected = wasSelected ? newName : selectedDrink();
        sortByHeading();
        selectDrink(selected);
        return;
    }
    const bool wasSelected = selectedRow() == row;
    const int missing = showsMissing() ? m_model->data(m_model->index(row, 1)).toInt() : -1;
    const quint8 marks = m_model->marksAt(row);
    m_model->removeDrink(row);
    const int to = m_model->sortedRowFor(newName);
    m_model->insertDrink(to, newName);
    m_model->setMissing(to, missing);
    m_model->setMarksAt(to, marks);
    if (wasSelected)
        selectRow(to);
}

void DrinkListView::removeAt(int row)
{
    m_model->removeDrink(row);
}

void DrinkListView::sortByName()
{
    if (!keptInOrder()) {
        m_model->sort(0, Qt::AscendingOrder); // once: sorting stays off
        showNameOrder();
        m_inOrder = true;
    }
    selectRow(selectedRow());
}

void DrinkListView::stopSorting()
{
    setSortingEnabled(false);
    // The view takes the headings' clicks away with its own sorting; a click on a heading still
    // sorts the list once by that column.
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(true);
}

void DrinkListView::toggleSorting()
{
    if (isSortingEnabled()) {
        stopSorting();
        return;
    }
    // The view sorts by the heading's indicator as soon as sorting is on: by name, A first.
    {
        const QSignalBlocker quiet(header());
        header()->setSortIndicator(0, Qt::AscendingOrder);
    }
    setSortingEnabled(true);
    m_inOrder = true;
}

bool DrinkListView::showsMissing() const
{
    return m_model->showsMissing();
}

void DrinkListView::setMissing(const QString &name, int missing)
{
    if (showsMissing())
        m_model->setMissing(m_model->rowOf(name), missing);
}

void DrinkListView::setMarks(const QHash<QString, quint8> &marked)
{
    m_model->setMarks(marked);
}

void DrinkListView::setMarks(const QString &name, quint8 marks)
{
    m_model->setMarksAt(m_model->rowOf(name), marks);
}

void DrinkListView::showMissingColumn(bool shown)
{
    // The headings stay: the marks column sorts by a click on its own. Its width is that of its
    // pictures: a width fitted to the contents would ask a thousand rows for theirs at every fill.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    if (shown)
        header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    const int marks = m_model->marksColumn();
    header()->setSectionResizeMode(marks, QHeaderView::Fixed);
    header()->resizeSection(marks, markPixmap(0).deviceIndependentSize().toSize().width()
                                       + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8);
    if (shown)
        showNameOrder();
}

void DrinkListView::headerSort(int column, Qt::SortOrder order)
{
    if (isSortingEnabled())
        return; // the view sorts by itself
    m_model->sort(column, order);
    m_inOrder = column == 0 && order == Qt::AscendingOrder;
    if (const int row = selectedRow(); row >= 0)
        scrollTo(m_model->index(row, 0));
}

// ---- The user's moves -------------------------------------------------------------------------------

void DrinkListView::reportChoice(int rowBefore)
{
    const int row = selectedRow();
    if (row >= 0 && row != rowBefore)
        emit drinkChosen(drinkAt(row));
}

bool DrinkListView::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Copy)) {
            event->ignore(); // Ctrl+A and Ctrl+C are the Edit menu's, not the list's
            return true;
        }
    }
    return QTreeView::event(event);
}

void DrinkListView::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool menu = event->key() == Qt::Key_Menu
                      || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if ((enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) || menu) {
        event->accept();
        if (selectedRow() < 0)
            return;
        if (enter)
            emit editRequested();
        else
            requestMenu();
        return;
    }
    const int before = selectedRow();
    QTreeView::keyPressEvent(event);
    reportChoice(before);
}

void DrinkListView::contextMenuEvent(QContextMenuEvent *event)
{
    // Some platforms send the menu key as a request of its own, besides or instead of the key.
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard && selectedRow() >= 0)
        requestMenu();
}

void DrinkListView::requestMenu()
{
    const QModelIndex index = m_model->index(selectedRow(), 0);
    scrollTo(index);
    const QRect row = visualRect(index);
    emit menuRequested(viewport()->mapToGlobal(QPoint(row.left() + row.height(), row.bottom())));
}

// A click is one choice, told when the button comes up: the press, a drag and the release may each
// move the selection.
void DrinkListView::mousePressEvent(QMouseEvent *event)
{
    m_rowAtPress = selectedRow();
    QTreeView::mousePressEvent(event);
}

void DrinkListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_rowAtPress = selectedRow();
    QTreeView::mouseDoubleClickEvent(event);
}

void DrinkListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    const int row = selectedRow();
    const bool choseAnother = row >= 0 && row != m_rowAtPress;
    if (choseAnother)
        emit drinkChosen(drinkAt(row));
    emit released(event->button(), event->globalPosition().toPoint(), choseAnother);
}
