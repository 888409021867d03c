#include "search/bar_list_text.h"

#include "core/name_text.h"

#include <QStringDecoder>
#include <algorithm>

std::optional<QString> decodeBarList(QByteArrayView bytes)
{
    // Stateless: a character cut short at the end is an error, not kept back for more bytes.
    constexpr auto kWhole = QStringConverter::Flag::Stateless;
    QString text;
    const auto marked = QStringConverter::encodingForData(bytes);
    if (marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked, kWhole); // drops the mark
        text = decoder(bytes);
        if (decoder.hasError())
            return std::nullopt;
    } else {
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes = bytes.sliced(3);
        QStringDecoder utf8(QStringConverter::Utf8, kWhole);
        text = utf8(bytes);
        if (utf8.hasError())
            text = QString::fromLatin1(bytes);
    }
    // UTF-16 and UTF-32 decoders let half a surrogate pair through; no name holds one, and it
    // could not be written back.
    if (text.contains(QChar(0)) || !QStringView(text).isValidUtf16())
        return std::nullopt;
    return text;
}

// Latin-1 keeps the file 8-bit, as other bar-list tools expect. Names outside Latin-1 make the
// file UTF-8; so does Latin-1 text whose bytes would read back as UTF-8 and change.
QByteArray encodeBarList(const QString &text)
{
    const bool latin1 = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (latin1) {
        const QByteArray bytes = text.toLatin1();
        if (decodeBarList(bytes) == text)
            return bytes;
    }
    return text.toUtf8();
}

QStringList splitBarListLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

std::optional<QStringList> barListNames(QByteArrayView bytes)
{
    const std::optional<QString> text = decodeBarList(bytes);
    if (!text)
        return std::nullopt;
    QStringList lines = splitBarListLines(*text);
    for (QString &line : lines)
        line = cleanName(line);
    return lines;
}
