#include "store/file_lock.h"

#include "core/engine_error.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

std::unique_ptr<FileLock> FileLock::acquire(const QString &path)
{
    // Read access is enough to lock, so a read-only file or folder is locked too. O_NONBLOCK keeps
    // a FIFO from blocking the open; the caller refuses anything but a regular file anyway.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        ::close(fd);
        if (why == EWOULDBLOCK)
            throw EngineError(err::FileInUse,
                              QStringLiteral("Could not use '%1'; file already in use by another copy of Zestro.").arg(path));
        return nullptr; // no locks on this file system: nothing to hold
    }
    return std::unique_ptr<FileLock>(new FileLock(fd));
}

bool FileLock::covers(const QString &path) const
{
    struct stat mine {}, theirs {};
    return ::fstat(m_fd, &mine) == 0 && ::stat(QFile::encodeName(path).constData(), &theirs) == 0
           && mine.st_dev == theirs.st_dev && mine.st_ino == theirs.st_ino;
}
