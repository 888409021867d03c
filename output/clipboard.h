#pragma once
// Edit, Copy (output/clipboard.cpp): the shown drink as plain text on the clipboard.

#include <QString>

class CDatabase;
struct Drink;

class DrinkClipboard {
public:
    explicit DrinkClipboard(CDatabase &database) : m_db(database) {}
    // Asks whether to add to the clipboard's text or replace it, then puts the shown drink there.
    void copyShown();
    // The drink as the clipboard gets it: a framed name, the lines, the directions, the comments
    // when it has any, and where the recipe came from.
    static QString text(const Drink &drink);

private:
    CDatabase &m_db;
};
