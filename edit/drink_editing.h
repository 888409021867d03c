#pragma once
// Adding and changing a drink through the drink editor (edit/drink_writes.cpp): the editor is
// filled from the stored drink, shown, and what it returns is stored by DrinkStore.

class CDatabase;

class DrinkEditing {
public:
    explicit DrinkEditing(CDatabase &database) : m_db(database) {}
    // Adds a drink (add) or edits the drink shown; nothing happens while none is shown.
    void edit(bool add);

private:
    CDatabase &m_db;
};
