#include "store/engine/library_json.h"

#include "core/engine_error.h"
#include "core/name_order.h"
#include "core/name_text.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <optional>

namespace library {

namespace {

// Far more than the largest library (32,767 drinks with long directions); a bigger file is not one,
// and is not read into memory.
constexpr qint64 kLargestFile = 256 * 1024 * 1024;

// Tab and line ends are the only control characters a text may hold: a NUL would hide the text
// after it, the others show as nothing or as boxes.
bool isForbiddenControl(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 || (u >= 0x7F && u <= 0x9F)) && u != u'\t' && u != u'\r' && u != u'\n';
}

std::optional<char16_t> forbiddenControl(const QString &text)
{
    const auto found = std::find_if(text.cbegin(), text.cend(), isForbiddenControl);
    return found == text.cend() ? std::nullopt : std::optional<char16_t>(found->unicode());
}

class Reader {
public:
    Library read(const QByteArray &json);

private:
    void problem(const QString &where, const QString &what)
    {
        if (m_problems.size() < kProblemsShown)
            m_problems << (where.isEmpty() ? what : where + QStringLiteral(": ") + what);
        ++m_total;
    }
    [[noreturn]] void refuse() const;
    // Walks the entries of a list: each must be an object; `read` is given it with where it is
    // ("drink 3 "Margarita"") and says whether it had a name. A name met again is a problem of the
    // later entry, which is then not read, or with `merged` given, counted there and not read.
    template <typename Read>
    void readList(const QJsonValue &list, const char *listName, const char *kind, Read read, int *merged = nullptr);
    Drink readDrink(const QJsonObject &o, const QString &where);
    // The name member of an entry; false when it is missing or not allowed (a problem says why).
    bool readName(const QJsonObject &o, const QString &where, bool isIngredient, QString &name);
    bool readFlag(const QJsonObject &o, QLatin1String key, const QString &where);
    // A text member; absent or null gives `fallback`. A text longer than `longest` is a problem.
    QVariant readText(const QJsonObject &o, QLatin1String key, const QString &where, const QVariant &fallback,
                      qsizetype longest = kMaxFieldLength);

    Library m_lib;
    QHash<QString, int> m_ingredientAt; // name key -> index in the list
    QStringList m_problems;
    int m_total = 0;
};

void Reader::refuse() const
{
    QString text = QStringLiteral("The drink library is not valid:");
    for (const QString &p : m_problems)
        text += QStringLiteral("\n") + p;
    const int more = m_total - int(m_problems.size());
    if (more > 0)
        text += more == 1 ? QStringLiteral("\n... and 1 more problem.") : QStringLiteral("\n... and %1 more problems.").arg(more);
    throw EngineError(err::UnrecognizedFormat, text);
}

bool Reader::readFlag(const QJsonObject &o, QLatin1String key, const QString &where)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull())
        return false;
    if (!v.isBool())
        problem(where, QStringLiteral("\"%1\" must be true or false.").arg(key));
    return v.toBool();
}

QVariant Reader::readText(const QJsonObject &o, QLatin1String key, const QString &where, const QVariant &fallback,
                          qsizetype longest)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull())
        return fallback;
    if (!v.isString()) {
        problem(where, QStringLiteral("\"%1\" must be text in double quotes.").arg(key));
        return fallback;
    }
    const QString text = v.toString();
    if (text.size() > longest)
        problem(where, QStringLiteral("\"%1\" is longer than %2 characters.").arg(key).arg(longest));
    if (const auto c = forbiddenControl(text))
        problem(where, QStringLiteral("\"%1\" holds the control character U+%2.").arg(key).arg(int(*c), 4, 16, QLatin1Char('0')));
    return text;
}

bool Reader::readName(const QJsonObject &o, const QString &where, bool isIngredient, QString &name)
{
    const QJsonValue v = o.value(QLatin1String("name"));
    if (!v.isUndefined() && !v.isNull() && !v.isString()) {
        problem(where, QStringLiteral("\"name\" must be text in double quotes."));
        return false;
    }
    name = v.toString();
    if (name.trimmed().isEmpty()) {
        problem(where, QStringLiteral("no name."));
        return false;
    }
    bool ok = true;
    if (name.contains(QLatin1Char('"'))) {
        problem(where, QStringLiteral("the name contains a double quote."));
        ok = false;
    }
    if (isIngredient && name.contains(QLatin1Char(','))) {
        problem(where, QStringLiteral("the name contains a comma, which separates names in ingredient searches."));
        ok = false;
    }
    // The program takes these out of every name it is given, so a stored one could never be matched.
    if (cleanName(name) != name) {
        problem(where, QStringLiteral("the name holds a control or invisible character."));
        ok = false;
    }
    if (name.size() > kMaxFieldLength) {
        problem(where, QStringLiteral("the name is longer than %1 characters.").arg(kMaxFieldLength));
        ok = false;
    }
    return ok;
}

template <typename Read>
void Reader::readList(const QJsonValue &list, const char *listName, const char *kind, Read read, int *merged)
{
    if (!list.isArray()) {
        problem(QString(), QStringLiteral("\"%1\" must be a list in square brackets.").arg(QLatin1String(listName)));
        return;
    }
    const QJsonArray array = list.toArray();
    QHash<QString, qsizetype> first; // name key -> the entry that has the name
    for (qsizetype i = 0; i < array.size(); ++i) {
        QString where = QStringLiteral("%1 %2").arg(QLatin1String(kind)).arg(i + 1);
        if (!array[i].isObject()) {
            problem(where, QStringLiteral("not an object in braces."));
            continue;
        }
        const QJsonObject o = array[i].toObject();
        const QJsonValue name = o.value(QLatin1String("name"));
        if (name.isString())
            where += QLatin1Char(' ') + nameInMessage(name.toString());
        const QString key = nameKey(name.toString());
        const auto earlier = first.constFind(key);
        if (earlier != first.cend()) {
            if (merged) {
                ++*merged;
                continue;
            }
            // Names equal under the rule may look the same on screen: say what tells them apart.
            const QString other = array[*earlier].toObject().value(QLatin1String("name")).toString();
            const QString difference = howNamesDiffer(name.toString(), other);
            problem(where, QStringLiteral("listed twice (also %1 %2 %3%4).")
                               .arg(QLatin1String(kind))
                               .arg(*earlier + 1)
                               .arg(nameInMessage(other), difference.isEmpty() ? QString() : QStringLiteral("; ") + difference));
            continue;
        }
        if (read(o, where))
            first.insert(key, i);
    }
}

Drink Reader::readDrink(const QJsonObject &o, const QString &where)
{
    Drink d;
    readName(o, where, false, d.name);
    d.directions = readText(o, QLatin1String("directions"), where, QString(), kMaxDrinkText).toString();
    d.comments = readText(o, QLatin1String("comments"), where, QVariant(), kMaxDrinkText);
    d.tried = readFlag(o, QLatin1String("tried"), where);
    d.print = readFlag(o, QLatin1String("print"), where);
    d.submitted = readFlag(o, QLatin1String("submitted"), where);
    const QJsonValue lines = o.value(QLatin1String("lines"));
    if (lines.isUndefined() || lines.isNull())
        return d;
    if (!lines.isArray()) {
        problem(where, QStringLiteral("\"lines\" must be a list in square brackets."));
        return d;
    }
    const QJsonArray array = lines.toArray();
    if (array.size() > kMaxDrinkLines) {
        problem(where, QStringLiteral("more than %1 lines.").arg(kMaxDrinkLines));
        return d;
    }
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString at = where + QStringLiteral(", line %1").arg(i + 1);
        if (!array[i].isObject()) {
            problem(at, QStringLiteral("not an object in braces."));
            continue;
        }
        const QJsonObject lo = array[i].toObject();
        const QJsonValue amount = lo.value(QLatin1String("amount"));
        Line line;
        if (amount.isDouble())
            problem(at, QStringLiteral("the amount %1 is a number; write it as text in double quotes, such as \"%1 Ounces\".")
                            .arg(amount.toDouble()));
        else
            line.amount = readText(lo, QLatin1String("amount"), at, QString()).toString();
        const QJsonValue ingredient = lo.value(QLatin1String("ingredient"));
        if (!ingredient.isString() || ingredient.toString().trimmed().isEmpty()) {
            problem(at, ingredient.isUndefined() || ingredient.isNull() || ingredient.isString()
                            ? QStringLiteral("no ingredient.")
                            : QStringLiteral("\"ingredient\" must be text in double quotes."));
            continue;
        }
        const auto found = m_ingredientAt.constFind(nameKey(ingredient.toString()));
        if (found == m_ingredientAt.cend()) {
            problem(at, QStringLiteral("uses %1, which is not in the ingredient list.").arg(nameInMessage(ingredient.toString())));
            continue;
        }
        line.ingredient = m_lib.ingredients[*found].name;
        d.lines.append(line);
    }
    return d;
}

Library Reader::read(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = json.left(error.offset);
        const qsizetype lineStart = before.lastIndexOf('\n') + 1;
        problem(QStringLiteral("line %1, column %2").arg(before.count('\n') + 1).arg(error.offset - lineStart + 1),
                QStringLiteral("not JSON (%1).").arg(error.errorString()));
        refuse();
    }
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(QLatin1String("format")).toString() != QLatin1String("zestro-library")) {
        problem(QString(), QStringLiteral("the \"format\" entry must be \"zestro-library\"; this is not a Zestro drink library."));
        refuse();
    }
    if (root.value(QLatin1String("version")).toInt() != 1) {
        problem(QString(), QStringLiteral("only version 1 is understood."));
        refuse();
    }
    readList(root.value(QLatin1String("ingredients")), "ingredients", "ingredient", [this](const QJsonObject &o, const QString &where) {
        Ingredient ing;
        const bool named = readName(o, where, true, ing.name);
        ing.common = readFlag(o, QLatin1String("common"), where);
        ing.has = readFlag(o, QLatin1String("has"), where);
        if (named) {
            m_ingredientAt.insert(nameKey(ing.name), int(m_lib.ingredients.size()));
            m_lib.ingredients.append(ing);
        }
        return named;
    }, &m_lib.mergedSpellings);
    readList(root.value(QLatin1String("drinks")), "drinks", "drink", [this](const QJsonObject &o, const QString &where) {
        Drink d = readDrink(o, where);
        const bool named = !d.name.trimmed().isEmpty();
        if (named)
            m_lib.drinks.append(std::move(d));
        return named;
    });
    if (m_lib.ingredients.size() > kMaxLibraryKey || m_lib.drinks.size() > kMaxLibraryKey)
        problem(QString(), QStringLiteral("a library holds at most %1 drinks and %1 ingredients.").arg(kMaxLibraryKey));
    if (m_total > 0)
        refuse();
    return std::move(m_lib);
}

// JSON text of a string: quotes, backslashes and line ends escaped, the rest as UTF-8. Control
// characters the reader refuses are left out, so that every file written reads back.
void appendString(QByteArray &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    QString kept = text;
    kept.removeIf(isForbiddenControl);
    const QByteArray utf8 = kept.toUtf8();
    for (const char c : utf8) {
        const auto u = uchar(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            switch (c) {
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                out += "\\u00";
                out += hex[u >> 4];
                out += hex[u & 0xF];
            }
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

Library parseLibraryJson(const QByteArray &json)
{
    return Reader().read(json);
}

Library readLibraryJson(const QString &path)
{
    const QFileInfo info(path);
    // Only a regular file: a named pipe or a device could keep the read waiting or never end.
    if (info.exists() && !info.isFile())
        throw EngineError(err::FileNotFound, QStringLiteral("Could not read the drink library '%1': it is not a file.").arg(path));
    if (info.size() > kLargestFile)
        throw EngineError(err::UnrecognizedFormat, QStringLiteral("'%1' is too large to be a drink library.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(err::FileNotFound, QStringLiteral("Could not read the drink library '%1': %2").arg(path, file.errorString()));
    return parseLibraryJson(file.read(kLargestFile + 1));
}

QByteArray libraryJson(const Library &lib)
{
    QByteArray out;
    out.reserve(lib.ingredients.size() * 48 + lib.drinks.size() * 512);
    out += "{\n  \"format\": \"zestro-library\",\n  \"version\": 1,\n  \"ingredients\": [";
    for (qsizetype i = 0; i < lib.ingredients.size(); ++i) {
        const Ingredient &ing = lib.ingredients[i];
        out += i ? ",\n    { \"name\": " : "\n    { \"name\": ";
        appendString(out, ing.name);
        if (ing.common)
            out += ", \"common\": true";
        if (ing.has)
            out += ", \"has\": true";
        out += " }";
    }
    out += lib.ingredients.isEmpty() ? "],\n  \"drinks\": [" : "\n  ],\n  \"drinks\": [";
    for (qsizetype i = 0; i < lib.drinks.size(); ++i) {
        const Drink &d = lib.drinks[i];
        out += i ? ",\n    {\n      \"name\": " : "\n    {\n      \"name\": ";
        appendString(out, d.name);
        out += ",\n      \"lines\": [";
        for (qsizetype l = 0; l < d.lines.size(); ++l) {
            out += l ? ",\n        { \"amount\": " : "\n        { \"amount\": ";
            appendString(out, d.lines[l].amount);
            out += ", \"ingredient\": ";
            appendString(out, d.lines[l].ingredient);
            out += " }";
        }
        out += d.lines.isEmpty() ? "],\n      \"directions\": " : "\n      ],\n      \"directions\": ";
        appendString(out, d.directions);
        if (!d.comments.isNull()) {
            out += ",\n      \"comments\": ";
            appendString(out, d.comments.toString());
        }
        if (d.tried)
            out += ",\n      \"tried\": true";
        if (d.print)
            out += ",\n      \"print\": true";
        if (d.submitted)
            out += ",\n      \"submitted\": true";
        out += "\n    }";
    }
    out += lib.drinks.isEmpty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

} // namespace library
