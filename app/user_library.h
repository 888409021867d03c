#pragma once
// The library the user works on when the settings name none. The build puts the starter library
// beside the program as zestro-starter.mdb and never writes zestro.mdb, so no build, test or
// install step can change a library the user has used.

#include <QString>

inline const QString kUserLibraryName = QStringLiteral("zestro.mdb");
inline const QString kStarterLibraryName = QStringLiteral("zestro-starter.mdb");

// zestro.mdb beside the program when it is there or that folder is writable, otherwise in the
// user's data folder (~/.local/share/Zestro/). When no library is there yet, the starter library
// is copied there first; a failed copy leaves no file, so the missing-file message follows.
QString provideUserLibrary();
