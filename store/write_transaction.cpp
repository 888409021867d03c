#include "store/write_transaction.h"

#include "store/CDatabase.h"

WriteTransaction::WriteTransaction(CDatabase &database) : m_database(database)
{
    m_database.database().BeginTrans();
}

WriteTransaction::~WriteTransaction()
{
    if (m_done)
        return;
    try {
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
    m_database.database().CommitTrans();
    m_done = true;
}
