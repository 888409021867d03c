#pragma once
// A statement of the program's own in SQLite's dialect, prepared once and run for many rows: the
// fast path for bulk reads and writes inside one transaction, where a record set would prepare a
// statement a row.

#include "store/engine/handles.h"

#include <QVariant>

namespace engine {

class Database;

class Statement {
public:
    Statement(Database &db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Values for the ? placeholders, counted from 1; they stay bound until bound again.
    Statement &bind(int index, const QVariant &value);
    // Runs a write to its end and makes the statement ready to run again.
    void run();
    // Steps a read to its next row; false past the last one, when the statement is ready again.
    bool next();
    // Columns of the current row, counted from 0.
    bool isNull(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const; // empty for null
    // A whole number as qint64, a text as QString, null as a null QVariant.
    QVariant value(int column) const;

private:
    sqlite3 *m_db;
    Stmt m_stmt;
};

} // namespace engine
