#pragma once
// The splash window shown while the program starts: product name, version and picture. It closes
// itself on the third tick of its one-second timer and drops the program-wide reference to it.

#include <QDialog>

class QLabel;
class QTimer;

class frmSplash2 : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash2(QWidget *parent = nullptr);
    ~frmSplash2() override;

    // Shows the splash without waiting for it; the program-wide reference is set until it closes.
    static void showSplash();
    static frmSplash2 *instance(); // null when no splash is up

    QLabel *lblProductName = nullptr;
    QLabel *lblVersion = nullptr;
    QTimer *Timer1 = nullptr;

    int tickCount() const { return m_ticks; }
    void Timer1_Timer();

protected:
    // Any other window that opens (the tip, a message, a dialog) closes the splash first.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    qint16 m_ticks = 0;
    QPixmap m_logo;
};
