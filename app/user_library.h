#pragma once
// The library the user works on when the settings name none. The build puts the starter library
// beside the program as zestro-starter.mdb and never writes zestro.mdb, so no build, test or
// install step can change a library the user has used.

#include <QString>

inline const QString kUserLibraryName = QStringLiteral("zestro.mdb");
inline const QString kStarterLibraryName = QStringLiteral("zestro-starter.mdb");

// zestro.mdb beside the program when it is there, or when the program runs from a writable
// folder that also holds its side files (a build tree or an unpacked copy). Otherwise, as for an
// installed copy, the user's data folder (~/.local/share/Zestro/). When no library is there yet,
// the starter library is copied there from DataFolder() first; a failed copy leaves no file and
// sets `problem` to a sentence saying what could not be made, where, and why.
QString provideUserLibrary(QString *problem = nullptr);
