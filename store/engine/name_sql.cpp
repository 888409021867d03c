#include "store/engine/name_sql.h"

#include "core/name_order.h"

#include <QByteArray>
#include <QString>
#include <cstring>
#include <sqlite3.h>
#include <vector>

namespace engine {

namespace {

bool asciiOnly(const unsigned char *text, int length)
{
    for (int i = 0; i < length; ++i) {
        if (text[i] >= 0x80)
            return false;
    }
    return true;
}

unsigned char lowerAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

int collateNames(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    const auto *x = static_cast<const unsigned char *>(a);
    const auto *y = static_cast<const unsigned char *>(b);
    if (asciiOnly(x, lengthA) && asciiOnly(y, lengthB)) {
        const int n = std::min(lengthA, lengthB);
        for (int i = 0; i < n; ++i) {
            const unsigned char fx = lowerAscii(x[i]), fy = lowerAscii(y[i]);
            if (fx != fy)
                return fx < fy ? -1 : 1;
        }
        return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
    }
    return compareNames(QString::fromUtf8(reinterpret_cast<const char *>(x), lengthA),
                        QString::fromUtf8(reinterpret_cast<const char *>(y), lengthB));
}

// A LIKE pattern read once into pieces: literal characters (already search keys), "%" and "_".
struct Pattern {
    enum Kind : char { Literal, AnyRun, AnyOne };
    struct Piece {
        Kind kind;
        char16_t c;
    };
    QByteArray source;
    QByteArray escapeSource;
    QChar escape;
    std::vector<Piece> pieces;
    bool ascii = true; // every literal is ASCII, so ASCII texts can be matched byte by byte
};

Pattern compile(const QByteArray &source, QChar escape)
{
    Pattern p{source, {}, escape, {}, true};
    const QString text = QString::fromUtf8(source);
    QString literal;
    auto flush = [&] {
        for (QChar c : searchKey(literal)) {
            p.pieces.push_back({Pattern::Literal, c.unicode()});
            p.ascii = p.ascii && c.unicode() < 0x80;
        }
        literal.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!escape.isNull() && c == escape && i + 1 < text.size()) {
            literal += text[++i];
        } else if (c == QLatin1Char('%') || c == QLatin1Char('_')) {
            flush();
            p.pieces.push_back({c == QLatin1Char('%') ? Pattern::AnyRun : Pattern::AnyOne, 0});
        } else {
            literal += c;
        }
    }
    flush();
    return p;
}

// Wildcard matching with one remembered "%": linear for the patterns searches build.
template <typename Text>
bool matches(const std::vector<Pattern::Piece> &pieces, const Text &text, qsizetype length)
{
    size_t p = 0, starP = size_t(-1);
    qsizetype t = 0, starT = 0;
    while (t < length) {
        if (p < pieces.size() && pieces[p].kind == Pattern::AnyRun) {
            starP = p++;
            starT = t;
        } else if (p < pieces.size() && (pieces[p].kind == Pattern::AnyOne || pieces[p].c == text(t))) {
            ++p;
            ++t;
        } else if (starP != size_t(-1)) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pieces.size() && pieces[p].kind == Pattern::AnyRun)
        ++p;
    return p == pieces.size();
}

void likeFunction(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL
        || (argc == 3 && sqlite3_value_type(argv[2]) == SQLITE_NULL)) {
        sqlite3_result_null(context);
        return;
    }
    // A search tries one pattern on every row: it is read once and kept for the rows after, and
    // each row only compares the bytes it is given with the kept ones.
    thread_local Pattern pattern;
    const auto *patternText = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int patternBytes = sqlite3_value_bytes(argv[0]);
    const char *escapeText = argc == 3 ? reinterpret_cast<const char *>(sqlite3_value_text(argv[2])) : "";
    const int escapeBytes = argc == 3 ? sqlite3_value_bytes(argv[2]) : 0;
    const bool same = pattern.source.size() == patternBytes && pattern.escapeSource.size() == escapeBytes
                      && std::memcmp(pattern.source.constData(), patternText, size_t(patternBytes)) == 0
                      && std::memcmp(pattern.escapeSource.constData(), escapeText, size_t(escapeBytes)) == 0;
    if (!same) {
        const QString escape = QString::fromUtf8(escapeText, escapeBytes);
        if (argc == 3 && escape.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        pattern = compile(QByteArray(patternText, patternBytes), escape.isEmpty() ? QChar() : escape[0]);
        pattern.escapeSource = QByteArray(escapeText, escapeBytes);
    }
    const auto *text = sqlite3_value_text(argv[1]);
    const int length = sqlite3_value_bytes(argv[1]);
    bool found;
    if (pattern.ascii && asciiOnly(text, length)) {
        found = matches(pattern.pieces, [text](qsizetype i) { return char16_t(lowerAscii(text[i])); }, length);
    } else {
        const QString key = searchKey(QString::fromUtf8(reinterpret_cast<const char *>(text), length));
        found = matches(pattern.pieces, [&key](qsizetype i) { return key[i].unicode(); }, key.size());
    }
    sqlite3_result_int(context, found ? 1 : 0);
}

} // namespace

void registerNameRules(sqlite3 *db)
{
    sqlite3_create_collation(db, kNameCollation, SQLITE_UTF8, nullptr, collateNames);
    for (int argc : {2, 3})
        sqlite3_create_function(db, "like", argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr, nullptr);
}

} // namespace engine
