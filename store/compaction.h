#pragma once
// What rewriting the library without its free space gives back, and how it fails. The store does
// the work; the command that asked for it tells the user.

#include "core/engine_error.h"

#include <QList>

struct CompactionResult {
    qint64 sizeBefore = 0;
    qint64 sizeAfter = 0;
};

struct CompactionFailed {
    enum Kind {
        NothingDone, // the library is as it was and open again; `errors` say why, in order
        FileInUse,   // a file step was refused outright: another program holds the library
        NotClosed,   // the library could not be closed to be rewritten
    };
    Kind kind = NothingDone;
    QList<EngineError> errors;
    bool reopened = false; // the library was closed for the work and opened again: its views are new
};
