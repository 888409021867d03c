#pragma once
// Tip of the day: one random line of TIPOFDAY.TXT beside the program, with a check box that turns
// the showing at start-up on and off.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

class frmTip : public QDialog {
    Q_OBJECT
public:
    explicit frmTip(QWidget *parent = nullptr);

    // ---- Controls ----
    QLabel *picBulb = nullptr;
    QLabel *lblDidYouKnow = nullptr;
    QLabel *lblTipText = nullptr;
    QCheckBox *chkLoadTipsAtStartup = nullptr;
    QPushButton *cmdNextTip = nullptr;
    QPushButton *cmdOK = nullptr;

    // Every line of the file is one tip, empty lines included; 1-based position of the one shown.
    QStringList Tips;
    int CurrentTip = 0;

    // Reads the tips from the file and shows a random one; false when there is no such file.
    bool LoadTips(const QString &path);
    void ChooseRandomTip();
    void DisplayCurrentTip();

    // The text shown in place of a tip when the file is missing.
    static QString missingFileText();

private:
    void buildControls();
    void chkLoadTipsAtStartup_Click(bool checked);
};
