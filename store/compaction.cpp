// Tools, Compact database: rewrites the file without its free space.
//
// The compacted copy is written beside the file under a working name, checked, flushed to disk,
// and only then renamed over the original; the folder is flushed last. The original is never
// written and rename() swaps the two at once, so a crash or a power cut at any moment leaves the
// old file or the new one under the database's name, whole. (Renaming the original away first and
// compacting back into its name would leave nothing usable there if the program died in between.)

#include "store/CDatabase.h"

#include "store/engine/jet_dialect.h"
#include "store/file_lock.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where the compacted copy is built; a leftover from an interrupted run is only ever a copy.
const QString kWorkSuffix = QStringLiteral(".compacting");

// What the copy must match: every table's row count and the schema version.
struct Contents {
    QMap<QString, qint64> rows;
    qint64 userVersion = 0;
    bool operator==(const Contents &) const = default;
};

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The program's own file steps fail with the runtime's path/file access error.
[[noreturn]] void fileError(const QString &what, const QString &path)
{
    throw EngineError(err::PathFileAccess,
                      QStringLiteral("Path/File access error (%1 '%2': %3).").arg(what, path, systemError()));
}

// A flush that fails is a disk error, as the engine reports its own.
[[noreturn]] void diskError(const QString &path)
{
    throw EngineError(err::CannotOpenFile, QStringLiteral("Disk or file error (flushing '%1': %2).").arg(path, systemError()));
}

void removeIfThere(const QString &path)
{
    if (::unlink(native(path).constData()) != 0 && errno != ENOENT)
        fileError(QStringLiteral("cannot delete"), path);
}

// Deletes a working copy and the journal SQLite may have left beside it; a stale journal would
// otherwise be played back into the next copy made under the same name.
void removeWorkingCopy(const QString &work)
{
    removeIfThere(work);
    removeIfThere(work + QStringLiteral("-journal"));
}

void discardWorkingCopy(const QString &work) noexcept
{
    ::unlink(native(work).constData());
    ::unlink(native(work + QStringLiteral("-journal")).constData());
}

Contents contentsOf(engine::Database &db)
{
    Contents c;
    for (const QString &table : db.tableNames())
        c.rows.insert(table, db.scalar(QStringLiteral("SELECT count(*) FROM ") + engine::quotedName(table)));
    c.userVersion = db.scalar(QStringLiteral("PRAGMA user_version"));
    return c;
}

[[noreturn]] void badCopy(const QString &why)
{
    throw EngineError(err::DatabaseDamaged,
                      QStringLiteral("The compacted copy did not check out (%1); the database was left as it was.").arg(why));
}

// Opens the copy with the key and compares it with what the original held.
void checkCopy(const QString &work, const Contents &expected)
{
    QFile head(work);
    if (!head.open(QIODevice::ReadOnly))
        badCopy(QStringLiteral("it cannot be read"));
    if (head.read(16).startsWith(QByteArrayLiteral("SQLite format 3")))
        badCopy(QStringLiteral("it is not encrypted"));
    head.close();
    std::unique_ptr<engine::Database> copy = engine::OpenDatabase(work, false, true, engine::kConnect);
    if (!copy->quickCheck())
        badCopy(QStringLiteral("its pages do not check out"));
    if (contentsOf(*copy) != expected)
        badCopy(QStringLiteral("its tables differ from the original's"));
}

// Gives the copy the original's permissions and owner, then makes it durable.
void prepareToReplace(const QString &work, const QString &target)
{
    struct stat original {};
    if (::stat(native(target).constData(), &original) != 0)
        fileError(QStringLiteral("cannot read the attributes of"), target);
    const int fd = ::open(native(work).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        fileError(QStringLiteral("cannot open"), work);
    // Someone else's file becomes ours only where the system refuses to give it back.
    if (::fchmod(fd, original.st_mode & 07777) != 0 || (::fchown(fd, original.st_uid, original.st_gid) != 0 && errno != EPERM)) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        fileError(QStringLiteral("cannot set the permissions of"), work);
    }
    const int failed = ::fsync(fd);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (failed != 0)
        diskError(work);
}

void syncFolder(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int saved = errno;
        if (fd >= 0)
            ::close(fd);
        errno = saved;
        diskError(folder);
    }
    ::close(fd);
}

// The real file behind the name, so a symbolic link keeps pointing at the compacted file.
QString realFile(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

CompactionResult CDatabase::compactFile()
{
    const QString target = realFile(m_fileName);
    const QString work = target + kWorkSuffix;

    // Our lock on the original stays held from the close to the reopen, and the copy is locked
    // before it takes the database's name, so no other copy of the program opens either file.
    std::unique_ptr<FileLock> keepOut;
    auto fileInUse = [&] {
        discardWorkingCopy(work);
        keepOut.reset();
        throw CompactionFailed{CompactionFailed::FileInUse, {}};
    };

    // The compacted copy would take our name as owner: a file we may only read must stay as it is.
    try {
        requireWritable();
    } catch (const EngineError &e) {
        throw CompactionFailed{CompactionFailed::NothingDone, {e}};
    }

    Contents before;
    try {
        if (m_db) {
            removeWorkingCopy(work);
            before = contentsOf(*m_db);
        }
    } catch (const EngineError &e) {
        // A leftover that cannot be deleted (a folder of that name, say) is named in the message;
        // the library stays open as it was.
        throw CompactionFailed{CompactionFailed::NothingDone, {e}};
    }

    keepOut = std::move(m_fileLock);
    if (!DbClose()) {
        keepOut.reset();
        throw CompactionFailed{CompactionFailed::NotClosed, {}};
    }

    bool replacing = false;
    try {
        CompactionResult result;
        result.sizeBefore = QFileInfo(target).size();
        engine::CompactDatabase(target, work, QString(), engine::dbEncrypt, engine::kConnect);
        checkCopy(work, before);
        prepareToReplace(work, target);
        m_fileLock = FileLock::acquire(work);
        replacing = true;
        if (::rename(native(work).constData(), native(target).constData()) != 0)
            fileError(QStringLiteral("cannot replace"), target);
        replacing = false;
        // The compaction has taken place: a folder that cannot be flushed could at worst bring the
        // old file, whole, back after a power cut, so it is no failure to report.
        try {
            syncFolder(target);
        } catch (const EngineError &) {
        }
        result.sizeAfter = QFileInfo(target).size();

        keepOut.reset();
        DbOpen();
        return result;
    } catch (const EngineError &e) {
        discardWorkingCopy(work);
        // Only a file another program holds ends the program; any other refused step leaves the
        // original under its name, untouched, and the program goes on with it.
        if (e.number() == err::FileInUse)
            fileInUse();
        // The file under the database's name is whole whatever failed: open it again.
        QList<EngineError> errors{replacing ? EngineError(e.number(), e.description() + QStringLiteral("  The database was left as it was."))
                                            : e};
        bool reopened = false;
        if (!isOpen()) {
            m_fileLock = std::move(keepOut);
            try {
                DbOpen();
                reopened = true;
            } catch (const EngineError &again) {
                if (again.number() != e.number() || again.description() != e.description())
                    errors.append(again);
            }
        }
        throw CompactionFailed{CompactionFailed::NothingDone, errors, reopened};
    }
}
