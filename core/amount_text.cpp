#include "core/amount_text.h"

#include <cmath>

const std::array<UnitEntry, kUnitCount> &unitTable()
{
    static const std::array<UnitEntry, kUnitCount> kUnits{{
        {QString(), QString(), QString()},
        {QStringLiteral("Centiliter (cl)"), QStringLiteral("cl"), QStringLiteral("cl")},
        {QStringLiteral("Cup"), QStringLiteral("Cup"), QStringLiteral("Cups")},
        {QStringLiteral("Dash"), QStringLiteral("Dash"), QStringLiteral("Dashes")},
        {QStringLiteral("Fifth (750 ml)"), QStringLiteral("Fifth"), QStringLiteral("Fifths")},
        {QStringLiteral("Gallon"), QStringLiteral("Gallon"), QStringLiteral("Gallons")},
        {QStringLiteral("Half Gallon (1.75 L)"), QStringLiteral("Half Gallon"), QStringLiteral("Half Gallons")},
        {QStringLiteral("Jigger"), QStringLiteral("Jigger"), QStringLiteral("Jiggers")},
        {QStringLiteral("Liter"), QStringLiteral("Liter"), QStringLiteral("Liters")},
        {QStringLiteral("Milliliter (ml)"), QStringLiteral("ml"), QStringLiteral("ml")},
        {QStringLiteral("Ounce (shot)"), QStringLiteral("Ounce"), QStringLiteral("Ounces")},
        {QStringLiteral("Part"), QStringLiteral("Part"), QStringLiteral("Parts")},
        {QStringLiteral("Piece"), QStringLiteral("Piece"), QStringLiteral("Pieces")},
        {QStringLiteral("Pint"), QStringLiteral("Pint"), QStringLiteral("Pints")},
        {QStringLiteral("Quart"), QStringLiteral("Quart"), QStringLiteral("Quarts")},
        {QStringLiteral("Slice"), QStringLiteral("Slice"), QStringLiteral("Slices")},
        {QStringLiteral("Splash"), QStringLiteral("Splash"), QStringLiteral("Splashes")},
        {QStringLiteral("Sprig"), QStringLiteral("Sprig"), QStringLiteral("Sprigs")},
        {QStringLiteral("Tablespoon"), QStringLiteral("Tablespoon"), QStringLiteral("Tablespoons")},
        {QStringLiteral("Teaspoon"), QStringLiteral("Teaspoon"), QStringLiteral("Teaspoons")},
        {QStringLiteral("Wedge"), QStringLiteral("Wedge"), QStringLiteral("Wedges")},
    }};
    return kUnits;
}

std::optional<QString> composeAmountText(const QString &amount, int unitIndex, const QString &description)
{
    const bool unitChosen = unitIndex > 0 && unitIndex < kUnitCount;
    if (amount.isEmpty() && !unitChosen && description.isEmpty())
        return QString();
    QString s;
    if (!amount.isEmpty())
        s = amount.trimmed() + QLatin1Char(' ');
    if (unitChosen) {
        bool ok = false;
        const float number = amount.trimmed().toFloat(&ok);
        if (!ok || !std::isfinite(number))
            return std::nullopt;
        const UnitEntry &unit = unitTable()[size_t(unitIndex)];
        s += number > 1 ? unit.plural : unit.singular;
    }
    const QString shortDescription = description.trimmed();
    if (!shortDescription.isEmpty()) {
        if (unitChosen || !amount.isEmpty())
            s = s.trimmed() + QLatin1Char(' ');
        s += shortDescription;
    }
    return s;
}
