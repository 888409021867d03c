#pragma once
// Start-up and shutdown of the program, run while the main window loads and unloads, and File,
// Open, which switches the program to another database file.

#include <QString>

class frmMain;

// Creates the program-wide objects, reads the command line for maintainer mode, shows the splash
// window, finds and opens the database and runs the start-up options.
void Form_Load(frmMain &form, const QString &commandLine);
// Closes the database and releases the program-wide objects; names any window left open.
void Form_Unload(frmMain &form);
// File, Open: asks for another database file and opens it with all its drinks listed.
void openAnotherDatabase(frmMain &form);
