#include "core/name_text.h"

#include <QLocale>
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

} // namespace

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
