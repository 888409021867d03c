#include "core/name_text.h"

#include "core/name_order.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool isInvisible(char16_t c)
{
    return c == 0x00AD                       // soft hyphen
           || (c >= 0x200B && c <= 0x200F)   // zero-width space, non-joiner, joiner; direction marks
           || (c >= 0x202A && c <= 0x202E)   // embeddings and overrides
           || (c >= 0x2060 && c <= 0x2064)   // word joiner, invisible operators
           || (c >= 0x2066 && c <= 0x2069)   // isolates
           || c == 0xFEFF;                   // byte-order mark, or the old zero-width no-break space
}

template <typename Drop>
QString without(const QString &text, Drop drop)
{
    const auto keep = [&](QChar c) { return !drop(c.unicode()); };
    // Most texts hold nothing to drop; they are given back without a copy.
    if (std::all_of(text.cbegin(), text.cend(), keep))
        return text;
    QString kept;
    kept.reserve(text.size());
    std::copy_if(text.cbegin(), text.cend(), std::back_inserter(kept), keep);
    return kept;
}

bool isDropped(char16_t c)
{
    return isControl(c) || isInvisible(c);
}

// The characters cleanName takes out of the text, in order.
QString droppedFrom(const QString &text)
{
    QString dropped;
    std::copy_if(text.cbegin(), text.cend(), std::back_inserter(dropped), [](QChar c) { return isDropped(c.unicode()); });
    return dropped;
}

QString codePoint(QChar c)
{
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

// "an invisible character U+200B", "invisible characters U+200B and U+FEFF": each one once.
QString invisibleCharacters(const QString &chars)
{
    QStringList codes;
    for (QChar c : chars) {
        if (!codes.contains(codePoint(c)))
            codes << codePoint(c);
    }
    if (codes.size() == 1)
        return QStringLiteral("an invisible character ") + codes[0];
    const QString last = codes.takeLast();
    return QStringLiteral("invisible characters ") + codes.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// `composed` holds an accented letter as one character where `other` spells it as a letter and
// combining marks; names the first such letter.
QString compositionClause(const QString &composed, const QString &other)
{
    const QString otherFolded = other.toCaseFolded();
    QChar letter;
    for (QChar c : composed) {
        if (c.decompositionTag() != QChar::Canonical)
            continue;
        if (letter.isNull())
            letter = c;
        if (!otherFolded.contains(QString(c).toCaseFolded())) {
            letter = c;
            break;
        }
    }
    if (letter.isNull()) // the Ohm sign and the Greek Omega, say
        return QStringLiteral("they are written with different but equivalent characters");
    const QString spelled = QString(letter).normalized(QString::NormalizationForm_D);
    return QStringLiteral("one has a composed '%1', the other '%2' followed by %3")
        .arg(QString(letter), spelled.left(1),
             spelled.size() > 2 ? QStringLiteral("combining accents") : QStringLiteral("a combining accent"));
}

} // namespace

QString howNamesDiffer(const QString &a, const QString &b)
{
    const QString x = cleanName(a), y = cleanName(b);
    if (a == b || !sameName(x, y))
        return QString();
    QStringList clauses;
    const QString xd = x.normalized(QString::NormalizationForm_D), yd = y.normalized(QString::NormalizationForm_D);
    if (xd != yd)
        clauses << QStringLiteral("they differ in letter case");
    if (xd == yd ? x != y : x.toCaseFolded() != y.toCaseFolded()) {
        const bool xComposed = x == x.normalized(QString::NormalizationForm_C);
        const bool yComposed = y == y.normalized(QString::NormalizationForm_C);
        clauses << (xComposed == yComposed ? QStringLiteral("they compose their accents differently")
                                           : xComposed ? compositionClause(x, y) : compositionClause(y, x));
    }
    const QString hiddenA = droppedFrom(a), hiddenB = droppedFrom(b);
    if (hiddenA != hiddenB) {
        if (hiddenA.isEmpty() || hiddenB.isEmpty())
            clauses << QStringLiteral("one has ") + invisibleCharacters(hiddenA + hiddenB);
        else
            clauses << QStringLiteral("one has ") + invisibleCharacters(hiddenA) + QStringLiteral(", the other ")
                           + invisibleCharacters(hiddenB);
    } else if (clauses.isEmpty() && !hiddenA.isEmpty()) {
        clauses << QStringLiteral("they have %1 in different places").arg(invisibleCharacters(hiddenA));
    }
    if (clauses.isEmpty()) // equal under the rule by a character's other form, as the Ohm and Omega signs
        return QStringLiteral("they are written with different but equivalent characters");
    const QString last = clauses.takeLast();
    return clauses.isEmpty() ? last : clauses.join(QStringLiteral(", ")) + QStringLiteral(", and ") + last;
}

QString cleanName(const QString &text)
{
    return without(text, [](char16_t c) { return isControl(c) || isInvisible(c); });
}

QString withoutControlCharacters(const QString &text)
{
    return without(text, isControl);
}

QString nameInMessage(const QString &name, QChar quote)
{
    if (name.size() <= kNameShownInMessage)
        return quote + name + quote;
    qsizetype cut = kNameShownInMessage;
    if (name.at(cut - 1).isHighSurrogate())
        --cut; // not half a character
    // Grouped as the messages' own English text is, whatever the user's locale.
    const QString length = QLocale(QLocale::English, QLocale::UnitedStates).toString(qlonglong(name.size()));
    return quote + name.left(cut) + QChar(0x2026) + quote + QStringLiteral(" (%1 characters)").arg(length);
}
