#include "store/library_backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace backups {

namespace {

constexpr int kDaysKept = 7;
constexpr int kWeeksKept = 4;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString baseName(const QString &library)
{
    return QFileInfo(library).completeBaseName();
}

void syncFolder(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const QString why = systemError();
        if (fd >= 0)
            ::close(fd);
        throw EngineError(err::CannotOpenFile, QStringLiteral("Disk or file error (flushing '%1': %2).").arg(folder, why));
    }
    ::close(fd);
}

QList<Taken> backupsIn(const QString &library)
{
    QList<Taken> found;
    const QDir folder(folderFor(library));
    for (const QString &name : folder.entryList({baseName(library) + QStringLiteral("-*.mdb")}, QDir::Files)) {
        const QDateTime when = takenFromName(library, name);
        if (when.isValid())
            found.append({name, when});
    }
    return found;
}

} // namespace

QString folderFor(const QString &library)
{
    return QFileInfo(library).absoluteDir().filePath(QStringLiteral("backups"));
}

QString dailyName(const QString &library, QDate day)
{
    return baseName(library) + QLatin1Char('-') + day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".mdb");
}

QString replacedName(const QString &library, const QDateTime &when)
{
    return baseName(library) + QLatin1Char('-') + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss")) + QStringLiteral(".mdb");
}

QDateTime takenFromName(const QString &library, const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^-(\\d{4}-\\d{2}-\\d{2})(?:-(\\d{6}))?\\.mdb$"));
    const QString base = baseName(library);
    if (!fileName.startsWith(base))
        return {};
    const QRegularExpressionMatch m = pattern.match(fileName.mid(base.size()));
    if (!m.hasMatch())
        return {};
    const QDate day = QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd"));
    const QTime time = m.captured(2).isEmpty() ? QTime(0, 0) : QTime::fromString(m.captured(2), QStringLiteral("HHmmss"));
    if (!day.isValid() || !time.isValid())
        return {};
    return QDateTime(day, time);
}

void writeCopy(engine::Database &library, const QString &destination)
{
    const QString work = destination + QStringLiteral(".partial");
    QFile::remove(work); // a leftover of an interrupted copy is only ever a copy
    engine::BackupDatabase(library, work);
    if (::rename(QFile::encodeName(work).constData(), QFile::encodeName(destination).constData()) != 0) {
        const QString why = systemError();
        QFile::remove(work);
        throw EngineError(err::PathFileAccess, QStringLiteral("Path/File access error (cannot name the copy '%1': %2).").arg(destination, why));
    }
    syncFolder(destination);
}

QStringList toKeep(const QList<Taken> &backups, QDate today)
{
    QStringList kept;
    const QDate firstDay = today.addDays(1 - kDaysKept);
    // Older ones by ISO week, newest first; each week keeps its newest backup.
    QMap<int, Taken> newestOfWeek; // key: year * 100 + week
    for (const Taken &b : backups) {
        if (b.when.date() >= firstDay) { // a date after today (a clock set back) is kept too
            kept.append(b.name);
            continue;
        }
        int year = 0;
        const int week = b.when.date().weekNumber(&year);
        const int key = year * 100 + week;
        auto it = newestOfWeek.find(key);
        if (it == newestOfWeek.end() || std::pair(b.when, b.name) > std::pair(it->when, it->name))
            newestOfWeek[key] = b;
    }
    int weeks = 0;
    for (auto it = newestOfWeek.cend(); it != newestOfWeek.cbegin() && weeks < kWeeksKept; ++weeks)
        kept.append((--it)->name);
    kept.sort();
    return kept;
}

void prune(const QString &library, QDate today)
{
    const QList<Taken> all = backupsIn(library);
    const QStringList kept = toKeep(all, today);
    QDir folder(folderFor(library));
    for (const Taken &b : all) {
        if (!kept.contains(b.name))
            folder.remove(b.name); // one left behind is pruned the next day
    }
}

QString whyNotRestorable(const QString &backup)
{
    try {
        std::unique_ptr<engine::Database> db = engine::OpenDatabase(backup, false, true);
        engine::CheckLibraryFile(*db);
        if (!db->quickCheck())
            return QStringLiteral("its pages do not check out");
    } catch (const EngineError &e) {
        return e.description();
    }
    return QString();
}

QList<Entry> list(const QString &library)
{
    QList<Entry> entries;
    const QDir folder(folderFor(library));
    for (const Taken &b : backupsIn(library)) {
        Entry e{folder.filePath(b.name), b.when, QFileInfo(folder.filePath(b.name)).size(), -1};
        try {
            std::unique_ptr<engine::Database> db = engine::OpenDatabase(e.path, false, true);
            engine::CheckLibraryFile(*db);
            e.drinks = int(db->scalar(QStringLiteral("SELECT count(*) FROM Drinks")));
        } catch (const EngineError &) {
            // listed as damaged
        }
        entries.append(e);
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return std::pair(a.taken, a.path) > std::pair(b.taken, b.path);
    });
    return entries;
}

} // namespace backups
