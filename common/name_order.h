#pragma once
// The one order of drink and ingredient names: the order of the stored queries, which compare
// names with A-Z folded to a-z and everything else by code unit. The drink list sorts by it too,
// so a list sorted in the window and one sorted by a query agree.

#include <QString>
#include <algorithm>

inline int compareNames(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= u'A' && x <= u'Z')
            x += 32;
        if (y >= u'A' && y <= u'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
