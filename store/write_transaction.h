#pragma once
// One write of several statements, all or nothing. The constructor begins the transaction; commit()
// ends it. Leaving the scope without commit() (an error, an early return) rolls everything back and
// re-reads the store's table record sets, whose cached row keys may name rows that are gone.
// Inside another write it is a savepoint: its own work goes or stays as one, and the disk is
// written once, when the outer write commits.

class CDatabase;

class WriteTransaction {
public:
    explicit WriteTransaction(CDatabase &database);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;
    void commit();

private:
    CDatabase &m_database;
    bool m_nested = false;
    bool m_done = false;
};
