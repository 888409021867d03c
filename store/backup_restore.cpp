// Copies of the library: the daily one before the first write of a day, the one the user asks for,
// and putting one back in the library's place.

#include "store/CDatabase.h"

#include "common/seams.h"
#include "store/engine/journal_check.h"
#include "store/file_lock.h"
#include "store/library_backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

[[noreturn]] void fileError(const QString &what, const QString &path)
{
    throw EngineError(err::PathFileAccess, QStringLiteral("Path/File access error (%1 '%2': %3).").arg(what, path, systemError()));
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat one {}, two {};
    return ::stat(native(a).constData(), &one) == 0 && ::stat(native(b).constData(), &two) == 0 && one.st_dev == two.st_dev
           && one.st_ino == two.st_ino;
}

// The real file behind the name, so a symbolic link keeps pointing at the restored file.
QString realFile(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

// A byte copy of the backup with the library's permissions, flushed to disk.
void copyForRestore(const QString &backup, const QString &work, const QString &library)
{
    QFile::remove(work);
    if (!QFile::copy(backup, work))
        fileError(QStringLiteral("cannot copy the backup to"), work);
    struct stat original {};
    const int fd = ::open(native(work).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        fileError(QStringLiteral("cannot open"), work);
    const bool ok = ::stat(native(library).constData(), &original) == 0 && ::fchmod(fd, original.st_mode & 07777) == 0
                    && ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (!ok)
        fileError(QStringLiteral("cannot prepare"), work);
}

void syncFolder(const QString &file)
{
    const int fd = ::open(native(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Whatever journal is beside the library once its connection is closed cannot belong to the file
// that takes its place: it is kept under another name, never played back into the restored file.
void setAsideAnyJournal(const QString &library)
{
    const QString journal = engine::journalPath(library);
    if (!QFileInfo::exists(journal))
        return;
    const QString aside = journal + QStringLiteral(".stray-") + CurrentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (::rename(native(journal).constData(), native(aside).constData()) != 0)
        fileError(QStringLiteral("cannot set aside the journal"), journal);
}

} // namespace

void CDatabase::takeDailyBackup() const
{
    // Only between writes: a copy taken inside a transaction would hold what is not committed.
    if (!m_db || !m_db->isOpen() || m_db->inTransaction())
        return;
    const QDateTime now = CurrentDateTime();
    if (m_backupDay == now.date())
        return;
    m_backupDay = now.date(); // tried once a day, whatever comes of it
    try {
        const QDir folder(backups::folderFor(m_fileName));
        const QString target = folder.filePath(backups::dailyName(m_fileName, now.date()));
        if (!QFileInfo::exists(target)) {
            if (!folder.exists() && !QDir().mkpath(folder.path()))
                throw EngineError(err::PathFileAccess, QStringLiteral("The folder '%1' cannot be made.").arg(folder.path()));
            backups::writeCopy(*m_db, target);
        }
        backups::prune(m_fileName, now.date());
    } catch (const EngineError &e) {
        if (m_output && !std::exchange(m_backupFailureTold, true))
            m_output->notify(QStringLiteral("Today's backup of the library could not be made: %1  The change goes on without it; "
                                            "Zestro tries again tomorrow.")
                                 .arg(e.description()),
                             Notice::Exclamation);
    }
}

void CDatabase::backUpTo(const QString &path)
{
    engine::Database &library = database();
    if (sameFile(path, m_fileName) || sameFile(path, realFile(m_fileName)))
        throw EngineError(err::PathFileAccess,
                          QStringLiteral("'%1' is the open library itself; a backup needs a file of its own.").arg(path));
    backups::writeCopy(library, path);
}

QString CDatabase::restoreBackup(const QString &backup)
{
    requireWritable();
    const QString target = realFile(m_fileName);
    if (sameFile(backup, target))
        throw EngineError(err::PathFileAccess, QStringLiteral("'%1' is the open library itself.").arg(backup));
    const QString why = backups::whyNotRestorable(backup);
    if (!why.isEmpty())
        throw EngineError(err::DatabaseDamaged, QStringLiteral("The backup '%1' cannot be restored: %2").arg(backup, why));

    // The library as it is now becomes a backup too, before anything of it changes.
    const QDir folder(backups::folderFor(m_fileName));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        fileError(QStringLiteral("cannot make the folder"), folder.path());
    const QString kept = folder.filePath(backups::replacedName(m_fileName, CurrentDateTime()));
    backups::writeCopy(database(), kept);

    const QString work = target + QStringLiteral(".restoring");
    copyForRestore(backup, work, target);
    std::unique_ptr<FileLock> restoredLock = FileLock::acquire(work);
    // Our lock on the library is held until the restored file, locked too, has its name.
    std::unique_ptr<FileLock> keepOut = std::move(m_fileLock);
    DbClose();
    try {
        setAsideAnyJournal(m_fileName); // the engine names it by the path it opened, a link or not
        if (target != m_fileName)
            setAsideAnyJournal(target);
        if (::rename(native(work).constData(), native(target).constData()) != 0)
            fileError(QStringLiteral("cannot replace"), target);
    } catch (...) {
        QFile::remove(work);
        m_fileLock = std::move(keepOut);
        DbOpen(); // the library as it was
        throw;
    }
    syncFolder(target);
    m_fileLock = std::move(restoredLock);
    keepOut.reset();
    DbOpen();
    backups::prune(m_fileName, CurrentDateTime().date());
    return kept;
}
