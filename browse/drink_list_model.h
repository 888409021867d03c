#pragma once
// The drink list's rows: the current set's names and, after a bar-list search, the number of
// ingredients each drink lacks. A plain model over two arrays, so a search that lists 30,000 drinks
// hands the view a new array instead of building 30,000 items.

#include <QAbstractTableModel>
#include <QStringList>

class DrinkListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Replaces every row. `missing` is empty, or holds one count per name: then the list shows it.
    void setDrinks(QStringList names, QList<int> missing = {});
    bool showsMissing() const { return !m_missing.isEmpty(); }

    int count() const { return int(m_names.size()); }
    QString nameAt(int row) const { return m_names.value(row); }
    // The row holding exactly this name, -1 when none does.
    int rowOf(const QString &name) const { return int(m_names.indexOf(name)); }
    void insertDrink(int row, const QString &name);
    void removeDrink(int row);
    void renameDrink(int row, const QString &name);
    // A drink's count changed (its lines were edited, or the bar list was).
    void setMissing(int row, int missing);
    // The row at which `name` belongs in a list in name order, after the names equal to it.
    int sortedRowFor(const QString &name) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // By name; by the missing count with the name breaking ties. Stable, so equal rows keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QStringList m_names;
    QList<int> m_missing; // empty, or one count per name (-1: not known)
};
