// The right-hand side of the main window: one drink's name, lines, directions, comments and marks.

#include "store/CDatabase.h"

#include "app/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

void CDatabase::ShowDrinkInfo(const QString &name)
{
    engine::QueryDef lookup = database().QueryDefs(QStringLiteral("DrinkLookup"));
    lookup.Parameters(QStringLiteral("Drinkname")) = name;
    m_currentDrink = lookup.OpenRecordset();
    engine::Recordset &rs = *m_currentDrink;
    rs.MoveFirst();
    if (rs.Eof())
        throw EngineError(err::NoCurrentRecord,
                          QStringLiteral("No current record: the drink '%1' is not in the database.").arg(name));
    if (!m_outputForm)
        return;
    frmMain &form = *m_outputForm;

    const QString drinkName = rs.value(QStringLiteral("Name")).toString();
    form.pnlDrinkName->setText(drinkName);
    form.pnlDrinkName->setToolTip(drinkName);
    form.txtDirections->setPlainText(rs.value(QStringLiteral("Description")).toString());
    const QVariant comments = rs.value(QStringLiteral("Comments"));
    form.txtComments->setPlainText(comments.isNull() ? QString() : comments.toString());
    form.toolbarButton(10)->setChecked(rs.value(QStringLiteral("Tried")).toBool());
    m_currentDrinkPrint = rs.value(QStringLiteral("Print")).toBool();
    form.toolbarButton(11)->setChecked(m_currentDrinkPrint);

    QTreeWidget *lines = form.lvIngredients;
    lines->clear();
    QList<QTreeWidgetItem *> items;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QVariant ingredient = rs.value(QStringLiteral("Ingredient"));
        if (ingredient.isNull())
            continue; // a drink without lines, or a line whose ingredient is gone
        const QString amount = rs.value(QStringLiteral("Amount")).toString();
        const QString text = amount.isEmpty() ? ingredient.toString() : amount + QLatin1Char(' ') + ingredient.toString();
        items.append(new QTreeWidgetItem(QStringList{text, ingredient.toString()}));
    }
    lines->addTopLevelItems(items);
    DoButtons();
}
