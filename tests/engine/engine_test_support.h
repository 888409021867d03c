#pragma once
// Small helpers shared by the engine tests.

#include "store/engine/database.h"
#include "store/engine/library_builder.h"

#include <QFile>
#include <QtTest>

// Checks that `statement` raises EngineError with number `expected` (0 when it raised nothing).
#define QCOMPARE_ENGINE_ERROR(statement, expected)                                                         \
    do {                                                                                                   \
        int engineErrorNumber_ = 0;                                                                        \
        try {                                                                                              \
            statement;                                                                                     \
        } catch (const EngineError &engineError_) {                                                        \
            engineErrorNumber_ = engineError_.number();                                                    \
        }                                                                                                  \
        QCOMPARE(engineErrorNumber_, int(expected));                                                       \
    } while (false)

namespace enginetest {

inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every value of one column, from the first row to the last.
inline QVariantList column(engine::Recordset &rs, const QString &field)
{
    QVariantList values;
    if (rs.Bof() && rs.Eof())
        return values;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        values << rs.Fields(field).Value();
    return values;
}

inline QStringList texts(engine::Recordset &rs, const QString &field)
{
    QStringList result;
    for (const QVariant &v : column(rs, field))
        result << v.toString();
    return result;
}

// The single value of a one-row SELECT.
inline QVariant scalar(engine::Database &db, const QString &select)
{
    auto rs = db.OpenRecordset(select);
    return rs->Fields(rs->fieldNames().value(0)).Value();
}

inline int count(engine::Database &db, const QString &tableAndCondition)
{
    return scalar(db, QStringLiteral("SELECT count(*) FROM ") + tableAndCondition).toInt();
}

inline library::Drink drink(const QString &name, const QList<library::Line> &lines, const QString &directions = QString(),
                            const QVariant &comments = QVariant())
{
    library::Drink d;
    d.name = name;
    d.lines = lines;
    d.directions = directions.isNull() ? QStringLiteral("Stir.") : directions;
    d.comments = comments;
    return d;
}

} // namespace enginetest
