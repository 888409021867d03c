#include "store/engine/criteria.h"

#include "core/engine_error.h"
#include "core/name_order.h"

namespace engine {

namespace {

class CriteriaParser {
public:
    explicit CriteriaParser(const QString &text) : m_s(text) {}

    QList<Comparison> parse()
    {
        QList<Comparison> result;
        parseConjunction(result);
        skipSpace();
        if (m_i != m_s.size())
            fail();
        return result;
    }

private:
    void parseConjunction(QList<Comparison> &out)
    {
        parseTerm(out);
        while (true) {
            skipSpace();
            if (!peekWord("AND"))
                return;
            m_i += 3;
            parseTerm(out);
        }
    }

    void parseTerm(QList<Comparison> &out)
    {
        skipSpace();
        if (m_i < m_s.size() && m_s[m_i] == QLatin1Char('(')) {
            ++m_i;
            parseConjunction(out);
            skipSpace();
            expect(QLatin1Char(')'));
            return;
        }
        Comparison c;
        c.column = parseColumn();
        skipSpace();
        c.op = parseOperator();
        skipSpace();
        c.value = parseValue();
        out.append(c);
    }

    QString parseColumn()
    {
        QString name;
        while (true) {
            if (m_i < m_s.size() && m_s[m_i] == QLatin1Char('[')) {
                const int end = m_s.indexOf(QLatin1Char(']'), m_i);
                if (end < 0)
                    fail();
                name = m_s.mid(m_i + 1, end - m_i - 1);
                m_i = end + 1;
            } else {
                const int start = m_i;
                while (m_i < m_s.size() && (m_s[m_i].isLetterOrNumber() || m_s[m_i] == QLatin1Char('_')))
                    ++m_i;
                if (m_i == start || m_s[start].isDigit())
                    fail();
                name = m_s.mid(start, m_i - start);
            }
            // A table qualifier (Drinks.Name) names the same column.
            if (m_i < m_s.size() && m_s[m_i] == QLatin1Char('.')) {
                ++m_i;
                continue;
            }
            if (name.trimmed().isEmpty())
                fail();
            return name;
        }
    }

    QString parseOperator()
    {
        static const char *const ops[] = {"<>", "<=", ">=", "=", "<", ">"};
        for (const char *op : ops) {
            const QLatin1String o(op);
            if (QStringView(m_s).mid(m_i).startsWith(o)) {
                m_i += o.size();
                return QString(o);
            }
        }
        fail();
    }

    QVariant parseValue()
    {
        if (m_i >= m_s.size())
            fail();
        const QChar c = m_s[m_i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\''))
            return parseString(c);
        if (peekWord("TRUE")) {
            m_i += 4;
            return true;
        }
        if (peekWord("FALSE")) {
            m_i += 5;
            return false;
        }
        const int start = m_i;
        if (c == QLatin1Char('-') || c == QLatin1Char('+'))
            ++m_i;
        while (m_i < m_s.size() && (m_s[m_i].isDigit() || m_s[m_i] == QLatin1Char('.')))
            ++m_i;
        const QString number = m_s.mid(start, m_i - start);
        bool ok = false;
        const qlonglong whole = number.toLongLong(&ok);
        if (ok)
            return whole;
        const double real = number.toDouble(&ok);
        if (ok)
            return real;
        fail();
    }

    QString parseString(QChar quote)
    {
        QString value;
        ++m_i;
        while (m_i < m_s.size()) {
            if (m_s[m_i] == quote) {
                if (m_i + 1 < m_s.size() && m_s[m_i + 1] == quote) {
                    value += quote;
                    m_i += 2;
                    continue;
                }
                ++m_i;
                return value;
            }
            value += m_s[m_i++];
        }
        fail();
    }

    bool peekWord(const char *word) const
    {
        const QLatin1String w(word);
        if (!QStringView(m_s).mid(m_i).startsWith(w, Qt::CaseInsensitive))
            return false;
        const int after = m_i + w.size();
        return after >= m_s.size() || !(m_s[after].isLetterOrNumber() || m_s[after] == QLatin1Char('_'));
    }

    void skipSpace()
    {
        while (m_i < m_s.size() && m_s[m_i].isSpace())
            ++m_i;
    }

    void expect(QChar c)
    {
        if (m_i >= m_s.size() || m_s[m_i] != c)
            fail();
        ++m_i;
    }

    [[noreturn]] void fail() const
    {
        throw EngineError(err::SyntaxInCriteria,
                          QStringLiteral("Syntax error in criteria expression '%1'.").arg(m_s));
    }

    const QString &m_s;
    int m_i = 0;
};

bool isNumeric(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

} // namespace

QList<Comparison> parseCriteria(const QString &criteria)
{
    return CriteriaParser(criteria).parse();
}

bool compareMatches(const QVariant &rowValue, const Comparison &c)
{
    if (rowValue.isNull() || !rowValue.isValid())
        return false;
    int order = 0;
    if (isNumeric(rowValue) && isNumeric(c.value)) {
        const double a = rowValue.toDouble(), b = c.value.toDouble();
        order = a < b ? -1 : (a > b ? 1 : 0);
    } else if (isNumeric(rowValue) != isNumeric(c.value)) {
        // A number against a text: compare as numbers when the text reads as one, else never equal.
        bool ok = false;
        const double a = rowValue.toString().toDouble(&ok);
        const double b = ok ? c.value.toString().toDouble(&ok) : 0;
        if (!ok)
            return c.op == QLatin1String("<>");
        order = a < b ? -1 : (a > b ? 1 : 0);
    } else {
        order = compareNames(rowValue.toString(), c.value.toString());
    }
    if (c.op == QLatin1String("="))
        return order == 0;
    if (c.op == QLatin1String("<>"))
        return order != 0;
    if (c.op == QLatin1String("<"))
        return order < 0;
    if (c.op == QLatin1String(">"))
        return order > 0;
    if (c.op == QLatin1String("<="))
        return order <= 0;
    return order >= 0;
}

} // namespace engine
