#include "common/number_format.h"

#include <QLocale>
#include <cmath>

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
