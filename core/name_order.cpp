#include "core/name_order.h"

#include <algorithm>

namespace {

bool isAscii(QStringView text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

char16_t foldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

QString lowerAscii(QString text)
{
    for (QChar &c : text)
        c = QChar(foldAscii(c.unicode()));
    return text;
}

// Letters that carry their "accent" inside the letter, so NFD cannot take it off.
const char16_t *spelledOut(char16_t c)
{
    switch (c) {
    case u'ø': return u"o";
    case u'ł': return u"l";
    case u'đ': case u'ð': return u"d";
    case u'ħ': return u"h";
    case u'ı': return u"i";
    case u'ß': return u"ss";
    case u'æ': return u"ae";
    case u'œ': return u"oe";
    case u'þ': return u"th";
    default: return nullptr;
    }
}

int compareKeys(const QString &a, const QString &b)
{
    const int order = QString::compare(nameKey(a), nameKey(b));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

QString nameKey(const QString &name)
{
    if (isAscii(name))
        return lowerAscii(name);
    return name.normalized(QString::NormalizationForm_D).toCaseFolded().normalized(QString::NormalizationForm_C);
}

QString searchKey(const QString &text)
{
    if (isAscii(text))
        return lowerAscii(text);
    const QString folded = text.normalized(QString::NormalizationForm_D).toCaseFolded().normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(folded.size());
    for (QChar c : folded) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (const char16_t *spelled = spelledOut(c.unicode()))
            key += QString::fromUtf16(spelled);
        else
            key += c;
    }
    return key.normalized(QString::NormalizationForm_C);
}

void sortNames(QStringList &names)
{
    if (!std::is_sorted(names.cbegin(), names.cend(), NameLess()))
        std::stable_sort(names.begin(), names.end(), NameLess());
}

int compareNames(const QString &a, const QString &b)
{
    // Plain ASCII compares character by character without building keys; a character outside it
    // (which may also compose with the one before it) sends both names to the full rule.
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 0x80 || y >= 0x80)
            return compareKeys(a, b);
        const char16_t fx = foldAscii(x), fy = foldAscii(y);
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    const QString &longer = a.size() > b.size() ? a : b;
    if (!isAscii(QStringView(longer).mid(n)))
        return compareKeys(a, b);
    return a.size() < b.size() ? -1 : 1;
}
