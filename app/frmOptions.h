#pragma once
// View, Options...: the start-up tips, the random drink at start-up and the "Searching..." window.
// OK stores the three boxes; Cancel leaves the settings as they were.

#include <QDialog>

class QCheckBox;
class QPushButton;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget *parent = nullptr);

    // ---- Controls ----
    QCheckBox *chkTips = nullptr;
    QCheckBox *chkRandom = nullptr;
    QCheckBox *chkShowSearching = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void buildControls();
};
