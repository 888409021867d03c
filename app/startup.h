#pragma once
// Finding and opening the database file when the program starts.

class frmMain;
class CDatabase;
class QString;

// The database path from the settings store, or zestro.mdb in the program's folder when none is
// stored; either way the path is set on the store (which saves it).
void chooseDatabaseFile(CDatabase &db, const QString &programFolder);
// Opens the chosen file and reports what went wrong in a message box; the program goes on
// without a database when it cannot be opened. Gives true when the file is open.
bool openDatabaseAtStartup(CDatabase &db, frmMain &form);
