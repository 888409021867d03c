#include "common/access_key.h"

QString captionWithAccessKey(const QString &text, QString &taken)
{
    QString caption;
    caption.reserve(text.size() + 2);
    bool keyed = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('&')) {
            caption += QStringLiteral("&&");
            continue;
        }
        if (!keyed && c.isLetterOrNumber() && !taken.contains(c.toLower())) {
            taken += c.toLower();
            caption += QLatin1Char('&');
            keyed = true;
        }
        caption += c;
    }
    return caption;
}
