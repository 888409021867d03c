#pragma once
// The two small "What would you like to do?" dialogs: a question, two choices each with a line that
// explains it, and OK / Cancel. Value: 0 cancelled, 1 the first choice, 2 the second.

#include <QDialog>
#include <QString>
#include <array>

class QPushButton;
class QRadioButton;

struct OptionTexts {
    QString caption;
    std::array<QString, 2> options;
    std::array<QString, 2> explanations;
};

class OptionDialog : public QDialog {
    Q_OBJECT
public:
    int Value() const { return m_value; }
    void cmdButtons_Click(int index);

    std::array<QRadioButton *, 2> optOption{};
    std::array<QPushButton *, 2> cmdButtons{};

protected:
    // OK is the default button and the first choice is selected.
    OptionDialog(const QString &objectName, const OptionTexts &texts, QWidget *parent);
    void reject() override; // Escape and the close box are Cancel

private:
    int m_value = 0;
};
