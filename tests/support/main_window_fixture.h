#pragma once
// A started program for window tests: a program folder in a temporary directory holding a fresh copy
// of the starter library as zestro.mdb, settings in another temporary directory (tips and random
// drink off unless a test turns them on), every message box recorded, and a real frmMain loaded
// through the start-up code in maintainer mode (no splash window).

#include "app/frmMain.h"
#include "support/msgbox_recorder.h"
#include "support/temp_settings.h"

#include <QTemporaryDir>
#include <memory>

class CDatabase;

class StartedProgram {
public:
    struct Options {
        bool tips = false;
        bool randomDrink = false;
        bool showSearching = false;
        bool copyLibrary = true;
        QString commandLine = QStringLiteral("kymp");
    };
    StartedProgram() : StartedProgram(Options()) {}
    explicit StartedProgram(const Options &options);
    ~StartedProgram();

    frmMain &form() { return *m_form; }
    CDatabase &db();
    MsgBoxRecorder &boxes() { return m_boxes; }
    QString folder() const { return m_programDir.path(); }
    QString libraryPath() const;
    // The names in the drink list, top to bottom.
    QStringList listedNames() const;
    QString selectedName() const;
    // Runs SQL on the open library behind the program's back (test set-up, injected failures) and
    // lets the program's table sets read the file again.
    void exec(const QString &sql);
    // The rows of a query, each as its fields joined by '|'.
    QStringList rows(const QString &sql);

private:
    TempSettings m_settings;
    QTemporaryDir m_programDir;
    MsgBoxRecorder m_boxes;
    std::unique_ptr<frmMain> m_form;
};

// The caption a menu item shows: its access-key marker taken out, a doubled '&' shown as one.
QString menuCaption(const QAction *item);

// Triggers the window's command of that object name ("actEditDrink"), failing the test when there is
// none or it is disabled.
void triggerCommand(frmMain &window, const QString &name);

// Drives every modal dialog through the given function instead of showing it; the default closes
// each dialog at once as if cancelled.
class ModalScript {
public:
    explicit ModalScript(std::function<int(QDialog &)> handler = {});
    ~ModalScript();
    QStringList shown; // object names of the dialogs, in order
};
