#pragma once
// Writes to the bar list other than through a bar-list file: many ingredients ticked on or off at
// once, as the My Bar window saves them.

#include <QList>

class CDatabase;

struct OnHandChange {
    int ingredientId = 0;
    bool onHand = false;
};

namespace BarListWrites {

// Sets the Has flag of every listed ingredient, all or nothing, in one transaction. The store's
// ingredient set is read again afterwards, so the flag lookups see the new state. Throws the
// engine's error (the read-only one included) with nothing written.
void setOnHand(CDatabase &database, const QList<OnHandChange> &changes);

} // namespace BarListWrites
