#pragma once
// The small "Searching..." window with a looping clip, shown while a search runs when the user
// wants it. Setting the caption loads and shows it; Unload() closes and forgets it, so the next
// use starts fresh. Unloading a window that is not loaded does nothing.

#include <QDialog>

class QLabel;
class CAnimate32;

class frmStatus : public QDialog {
    Q_OBJECT
public:
    // Loads the window if needed (centred over the main window, clip playing) and shows the text.
    static void setStatusCaption(const QString &text);
    static void Unload();
    static bool isLoaded();
    static frmStatus *instance(); // null when not loaded

    QLabel *lblStatus = nullptr;
    CAnimate32 *animation() const { return m_animate; }

private:
    explicit frmStatus(QWidget *parent);
    ~frmStatus() override;
    CAnimate32 *m_animate = nullptr;
};
