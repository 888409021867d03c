#pragma once
// Whether the rollback journal beside a library was left by a write of that very file.
//
// SQLite plays a hot journal back into whatever file has the journal's name beside it. A journal
// left by a crash beside a library that the user has since replaced (another library, or an older
// or newer copy of the same one) would write its pages into the wrong file: it cuts another
// library down to the size of its own and damages it, or silently takes a restored copy back to
// where the crashed write started. This looks at the journal before SQLite does.

#include "store/engine/database.h"

#include <QString>

namespace engine {

enum class JournalFit {
    None,    // no journal, or one SQLite does not play back (empty, never made durable)
    Belongs, // left by a write of this file: SQLite rolls it back at the open
    InUse,   // another program is writing the file right now: its journal is live
    Stray,   // cannot belong to this file: `why` tells why
};

struct JournalCheck {
    JournalFit fit = JournalFit::None;
    QString why; // for Stray: "it was written by another library", ...
};

// The journal's name beside the library.
QString journalPath(const QString &databasePath);

// Reads the journal and the library's first page; changes nothing. The library's pages are
// encrypted with a key drawn from its password and its salt (the file's first 16 bytes), and so
// are the journal's copies of them (each encrypted anew, under a fresh IV):
//  - a journal whose pages do not verify under this file's key came from another library;
//  - its copy of page 1 is page 1 as it was when the write began. A write stopped before it wrote
//    the file leaves the file's page 1 with the very same content. A write stopped part-way has
//    written page 1 first (SQLite writes pages in ascending order), and the program's writes count
//    themselves in page 1 (Database::BeginTrans): the file then counts one more than the journal's
//    copy, or as many for a write of another program. Any other count is another copy of this
//    library, older or newer. (SQLite's own change counter cannot serve: under SQLCipher 3 it is
//    the encrypted bytes of the page it replaces plus one, which no journal keeps.)
//  - a journal without page 1 is left by a write whose pages overflowed the cache before it
//    committed (the program's writes journal page 1 first), so the file may hold part of that
//    write: when its pages verify under the file's key it belongs (it is rolled back); when it
//    holds no page at all, only a file of the size it names matches.
JournalCheck CheckJournal(const QString &databasePath, const QString &connect = kConnect);

} // namespace engine
