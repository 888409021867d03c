#include "core/drink.h"

QString Drink::lineText(const Line &line)
{
    return line.amount.isEmpty() ? line.ingredient : line.amount + QLatin1Char(' ') + line.ingredient;
}

const QList<DrinkColumn> &drinkColumns()
{
    static const QList<DrinkColumn> columns{
        {QStringLiteral("Name"), false, [](const Drink &d) { return QVariant(d.name); },
         [](Drink &d, const QVariant &v) { d.name = v.toString(); }},
        {QStringLiteral("Description"), true, [](const Drink &d) { return QVariant(d.directions); },
         [](Drink &d, const QVariant &v) { d.directions = v.toString(); }},
        {QStringLiteral("Comments"), true, [](const Drink &d) { return d.comments; },
         [](Drink &d, const QVariant &v) { d.comments = v.isNull() ? QVariant() : QVariant(v.toString()); }},
        {QStringLiteral("Tried"), false, [](const Drink &d) { return QVariant(d.tried); },
         [](Drink &d, const QVariant &v) { d.tried = v.toBool(); }},
        {QStringLiteral("Print"), false, [](const Drink &d) { return QVariant(d.print); },
         [](Drink &d, const QVariant &v) { d.print = v.toBool(); }},
        {QStringLiteral("Submitted"), false, [](const Drink &d) { return QVariant(d.submitted); },
         [](Drink &d, const QVariant &v) { d.submitted = v.toBool(); }},
    };
    return columns;
}
