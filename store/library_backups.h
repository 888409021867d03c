#pragma once
// Copies of the library kept by the program: where they live, how they are named, which are kept,
// and the copy itself. The members of CDatabase that take and restore them are in
// store/backup_restore.cpp.
//
// Backups live in a folder "backups" beside the library. The one taken before the first write of a
// day is named by the library and the date ("zestro-2026-12-10.mdb"); the library a restore
// replaced adds the time ("zestro-2026-12-10-031500.mdb").

#include "store/engine/database.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace backups {

QString folderFor(const QString &library);
QString dailyName(const QString &library, QDate day);
QString replacedName(const QString &library, const QDateTime &when);
// When a file of the library's backups was taken, by its name; invalid for any other file.
QDateTime takenFromName(const QString &library, const QString &fileName);

// Writes a consistent copy of the open library to `destination` under a working name beside it,
// then gives it the name: a failure leaves no file behind, and no half file under the name.
// Throws EngineError with the cause.
void writeCopy(engine::Database &library, const QString &destination);

// Which of the backups (file names with the time each was taken) stay: every one of the last 7
// days (today and the 6 before it), then the newest of each ISO week for the 4 newest weeks older
// than that. The rest are pruned.
struct Taken {
    QString name;
    QDateTime when;
};
QStringList toKeep(const QList<Taken> &backups, QDate today);
// Deletes the library's backups that toKeep does not keep; leaves every other file alone.
void prune(const QString &library, QDate today);

// One backup as the restore dialog lists it.
struct Entry {
    QString path;
    QDateTime taken;
    qint64 size = 0;
    int drinks = -1; // -1: it does not open with the key, or is not a whole library
    bool damaged() const { return drinks < 0; }
};
// The library's backups, newest first, each opened to count its drinks.
QList<Entry> list(const QString &library);
// Whether the file opens with the program's key as a whole drink library: the cause when not.
QString whyNotRestorable(const QString &backup);

} // namespace backups
