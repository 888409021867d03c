#pragma once
// The shared toolbox of small routines for windows, list controls, text and files. One instance is
// made at start-up and used by every window and by the database object.

#include <QString>
#include <QStringList>

class PrintTarget;
class QComboBox;
class QListWidget;
class QToolBar;
class QWidget;

class CCommonRoutines {
public:
    // Files and paths
    bool FileExists(const QString &sFilename) const;
    QString GetFilenameFromPath(const QString &sFilename) const;

    // Lists and comma-delimited text
    QString ListboxToCommaDelimitedString(const QListWidget &lstList) const;
    int CommaDelimitedStringToArray(QStringList &sArray, const QString &sString, int iArraySize) const;

    // Window placement
    // Centres the window on its screen.
    void CenterForm(QWidget *roForm) const;
    // Centres frmForm over frmSourceForm, across and down.
    void CenterToWindow(QWidget *frmSourceForm, QWidget *frmForm) const;
    void CenterToWindowH(QWidget *frmSourceForm, QWidget *frmForm) const;
    void CenterToWindowV(QWidget *frmSourceForm, QWidget *frmForm) const;

    // Shell
    // Hands a web or mail address to the desktop; returns at once, failures are ignored.
    void LaunchURL(QWidget *frmForm, const QString &WebPageURL) const;

    // Captions and controls (common/window_routines.cpp)
    // Replaces the numbered captions of a window's controls by the string table's texts; a control
    // on which anything fails is skipped.
    void LoadResStrings(QWidget *form) const;
    // Flips the toolbar's buttons between raised and flat.
    void MakeToolbarFlat(QToolBar *tbToolBar) const;
    // Type-ahead for an editable drop-down list, called from its text-changed handler.
    void FillInText(QComboBox *ctlComboBox);

    // Amounts
    // The amount as typed with one fraction of a small table (1/4, 1/2, 3/4, 1/5, 1/3, 2/3, 1/8)
    // written as a decimal: "1 1/2" gives "1.5". Other texts come back unchanged.
    QString FractionToDecimal(const QString &sAmount) const;

    // Printing (common/wrap_text.cpp)
    // Prints the text word by word from the target's current position, starting a new line before a
    // word that would pass the printable width; a line feed ends the line, a tab moves to the next
    // tab stop. The last line is left open for the caller.
    void WrapText(PrintTarget &oTarget, const QString &sString) const;

private:
    int m_pendingCaret = 0; // FillInText's caret position between nested calls
};
