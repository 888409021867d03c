#pragma once
// The tried and to-print marks of the shown drink or of the whole current set, and deleting the
// whole set (output/marks.cpp). The store does the writing; this side asks and tells the user.

#include "store/drink_store.h"

class CDatabase;
class OutputWindow;

class DrinkMarks {
public:
    explicit DrinkMarks(CDatabase &database) : m_db(database) {}
    // Marks the selected drink of the list, or every drink in it (multi), and shows the selected one again.
    void set(DrinkMark mark, bool value, OutputWindow &list, bool multi);
    void unmarkAllPrint();
    // Deletes every drink of the list, each all or nothing, asking whether to go on after a refusal.
    void deleteAll(OutputWindow &list);

private:
    CDatabase &m_db;
};
