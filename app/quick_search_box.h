#pragma once
// The toolbar's search box: a line edit that Escape clears, and that says inside itself when the
// typed text matches no drink, instead of a message box interrupting the typing.

#include <QLineEdit>

class QLabel;

class QuickSearchBox : public QLineEdit {
    Q_OBJECT
public:
    explicit QuickSearchBox(QWidget *parent = nullptr);

    void setNoMatch(bool noMatch);
    bool showsNoMatch() const;
    QString hintText() const;

signals:
    // Escape emptied the box.
    void cleared();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeHint();

    QLabel *m_hint = nullptr;
};
