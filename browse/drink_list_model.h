#pragma once
// The drink list's rows: the current set's names, after a bar-list search the number of ingredients
// each drink lacks, and, in a list that shows them, each drink's tried and to-print marks in a narrow
// last column. A plain model over arrays, so a search that lists 30,000 drinks hands the view a new
// array instead of building 30,000 items.

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

class DrinkListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // With `withMarks` the last column shows each drink's marks (Drink::Mark bits).
    explicit DrinkListModel(QObject *parent = nullptr, bool withMarks = false);

    // Replaces every row, none of them marked. `missing` is empty, or holds one count per name:
    // then the list shows it.
    void setDrinks(QStringList names, QList<int> missing = {});
    bool showsMissing() const { return !m_missing.isEmpty(); }
    // The marks column, -1 in a list without one.
    int marksColumn() const { return m_withMarks ? (showsMissing() ? 2 : 1) : -1; }
    // Every row's marks: a name not in `marked` has none.
    void setMarks(const QHash<QString, quint8> &marked);
    void setMarksAt(int row, quint8 marks);
    quint8 marksAt(int row) const { return m_marks.value(row, 0); }

    int count() const { return int(m_names.size()); }
    QString nameAt(int row) const { return m_names.value(row); }
    // The row holding exactly this name, -1 when none does.
    int rowOf(const QString &name) const { return int(m_names.indexOf(name)); }
    void insertDrink(int row, const QString &name);
    void removeDrink(int row);
    void renameDrink(int row, const QString &name);
    // A drink's count changed (its lines were edited, or the bar list was).
    void setMissing(int row, int missing);
    // Every count at once, by name; a name not in `missing` keeps its count.
    void setMissingCounts(const QHash<QString, int> &missing);
    // The row at which `name` belongs in a list in name order, after the names equal to it.
    int sortedRowFor(const QString &name) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // By name; by the missing count or by the marks (both, tried, to print, none) with the name
    // breaking ties. Stable, so equal rows keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QStringList m_names;
    QList<int> m_missing; // empty, or one count per name (-1: not known)
    QList<quint8> m_marks; // one entry per name in a list with marks, else empty
    bool m_withMarks = false;
};
