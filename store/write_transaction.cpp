#include "store/write_transaction.h"

#include "store/CDatabase.h"

namespace {
const QString kSavepoint = QStringLiteral("write");
}

WriteTransaction::WriteTransaction(CDatabase &database) : m_database(database)
{
    m_database.requireWritable();
    engine::Database &db = m_database.database();
    m_nested = db.inTransaction();
    if (m_nested)
        db.Savepoint(kSavepoint);
    else
        db.BeginTrans();
}

WriteTransaction::~WriteTransaction()
{
    if (m_done)
        return;
    try {
        if (m_nested)
            m_database.database().RollbackToSavepoint(kSavepoint);
        else
            m_database.database().Rollback();
        m_database.drinksTable().Requery();
        m_database.ingredientsTable().Requery();
        m_database.drinkRelTable().Requery();
    } catch (...) {
        // The failure that brought us here is the one the user reads.
    }
}

void WriteTransaction::commit()
{
    if (m_nested)
        m_database.database().ReleaseSavepoint(kSavepoint);
    else
        m_database.database().CommitTrans();
    m_done = true;
}
