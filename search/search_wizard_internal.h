#pragma once
// What the search wizard's two source files share: its limits, texts and the program objects it uses.

#include "common/CZestro30.h"
#include "common/CCommonRoutines.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"
#include "core/engine_error.h"

#include <QString>
#include <array>

namespace wizard {

constexpr int kMaxIngredients = 20;
constexpr int kBarListOption = 8;
// The most lines a drink may lack in a bar-list search; more than that finds nearly every drink.
constexpr int kMaxSlack = 20;
constexpr int kDefaultSlack = 1;
// String numbers of the first eight options' captions; the bar-list option has its own text.
constexpr std::array<int, 8> kSearchTypeTags{205, 5, 206, 212, 207, 208, 209, 211};
// The search types of the mark options 4 to 7 (printed comes before user-submitted on the page).
constexpr std::array<qint16, 4> kMarkSearchTypes{5, 6, 8, 7};

inline const QString kTooManyIngredients = QStringLiteral(
    "Take it easy, champ!  Zestro will only search for 20 ingredients at a time.  If that is a problem, let me know and I'll up it.");
inline const QString kSlackNotANumber = QStringLiteral("Please enter a whole number of ingredients, for example 1.");

inline CCommonRoutines &routines()
{
    // FillInText keeps state between calls, so use the program's one instance when there is one.
    static CCommonRoutines fallback;
    return program().commonRoutines ? *program().commonRoutines : fallback;
}

inline CDatabase &database()
{
    return programDatabase();
}

} // namespace wizard
