#pragma once
// Holder of the SQL action and lookup statements of the write operations. It keeps the statement it
// built last, so that each can be checked.

#include <QString>

class CQueries {
public:
    const QString &LastStatement() const { return m_sSQL; }

protected:
    QString m_sSQL;
};
