#pragma once
// The amount text of an ingredient line: an amount as typed, a unit from a fixed table and a short
// description, composed into the one text a line stores. Nothing reads an amount text back.

#include <QString>
#include <array>
#include <optional>

struct UnitEntry {
    QString displayName; // as the editor's unit list shows it
    QString singular;    // for an amount of 1 or less
    QString plural;      // for an amount greater than 1
};

// Entry 0 is no unit; the list of the editor keeps this order, so a position is a table number.
constexpr int kUnitCount = 21;
const std::array<UnitEntry, kUnitCount> &unitTable();

// The amount text for the given inputs: `unitIndex` is the position of the chosen unit (0 for
// none). Nothing when a unit is chosen and the amount does not read as a number.
std::optional<QString> composeAmountText(const QString &amount, int unitIndex, const QString &description);
