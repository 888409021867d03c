#pragma once
// Printing drinks (output/printing.cpp): every drink marked to print as one job, each as its name,
// its ingredient lines two to a line, its directions and its comments.

class CDatabase;
class PrintTarget;

class DrinkPrinting {
public:
    explicit DrinkPrinting(CDatabase &database) : m_db(database) {}
    void printMarked();
    // Prints the drink with that key at the target's current position.
    void printOne(int key, PrintTarget &target);

private:
    CDatabase &m_db;
};
