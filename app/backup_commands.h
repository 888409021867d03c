#pragma once
// File, Back Up Library... and File, Restore from Backup...: the store copies and replaces the
// file; these ask the user and tell how it went.

class CDatabase;

void backUpLibrary(CDatabase &db);
void restoreFromBackup(CDatabase &db);
