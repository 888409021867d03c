#pragma once
// The small library the record-set tests share.

#include "engine_test_support.h"

namespace recordsetfixture {

inline const QString kDrinks = QStringLiteral("Drinks");

// Drinks by ID: 1 Gin and Tonic (tried), 2 Vodka Tonic (no comments), 3 gin fizz (print), 4 Gimlet
// (submitted), 5 GIN AND TONIC: the same name as 1 in other case.
inline library::Library recordsetLibrary()
{
    using enginetest::drink;
    library::Library lib;
    for (const char *name : {"Gin", "Tonic water", "Lime", "Ice", "Vodka"})
        lib.ingredients << library::Ingredient{QString::fromLatin1(name)};
    lib.ingredients[3].common = true;
    lib.ingredients[4].has = true;
    lib.drinks << drink(QStringLiteral("Gin and Tonic"), {{"2 Ounces", "Gin"}, {"4 Ounces", "Tonic water"}}, {},
                        QStringLiteral("Classic."))
               << drink(QStringLiteral("Vodka Tonic"), {{"2 Ounces", "Vodka"}, {"", "Tonic water"}})
               << drink(QStringLiteral("gin fizz"), {{"2 Ounces", "Gin"}, {"1 Wedge", "Lime"}}, {}, QStringLiteral("Fizzy."))
               << drink(QStringLiteral("Gimlet"), {{"2 Ounces", "Gin"}, {".5 Ounce", "Lime"}}, {}, QStringLiteral("Sharp."))
               << drink(QStringLiteral("GIN AND TONIC"), {{"1 Ounce", "Gin"}}, {}, QStringLiteral("Loud."));
    lib.drinks[0].tried = true;
    lib.drinks[2].print = true;
    lib.drinks[3].submitted = true;
    return lib;
}

inline QVariantList ids(engine::Recordset &rs) { return enginetest::column(rs, QStringLiteral("ID")); }

inline QVariant currentId(engine::Recordset &rs)
{
    return rs.Eof() ? QVariant(QStringLiteral("EOF")) : rs.Fields(QStringLiteral("ID")).Value();
}

} // namespace recordsetfixture
