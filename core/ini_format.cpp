#include "core/ini_format.h"

#include <QIODevice>
#include <QStringDecoder>

namespace ini {
namespace {

const QString kGeneral = QStringLiteral("General");

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'0' && u <= u'9' ? u - u'0' : u >= u'a' && u <= u'f' ? u - u'a' + 10 : u >= u'A' && u <= u'F' ? u - u'A' + 10 : -1;
}

bool isHex(QChar c)
{
    return hexValue(c) >= 0;
}

// Half of a surrogate pair without its other half: UTF-8 has no form for it, so it is escaped.
bool loneSurrogate(const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return false;
}

void appendPercent(QString &out, char16_t u)
{
    out += (u <= 0xFF ? QStringLiteral("%%1").arg(uint(u), 2, 16, QLatin1Char('0'))
                      : QStringLiteral("%U%1").arg(uint(u), 4, 16, QLatin1Char('0')))
               .toUpper();
}

// A key or section name as written: readable, with only what the line's syntax would take as its own
// percent-encoded. A '/' inside a key is a subgroup and is written as '\'.
QString escapedName(const QString &name, bool section)
{
    QString out;
    out.reserve(name.size());
    const qsizetype last = name.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        const QChar c = name.at(i);
        const char16_t u = c.unicode();
        if (u == u'/' && !section) {
            out += QLatin1Char('\\');
        } else if (u < 0x20 || u == 0x7F || loneSurrogate(name, i) || u == u'%' || u == u'=' || u == u'"' || u == u'\\' || u == u'/'
                   || ((i == 0 || i == last) && c.isSpace()) || (i == 0 && (u == u';' || u == u'#' || u == u'['))
                   || (section && u == u']')) {
            appendPercent(out, u);
        } else {
            out += c;
        }
    }
    return out;
}

// Reads a name in either form: this dialect's, or the fully percent-encoded one of Qt's INI files.
QString unescapedName(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\') {
            out += QLatin1Char('/');
        } else if (c == u'%' && i + 2 < text.size() && isHex(text.at(i + 1)) && isHex(text.at(i + 2))) {
            out += QChar(text.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else if (c == u'%' && i + 5 < text.size() && text.at(i + 1) == u'U' && isHex(text.at(i + 2))
                   && isHex(text.at(i + 3)) && isHex(text.at(i + 4)) && isHex(text.at(i + 5))) {
            out += QChar(text.mid(i + 2, 4).toUShort(nullptr, 16));
            i += 5;
        } else {
            out += c;
        }
    }
    return out;
}

QString escapedValue(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("@Invalid()");
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray()); // a typed value read from the file, kept as it was
    QString text = value.toString();
    if (text.startsWith(QLatin1Char('@')))
        text.prepend(QLatin1Char('@')); // "@..." marks a typed value in these files
    QString out;
    out.reserve(text.size() + 2);
    bool afterHexEscape = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        // A hex escape reads every hex digit after it: a digit that follows one is escaped too.
        if (afterHexEscape && isHex(c)) {
            out += QStringLiteral("\\x%1").arg(uint(u), 0, 16);
            continue;
        }
        afterHexEscape = false;
        switch (u) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'"': out += QLatin1String("\\\""); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        default:
            if (u < 0x20 || u == 0x7F || loneSurrogate(text, i)) {
                out += QStringLiteral("\\x%1").arg(uint(u), 0, 16);
                afterHexEscape = true;
            } else {
                out += c;
            }
        }
    }
    // Quotes keep the spaces at either end (any the line's trimming would take, a no-break space
    // too); a ';' could start a comment for other INI readers.
    if (out.contains(QLatin1Char(';')) || (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace())))
        out = QLatin1Char('"') + out + QLatin1Char('"');
    return out;
}

QVariant unescapedValue(QStringView text)
{
    QString out;
    out.reserve(text.size());
    bool quoted = false;
    qsizetype keep = 0; // trailing spaces before this are the value's own (quoted or escaped)
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    while (i < text.size()) {
        const QChar c = text.at(i++);
        if (c == u'"') {
            quoted = !quoted;
            keep = out.size();
        } else if (c == u'\\' && i < text.size()) {
            const QChar e = text.at(i++);
            static const char kSimple[] = "a\ab\bf\fn\nr\rt\tv\v'\'\"\"??\\\\";
            const char *found = nullptr;
            for (const char *p = kSimple; *p; p += 2)
                if (e == QLatin1Char(*p))
                    found = p;
            if (found) {
                out += QLatin1Char(found[1]);
            } else if (e == u'x' && i < text.size() && isHex(text.at(i))) {
                uint code = 0;
                while (i < text.size() && isHex(text.at(i)))
                    code = (code * 16 + uint(hexValue(text.at(i++)))) & 0xFFFF;
                out += QChar(char16_t(code));
            } else if (e >= u'0' && e <= u'7') {
                uint code = e.unicode() - u'0';
                while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'7')
                    code = (code * 8 + (text.at(i++).unicode() - u'0')) & 0xFFFF;
                out += QChar(char16_t(code));
            } // any other escaped character is dropped, as Qt's reader does
            keep = out.size();
        } else {
            out += c;
            if (quoted)
                keep = out.size();
        }
    }
    qsizetype end = out.size();
    while (end > keep && (out.at(end - 1) == u' ' || out.at(end - 1) == u'\t'))
        --end;
    out.truncate(end);

    if (out.startsWith(QLatin1String("@@")))
        return out.mid(1);
    if (out == QLatin1String("@Invalid()"))
        return QVariant();
    if (out.startsWith(QLatin1String("@ByteArray(")) && out.endsWith(QLatin1Char(')')))
        return out.mid(11, out.size() - 12);
    // A typed value (a point, a size...) is no text this program reads: it stays in the file unchanged.
    if (out.startsWith(QLatin1String("@Variant(")))
        return text.trimmed().toUtf8();
    return out;
}

QString decoded(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    // A file saved in an 8-bit code page by hand still reads, letter for letter.
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace

QSettings::SettingsMap parse(const QByteArray &bytes)
{
    QSettings::SettingsMap map;
    const QString text = decoded(bytes);
    QString section;
    for (QStringView line : QStringView(text).tokenize(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            const QStringView name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            // "[General]" holds the keys outside any group; a group of that name in any letter case
            // is written "[%General]", "[%general]"..., and keeps its own spelling when read back.
            if (name.compare(kGeneral, Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.startsWith(u'%') && name.mid(1).compare(kGeneral, Qt::CaseInsensitive) == 0)
                section = name.mid(1).toString();
            else
                section = unescapedName(name);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue; // not a setting: kept out rather than guessed at
        // As QSettings names keys: no empty group between slashes, none at either end. A path with
        // one could not be written back as the same section and key.
        const QString path = (section + QLatin1Char('/') + unescapedName(line.left(equals).trimmed()))
                                 .split(QLatin1Char('/'), Qt::SkipEmptyParts)
                                 .join(QLatin1Char('/'));
        if (path.isEmpty())
            continue;
        map.insert(path, unescapedValue(line.mid(equals + 1)));
    }
    return map;
}

QByteArray format(const QSettings::SettingsMap &map)
{
    // Sections in name order, the keys outside any group first under [General].
    QMap<QString, QString> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : it.key().left(slash);
        const QString key = slash < 0 ? it.key() : it.key().mid(slash + 1);
        sections[section] += escapedName(key, false) + QLatin1Char('=') + escapedValue(it.value()) + QLatin1Char('\n');
    }
    QString text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        const QString name = it.key().isEmpty()                                ? kGeneral
                             : it.key().compare(kGeneral, Qt::CaseInsensitive) == 0 ? QLatin1Char('%') + it.key()
                                                                                 : escapedName(it.key(), true);
        text += QLatin1Char('[') + name + QLatin1String("]\n") + it.value();
    }
    return text.toUtf8();
}

bool isSettingsText(const QByteArray &bytes)
{
    // Our own files escape every control character; a few typed by hand are forgiven.
    qsizetype controls = 0;
    for (const char c : bytes) {
        if (c == '\0')
            return false;
        if (uchar(c) < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v')
            ++controls;
    }
    return controls * 100 <= bytes.size();
}

bool read(QIODevice &device, QSettings::SettingsMap &map)
{
    map.clear();
    // Far larger than any settings file this program writes: nothing is read, so a file of junk
    // costs neither the start's time nor its memory.
    if (device.size() > kMaxSettingsBytes)
        return false;
    const QByteArray bytes = device.read(kMaxSettingsBytes + 1);
    if (bytes.size() > kMaxSettingsBytes || !isSettingsText(bytes))
        return false;
    map = parse(bytes);
    return true;
}

bool write(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QByteArray bytes = format(map);
    return device.write(bytes) == bytes.size();
}

QSettings::Format settingsFormat()
{
    static const QSettings::Format registered = QSettings::registerFormat(QStringLiteral("ini"), read, write);
    return registered;
}

} // namespace ini
