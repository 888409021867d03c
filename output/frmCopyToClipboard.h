#pragma once
// Asks whether the drink replaces the clipboard's text or is added to it. Value: 0 cancelled,
// 1 add, 2 replace.

#include <QDialog>
#include <array>

class QPushButton;
class QRadioButton;

class frmCopyToClipboard : public QDialog {
    Q_OBJECT
public:
    explicit frmCopyToClipboard(QWidget *parent = nullptr);
    int Value() const { return m_value; }
    void cmdButtons_Click(int index);

    std::array<QRadioButton *, 2> optOption{};
    std::array<QPushButton *, 2> cmdButtons{};

protected:
    void reject() override;

private:
    int m_value = 0;
};
