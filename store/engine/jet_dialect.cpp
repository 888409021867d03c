#include "store/engine/jet_dialect.h"

#include <QList>

namespace engine {

QString quotedName(const QString &name)
{
    QString doubled = name;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

namespace {

enum class Tok { Space, Word, Number, DqString, SqString, Bracket, Punct };

struct Token {
    Tok kind;
    QString text;
};

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Reads a literal delimited by `quote`, where a doubled quote stands for one quote character.
// An unterminated literal runs to the end of the text; SQLite then reports the syntax error.
int scanQuoted(const QString &s, int i, QChar quote)
{
    int j = i + 1;
    while (j < s.size()) {
        if (s[j] == quote) {
            if (j + 1 < s.size() && s[j + 1] == quote) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return j;
}

QList<Token> tokenize(const QString &s)
{
    QList<Token> tokens;
    int i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        int j = i + 1;
        Tok kind = Tok::Punct;
        if (c.isSpace()) {
            while (j < s.size() && s[j].isSpace())
                ++j;
            kind = Tok::Space;
        } else if (isWordStart(c)) {
            while (j < s.size() && isWordChar(s[j]))
                ++j;
            kind = Tok::Word;
        } else if (c.isDigit()) {
            while (j < s.size() && (s[j].isDigit() || s[j] == QLatin1Char('.')))
                ++j;
            kind = Tok::Number;
        } else if (c == QLatin1Char('"')) {
            j = scanQuoted(s, i, c);
            kind = Tok::DqString;
        } else if (c == QLatin1Char('\'')) {
            j = scanQuoted(s, i, c);
            kind = Tok::SqString;
        } else if (c == QLatin1Char('[')) {
            j = s.indexOf(QLatin1Char(']'), i);
            j = j < 0 ? s.size() : j + 1;
            kind = Tok::Bracket;
        } else if ((c == QLatin1Char('<') || c == QLatin1Char('>')) && j < s.size()
                   && (s[j] == QLatin1Char('=') || (c == QLatin1Char('<') && s[j] == QLatin1Char('>')))) {
            ++j;
        }
        tokens.append({kind, s.mid(i, j - i)});
        i = j;
    }
    return tokens;
}

bool isWord(const Token &t, const char *word)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// "text" with "" inside -> 'text' with ' doubled. A literal that never ends stays open, so that
// SQLite refuses the statement instead of running it with a literal closed by guesswork.
QString toSqliteString(const QString &dq)
{
    int trailingQuotes = 0;
    while (trailingQuotes < dq.size() - 1 && dq[dq.size() - 1 - trailingQuotes] == QLatin1Char('"'))
        ++trailingQuotes;
    const bool closed = trailingQuotes % 2 == 1; // the closing quote after any doubled ones
    QString body = dq.mid(1, closed ? dq.size() - 2 : dq.size() - 1);
    body.replace(QLatin1String("\"\""), QLatin1String("\""));
    body.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + body + (closed ? QLatin1String("'") : QLatin1String());
}

int nextSignificant(const QList<Token> &t, int i)
{
    while (i < t.size() && t[i].kind == Tok::Space)
        ++i;
    return i;
}

} // namespace

QString translateJetSql(const QString &jetSql)
{
    QList<Token> t = tokenize(jetSql);
    const int first = nextSignificant(t, 0);

    // DELETE <column list> FROM  ->  DELETE FROM
    if (first < t.size() && isWord(t[first], "DELETE")) {
        int from = first + 1;
        while (from < t.size() && !isWord(t[from], "FROM"))
            ++from;
        if (from < t.size()) {
            t.remove(first + 1, from - first - 1);
            t.insert(first + 1, {Tok::Space, QStringLiteral(" ")});
        }
    }

    // UPDATE t SET t.c = ...  ->  UPDATE t SET c = ...  (SQLite takes no qualifier in the SET list)
    if (first < t.size() && isWord(t[first], "UPDATE")) {
        int depth = 0;
        bool inSet = false;
        for (int i = first; i < t.size(); ++i) {
            if (t[i].text == QLatin1String("("))
                ++depth;
            else if (t[i].text == QLatin1String(")"))
                --depth;
            else if (depth == 0 && isWord(t[i], "SET"))
                inSet = true;
            else if (depth == 0 && isWord(t[i], "WHERE"))
                break;
            else if (inSet && depth == 0 && (t[i].kind == Tok::Word || t[i].kind == Tok::Bracket)
                     && i + 2 < t.size() && t[i + 1].text == QLatin1String(".")
                     && (t[i + 2].kind == Tok::Word || t[i + 2].kind == Tok::Bracket)) {
                const int after = nextSignificant(t, i + 3);
                if (after < t.size() && t[after].text == QLatin1String("=")) {
                    t.remove(i, 2);
                }
            }
        }
    }

    QString out;
    out.reserve(jetSql.size() + 8);
    for (int i = 0; i < t.size(); ++i) {
        const Token &tok = t[i];
        const bool qualified = i > 0 && t[i - 1].text == QLatin1String(".");
        if (tok.kind == Tok::DqString)
            out += toSqliteString(tok.text);
        else if (!qualified && isWord(tok, "TRUE"))
            out += QLatin1Char('1');
        else if (!qualified && isWord(tok, "FALSE"))
            out += QLatin1Char('0');
        else if (isWord(tok, "DISTINCTROW")) {
            if (i + 1 < t.size() && t[i + 1].kind == Tok::Space)
                ++i; // drop the blank after it too
        } else
            out += tok.text;
    }
    return out;
}

} // namespace engine
