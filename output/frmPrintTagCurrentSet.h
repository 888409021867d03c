#pragma once
// Asks how the current set is tagged for printing: added to the drinks tagged already, or made the
// only ones. Value: 0 cancelled, 1 add, 2 only these.

#include <QDialog>
#include <array>

class QPushButton;
class QRadioButton;

class frmPrintTagCurrentSet : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintTagCurrentSet(QWidget *parent = nullptr);
    int Value() const { return m_value; }
    void cmdButtons_Click(int index);

    std::array<QRadioButton *, 2> optOption{};
    std::array<QPushButton *, 2> cmdButtons{};

protected:
    void reject() override;

private:
    int m_value = 0;
};
