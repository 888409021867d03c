#pragma once
// The small pictures of a drink's marks: a check for tried, a printer for to print, each in a slot
// of its own, so the marks of a list line up.

#include <QPixmap>
#include <QString>

// Both slots, empty where the mark is not set (Drink::Mark bits).
QPixmap markPixmap(quint8 marks);
// "Tried", "To print", both on two lines, or empty.
QString markText(quint8 marks);
