#pragma once
// What the engine will not run from a library file, and how far any record set may grow: the error
// numbers it raises and the row and time bounds of record sets.

#include "core/engine_error.h"

#include <QtGlobal>

namespace engine {

// One text or blob on the program's connections: far above any real drink's directions, far below
// what would exhaust memory. A statement that builds a larger value fails with err::ResourceExceeded.
constexpr int kMaxValueBytes = 64 * 1024 * 1024;
// The text one record set or name list may hold in all: a library of 30,000 drinks reads a few
// tens of megabytes at most.
constexpr qint64 kMaxResultBytes = 256LL * 1024 * 1024;

struct QueryLimits {
    qint64 maxRows;      // rows one record set may hold or pass on
    int maxMilliseconds; // time one record set may take: its reading, or from the first step of a one-pass set
    qint64 maxResultBytes = kMaxResultBytes; // text one record set or name list may hold
};

// A library of 30,000 drinks has 150,000 lines; its largest record set, every line with its drink's
// and ingredient's names, holds those 150,000 rows and takes under a second. Six times the rows
// (a single-column runaway stops at about 100 MB) and some thirty times the time stop only
// queries that would not end.
constexpr QueryLimits kDefaultQueryLimits{1'000'000, 20'000, kMaxResultBytes};

QueryLimits queryLimits();
// Applies to record sets opened afterwards, on every connection.
void setQueryLimits(const QueryLimits &limits);

} // namespace engine
