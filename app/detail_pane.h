#pragma once
// The shown drink's side of the main window: how its panes are made, filled and sized.

#include "store/output_window.h"

#include <QObject>

class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTreeWidget;

// A bold heading in the palette's text colour, larger than the application font by `scale`.
void makeHeading(QLabel *label, qreal scale);

// A read-only text pane that looks like text on the window, not like an input field.
QPlainTextEdit *readOnlyTextPane(QWidget *parent, const char *name);

// Sets up the list of a drink's lines: the amount in column 0, the ingredient in column 1.
void setUpIngredientList(QTreeWidget *list);

// Fills the list with the drink's lines; a line without an amount shows its ingredient alone, and a
// line that is a note rather than an ingredient spans both columns.
void fillIngredientList(QTreeWidget *list, const DrinkDetail &drink);

// Gives the three panes of the detail splitter (ingredients, directions, comments) the room their
// content needs, as a drink is shown and as the window is resized, until the user drags the
// splitter. Dragging, or anything that sets the splitter's "userSized" property (a restored
// position), stops it: the splitter then keeps the sizes it is given.
class DetailPaneSizer : public QObject {
public:
    DetailPaneSizer(QSplitter *panes, QTreeWidget *lines, QPlainTextEdit *directions, QPlainTextEdit *comments);

    static constexpr const char *kUserSized = "userSized";

    // The sizes for the content shown now; nothing happens once the user has sized the panes.
    void fit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int linesHeight(int enough) const; // stops counting rows at `enough`
    int textHeight(const QPlainTextEdit *pane) const;
    void fitAmountColumn();
    void fitWhenLaidOut();

    QSplitter *m_panes;
    QTreeWidget *m_lines;
    QPlainTextEdit *m_directions;
    QPlainTextEdit *m_comments;
    bool m_fitPending = false;
};
