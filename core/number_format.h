#pragma once
// The number patterns of the status texts, in the user's locale, and fractions typed in amounts.

#include <QString>

// "###.000": three decimals, no leading zero and no grouping (0.25 -> ".250", 12.5 -> "12.500").
QString formatSeconds(double seconds);
// "0.###": at least one integer digit and up to three decimals without trailing zeros
// (2.5 -> "2.5", 0.25 -> "0.25", 3 -> "3").
QString formatSecondsShort(double seconds);
// "##,##0": rounded half away from zero to a whole number, digits grouped in threes with the
// locale's separator (1234567.8 -> "1,234,568", -0.4 -> "0").
QString formatThousands(double value);
// The time from `start` to `end`, both seconds since midnight, across midnight when end < start.
double elapsedSeconds(double start, double end);

// The amount as typed with one fraction of a small table (1/4, 1/2, 3/4, 1/5, 1/3, 2/3, 1/8)
// written as a decimal: "1 1/2" gives "1.5". Other texts come back unchanged.
QString fractionToDecimal(const QString &amount);
