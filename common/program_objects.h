#pragma once
// The program-wide references to the long-lived objects that start-up creates and shutdown
// releases. Windows reach the data, the settings and the shared routines through them.

class CCommonRoutines;
class CZestro30;
class CDatabase;
class QWidget;

struct ProgramObjects {
    CCommonRoutines *commonRoutines = nullptr;
    CZestro30 *settings = nullptr;
    CDatabase *database = nullptr;
    QWidget *mainForm = nullptr; // the main window, parent of the program's other windows
    // Maintainer mode: keyword A ("vexo") and keyword B ("kymp") on the command line.
    bool maintainerA = false;
    bool maintainerB = false;
};

ProgramObjects &program();
// The program's database object; error 3420 when there is none (before start-up, after shutdown).
CDatabase &programDatabase();

// Ends the program at once with the given exit code, without the usual shutdown steps. Tests
// replace it so that a fatal path can be observed.
[[noreturn]] void EndProgram(int exitCode);
void setEndProgramHandler(void (*handler)(int exitCode));
