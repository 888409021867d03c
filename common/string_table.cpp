#include "common/string_table.h"

#include "core/engine_error.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtGlobal>

// The resources live in a static library: naming them here makes the linker keep them.
static void initStringTableResource()
{
    Q_INIT_RESOURCE(zestro);
}

namespace {
// One entry: language code ("en", "de", ...) to text.
using Entry = QHash<QString, QString>;

QHash<int, Entry> readTable()
{
    initStringTableResource();
    QHash<int, Entry> table;
    QFile file(QStringLiteral(":/string_table.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("String table resource missing: every caption lookup will fail");
        return table;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        qWarning("String table unreadable: %s", qPrintable(parseError.errorString()));

    const QJsonObject strings = document.object().value(QStringLiteral("strings")).toObject();
    for (auto it = strings.begin(); it != strings.end(); ++it) {
        bool isNumber = false;
        const int id = it.key().toInt(&isNumber);
        const QJsonObject texts = it.value().toObject();
        if (!isNumber || !texts.contains(QStringLiteral("en"))) {
            qWarning("String table entry '%s' skipped: no number or no English text", qPrintable(it.key()));
            continue;
        }
        Entry entry;
        for (auto text = texts.begin(); text != texts.end(); ++text)
            entry.insert(text.key(), text.value().toString());
        table.insert(id, entry);
    }
    return table;
}

// Read once, on first use: captions are looked up every time a window loads.
const QHash<int, Entry> &table()
{
    static const QHash<int, Entry> loaded = readTable();
    return loaded;
}

QLocale::Language &languageOverride()
{
    static QLocale::Language language = QLocale::AnyLanguage;
    return language;
}

QString languageCode()
{
    const QLocale::Language language =
        languageOverride() != QLocale::AnyLanguage ? languageOverride() : QLocale::system().language();
    switch (language) {
    case QLocale::German: return QStringLiteral("de");
    case QLocale::French: return QStringLiteral("fr");
    case QLocale::Italian: return QStringLiteral("it");
    case QLocale::Spanish: return QStringLiteral("es");
    default: return QStringLiteral("en");
    }
}
} // namespace

QString LoadResString(int id)
{
    const auto found = table().constFind(id);
    if (found == table().cend())
        throw EngineError(err::ResourceNotFound,
                          QStringLiteral("Resource with identifier '%1' not found").arg(id));
    const Entry &entry = found.value();
    const auto translated = entry.constFind(languageCode());
    return translated != entry.cend() ? translated.value() : entry.value(QStringLiteral("en"));
}

void setStringTableLanguage(QLocale::Language language)
{
    languageOverride() = language;
}
