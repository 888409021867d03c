#pragma once
// One drink as the program knows it: what the Drinks table holds for it and its ingredient lines
// (DrinkRel joined to the ingredient's name). The store reads and writes it whole; the editor, the
// detail view, printing, the clipboard copy and drink library files work on this value.

#include <QList>
#include <QString>
#include <QVariant>

struct Drink {
    struct Line {
        QString amount;     // as written, "1.5 Ounces"; may be empty
        QString ingredient; // the ingredient's name
        qint16 ingredientKey = 0; // 0 while only the name is known (a library file)
    };

    QString name;
    QList<Line> lines;
    QString directions; // stored in the Description column
    QVariant comments;  // a text, or null when the drink has none
    bool tried = false;
    bool print = false;
    bool submitted = false;
    qint16 key = 0; // the Drinks ID; 0 for a drink not stored yet

    // "amount ingredient" as the detail view and the clipboard copy list a line, or the name alone.
    static QString lineText(const Line &line);

    // The two marks as bits, as the drink list keeps them beside a name.
    enum Mark : quint8 { NoMark = 0, TriedMark = 1, PrintMark = 2 };
    quint8 marks() const { return quint8((tried ? TriedMark : NoMark) | (print ? PrintMark : NoMark)); }
};

// The stored columns of a drink besides ID, in the table's order, with the member each maps onto.
// Everything that reads or writes the Drinks table whole (the store, the library builder) walks this
// list, so a new column is added here once.
struct DrinkColumn {
    QString name;
    bool longText; // may be megabytes long: read its start only where a part is enough
    QVariant (*get)(const Drink &);
    void (*set)(Drink &, const QVariant &);
};
const QList<DrinkColumn> &drinkColumns();
