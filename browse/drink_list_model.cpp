#include "browse/drink_list_model.h"

#include "browse/mark_icons.h"
#include "core/drink.h"
#include "core/name_order.h"

#include <algorithm>
#include <climits>
#include <numeric>
#include <vector>

DrinkListModel::DrinkListModel(QObject *parent, bool withMarks) : QAbstractTableModel(parent), m_withMarks(withMarks)
{
}

void DrinkListModel::setDrinks(QStringList names, QList<int> missing)
{
    beginResetModel();
    m_names = std::move(names);
    m_missing = missing.size() == m_names.size() ? std::move(missing) : QList<int>();
    m_marks = m_withMarks ? QList<quint8>(m_names.size(), Drink::NoMark) : QList<quint8>();
    endResetModel();
}

void DrinkListModel::setMarks(const QHash<QString, quint8> &marked)
{
    if (!m_withMarks)
        return;
    int first = count(), last = -1;
    for (int row = 0; row < count(); ++row) {
        const quint8 marks = marked.value(m_names[row], Drink::NoMark);
        if (marks != m_marks[row]) {
            m_marks[row] = marks;
            first = std::min(first, row);
            last = row;
        }
    }
    if (last >= 0)
        emit dataChanged(index(first, marksColumn()), index(last, marksColumn()));
}

void DrinkListModel::setMarksAt(int row, quint8 marks)
{
    if (!m_withMarks || row < 0 || row >= count() || m_marks[row] == marks)
        return;
    m_marks[row] = marks;
    emit dataChanged(index(row, marksColumn()), index(row, marksColumn()));
}

void DrinkListModel::insertDrink(int row, const QString &name)
{
    row = std::clamp(row, 0, count());
    beginInsertRows(QModelIndex(), row, row);
    m_names.insert(row, name);
    if (showsMissing())
        m_missing.insert(row, -1);
    if (m_withMarks)
        m_marks.insert(row, Drink::NoMark);
    endInsertRows();
}

void DrinkListModel::removeDrink(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_names.removeAt(row);
    if (showsMissing())
        m_missing.removeAt(row);
    if (m_withMarks)
        m_marks.removeAt(row);
    endRemoveRows();
}

void DrinkListModel::renameDrink(int row, const QString &name)
{
    if (row < 0 || row >= count())
        return;
    m_names[row] = name;
    emit dataChanged(index(row, 0), index(row, 0));
}

void DrinkListModel::setMissing(int row, int missing)
{
    if (!showsMissing() || row < 0 || row >= count() || m_missing[row] == missing)
        return;
    m_missing[row] = missing;
    emit dataChanged(index(row, 1), index(row, 1));
}

void DrinkListModel::setMissingCounts(const QHash<QString, int> &missing)
{
    if (!showsMissing())
        return;
    int first = count(), last = -1;
    for (int row = 0; row < count(); ++row) {
        const int now = missing.value(m_names[row], m_missing[row]);
        if (now != m_missing[row]) {
            m_missing[row] = now;
            first = std::min(first, row);
            last = row;
        }
    }
    if (last >= 0)
        emit dataChanged(index(first, 1), index(last, 1));
}

int DrinkListModel::sortedRowFor(const QString &name) const
{
    return int(std::upper_bound(m_names.cbegin(), m_names.cend(), name, NameLess()) - m_names.cbegin());
}

int DrinkListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int DrinkListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : (showsMissing() ? 2 : 1) + (m_withMarks ? 1 : 0);
}

QVariant DrinkListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const int row = index.row();
    if (index.column() == 0)
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? QVariant(m_names[row]) : QVariant();
    if (index.column() == marksColumn()) {
        switch (role) {
        case Qt::DecorationRole:
            return markPixmap(m_marks[row]);
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole: {
            const QString text = markText(m_marks[row]);
            return text.isEmpty() ? QVariant() : QVariant(text);
        }
        default:
            return {};
        }
    }
    const int missing = m_missing.value(row, -1);
    switch (role) {
    case Qt::DisplayRole:
        return missing < 0 ? QVariant() : QVariant(missing);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        if (missing < 0)
            return QStringLiteral("Select the drink to count what it lacks.");
        return missing == 0 ? QStringLiteral("You have everything for this drink.")
                            : QStringLiteral("%1 ingredient%2 missing").arg(missing).arg(missing == 1 ? "" : "s");
    default:
        return {};
    }
}

QVariant DrinkListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (section == marksColumn()) {
        switch (role) {
        case Qt::ToolTipRole:
            return QStringLiteral("Tried and to print: click to list the marked drinks first");
        case Qt::AccessibleTextRole:
            return QStringLiteral("Marks");
        case Qt::InitialSortOrderRole: // the first click puts the marked drinks at the top
            return int(Qt::AscendingOrder);
        default:
            return {};
        }
    }
    if (role == Qt::DisplayRole)
        return section == 0 ? QStringLiteral("Drink") : QStringLiteral("Missing");
    if (role == Qt::ToolTipRole && section == 1)
        return QStringLiteral("Ingredients the drink needs that are neither on your bar list nor common");
    return {};
}

void DrinkListModel::sort(int column, Qt::SortOrder order)
{
    std::vector<int> rows(static_cast<size_t>(count()));
    std::iota(rows.begin(), rows.end(), 0);
    const bool byMissing = column == 1 && showsMissing();
    const bool byMarks = column == marksColumn() && column > 0;
    // An unknown count sorts after every known one.
    auto missingKey = [this](int row) { return m_missing[row] < 0 ? INT_MAX : m_missing[row]; };
    // Both marks, tried, to print, none.
    auto marksKey = [this](int row) {
        static const int kRank[] = {3, 1, 2, 0};
        return kRank[m_marks[row] & (Drink::TriedMark | Drink::PrintMark)];
    };
    auto key = [&](int row) { return byMissing ? missingKey(row) : byMarks ? marksKey(row) : 0; };
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        if (key(a) != key(b))
            return order == Qt::AscendingOrder ? key(a) < key(b) : key(a) > key(b);
        const int names = compareNames(m_names[a], m_names[b]);
        return order == Qt::AscendingOrder || byMissing || byMarks ? names < 0 : names > 0;
    });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QStringList names;
    QList<int> missing;
    QList<quint8> marks;
    names.reserve(count());
    std::vector<int> newRow(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        names << m_names[rows[i]];
        if (showsMissing())
            missing << m_missing[rows[i]];
        if (m_withMarks)
            marks << m_marks[rows[i]];
        newRow[size_t(rows[i])] = int(i);
    }
    m_names = std::move(names);
    m_missing = std::move(missing);
    m_marks = std::move(marks);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex &i : before)
        after << index(newRow[size_t(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
