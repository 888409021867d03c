#include "core/number_format.h"

#include <QLocale>
#include <array>
#include <cmath>
#include <utility>

QString formatSeconds(double seconds)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QString text = locale.toString(std::abs(seconds), 'f', 3);
    if (text.startsWith(locale.zeroDigit()))
        text.remove(0, locale.zeroDigit().size());
    // Only a value that still shows a non-zero digit keeps its sign: -0.0001 prints as ".000".
    const bool allZero = std::round(std::abs(seconds) * 1000) == 0;
    if (seconds < 0 && !allZero)
        text.prepend(locale.negativeSign());
    return text;
}

QString formatSecondsShort(double seconds)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QString text = locale.toString(std::abs(seconds), 'f', 3);
    const QString zero = locale.zeroDigit();
    const QString point = locale.decimalPoint();
    while (text.endsWith(zero))
        text.chop(zero.size());
    if (text.endsWith(point))
        text.chop(point.size());
    if (text.isEmpty())
        text = zero;
    if (seconds < 0 && text != zero)
        text.prepend(locale.negativeSign());
    return text;
}

QString formatThousands(double value)
{
    QLocale locale;
    // The C locale leaves the separator out unless asked; the pattern always groups.
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    const auto whole = static_cast<qlonglong>(std::round(value));
    return locale.toString(whole);
}

double elapsedSeconds(double start, double end)
{
    const double elapsed = end - start;
    return elapsed < 0 ? elapsed + 86400.0 : elapsed;
}

QString fractionToDecimal(const QString &sAmount)
{
    static const std::array<std::pair<QString, QString>, 7> kFractions{{
        {QStringLiteral("1/4"), QStringLiteral(".25")},
        {QStringLiteral("1/2"), QStringLiteral(".5")},
        {QStringLiteral("3/4"), QStringLiteral(".75")},
        {QStringLiteral("1/5"), QStringLiteral(".2")},
        {QStringLiteral("1/3"), QStringLiteral(".3")},
        {QStringLiteral("2/3"), QStringLiteral(".6")},
        {QStringLiteral("1/8"), QStringLiteral(".125")},
    }};
    const qsizetype length = sAmount.size();
    QString result;
    bool found = false;
    // Every pair looks at the text as typed, so with two fractions the later pair of the table wins.
    for (const auto &[fraction, decimal] : kFractions) {
        const qsizetype p = sAmount.indexOf(fraction) + 1; // 1-based; 0 when absent
        if (p == 0 || p == 2)
            continue; // "11/2" is eleven halves, not one and a half
        found = true;
        if (p == 1) {
            result = decimal + sAmount.right(length - 3);
        } else if (p == 3) {
            // "1 1/2", "1-1/2": one digit, a separator, the fraction.
            result = sAmount.left(1) + decimal + sAmount.right(length - 5);
        } else {
            // Keep the character before the fraction unless it separates a number from it.
            const QChar a = sAmount.at(p - 3);
            const QChar b = sAmount.at(p - 4);
            const bool keep = a < QLatin1Char('0') || b > QLatin1Char('9');
            result = sAmount.left(keep ? p - 1 : p - 2) + decimal + sAmount.right(length - p - 2);
        }
    }
    return found ? result : sAmount;
}
