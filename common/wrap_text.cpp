// Word-wrapped text output on a print target.

#include "common/CCommonRoutines.h"

#include "common/print_target.h"

#include <cmath>

namespace {

constexpr double kTabOrigin = 720;   // twips
constexpr int kTabStopDigits = 10;   // a stop every ten widths of "0"

bool isWordCharacter(QChar c)
{
    return c.unicode() > 32;
}

} // namespace

void CCommonRoutines::WrapText(PrintTarget &oTarget, const QString &sString) const
{
    const qsizetype length = sString.size();
    qsizetype pos = 0;
    while (pos < length) {
        const qsizetype wordStart = pos;
        while (pos < length && isWordCharacter(sString[pos]))
            ++pos;
        const QString word = sString.mid(wordStart, pos - wordStart);
        if (oTarget.CurrentX() + oTarget.TextWidth(word) > oTarget.ScaleWidth())
            oTarget.Print(QString(), true);
        if (!word.isEmpty())
            oTarget.Print(word, false);

        for (; pos < length && !isWordCharacter(sString[pos]); ++pos) {
            switch (sString[pos].unicode()) {
            case ' ':
                oTarget.Print(QStringLiteral(" "), false);
                break;
            case '\n':
                oTarget.Print(QString(), true);
                break;
            case '\t': {
                // A font without a width for "0" would make every position the same stop.
                const double w = std::max(oTarget.TextWidth(QStringLiteral("0")), 1.0);
                // Nearest whole number, an exact half to the even one (the default rounding mode).
                const double n = std::nearbyint((oTarget.CurrentX() - kTabOrigin) / w);
                oTarget.setCurrentX(w * (n - std::fmod(n, kTabStopDigits) + kTabStopDigits) + kTabOrigin);
                break;
            }
            default: // carriage return and the other control characters print nothing
                break;
            }
        }
    }
}
