#pragma once
// How the shown drink tells what the user lacks: a mark on each line whose ingredient is neither
// on the bar list nor common, and one summary line under the ingredients.

#include "store/output_window.h"

#include <QColor>
#include <QIcon>
#include <QPalette>

// A colour for the marked lines that stands out from the palette's text on its base, light or dark.
QColor missingColour(const QPalette &palette);
// A crossed circle in that colour: the shape carries the meaning where colours do not.
QIcon missingIcon(const QPalette &palette);
// An empty icon of the same size, so marked and unmarked lines start at one edge.
QIcon noMarkIcon();
// "You have everything for this drink." or "Missing: Campari, Orange peel" (each ingredient once,
// in line order).
QString missingSummary(const QList<DrinkLine> &lines);
int missingLineCount(const QList<DrinkLine> &lines);
