// Ingredient names for the controls the user picks from: a list box or drop-down of every name,
// and the ingredient dialog's list view with the common and bar-list marks. Read only.

#include "store/CDatabase.h"

#include "core/name_order.h"

#include <QComboBox>
#include <QListWidget>
#include <QTreeWidget>

namespace {

// Spaces only, as the names were typed; other white space is part of the name.
QString trimSpaces(const QString &name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && name[end - 1] == QLatin1Char(' '))
        --end;
    return name.mid(begin, end - begin);
}

QStringList ingredientNames(CDatabase &db, bool bTrim)
{
    auto list = db.GetIngredientList();
    QStringList names;
    for (list->MoveFirst(); !list->Eof(); list->MoveNext()) {
        const QString name = list->value(QStringLiteral("Ingredient")).toString();
        names << (bTrim ? trimSpaces(name) : name);
    }
    // In the program's name order, which the stored query's (A-Z folded only) may not be.
    sortNames(names);
    return names;
}

} // namespace

std::unique_ptr<engine::Recordset> CDatabase::GetIngredientList()
{
    // The older layout's stored query names the column it lacks until it is upgraded.
    if (m_barListMissing)
        return database().OpenRecordset(QStringLiteral("SELECT Ingredient, Common, 0 AS Has FROM Ingredients ORDER BY Ingredient, ID"),
                                        engine::dbOpenSnapshot);
    return database().QueryDefs(QStringLiteral("GetIngList")).OpenRecordset(engine::dbOpenSnapshot);
}

void CDatabase::LoadIngredientList(QListWidget *lstListBox, bool bTrim)
{
    const QStringList names = ingredientNames(*this, bTrim);
    lstListBox->clear();
    lstListBox->addItems(names);
}

void CDatabase::LoadIngredientList(QComboBox *lstListBox, bool bTrim)
{
    const QStringList names = ingredientNames(*this, bTrim);
    lstListBox->clear();
    lstListBox->addItems(names);
}

void CDatabase::LoadIngredientListListview(QTreeWidget *lv, int iCommonSub, int iHaveSub)
{
    static const QString kMark = QStringLiteral("\u2022");
    lv->clear();
    engine::Recordset &ingredients = ingredientsTable();
    QList<QTreeWidgetItem *> items;
    // From the first row, with rows that action queries added or removed since the set was opened.
    ingredients.Requery();
    if (!ingredients.Eof()) {
        engine::Field name = ingredients.Fields(QStringLiteral("Ingredient"));
        engine::Field common = ingredients.Fields(QStringLiteral("Common"));
        std::optional<engine::Field> has;
        if (!m_barListMissing)
            has.emplace(ingredients.Fields(QStringLiteral("Has")));
        try {
            for (; !ingredients.Eof(); ingredients.MoveNext()) {
                auto *item = new QTreeWidgetItem(QStringList{name.Value().toString()});
                items.append(item);
                if (iCommonSub >= 0 && common.Value().toBool())
                    item->setText(iCommonSub, kMark);
                if (iHaveSub >= 0 && has && has->Value().toBool())
                    item->setText(iHaveSub, kMark);
            }
        } catch (...) {
            qDeleteAll(items);
            throw;
        }
    }
    lv->addTopLevelItems(items);
}
