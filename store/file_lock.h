#pragma once
// Keeps a second copy of the program away from a library file while this one has it open. The lock
// is taken on the file itself (flock on its own descriptor), so every path that reaches the file, a
// symbolic or hard link or a relative path, meets the same lock, and the system drops it when the
// holder dies, even by kill -9. SQLite's own locks are fcntl locks, which flock locks do not touch.
//
// The descriptor is closed only after the database connection on the file is closed: closing any
// descriptor of a file drops every fcntl lock the process holds on it.

#include <QString>
#include <memory>

class FileLock {
public:
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Locks the file at `path`. Throws the in-use error when another holder has it; gives null when
    // the file cannot be locked at all (no such file, a file system without locks), which the open
    // that follows reports on its own.
    static std::unique_ptr<FileLock> acquire(const QString &path);
    // Whether `path` names the locked file, by device and inode.
    bool covers(const QString &path) const;

private:
    explicit FileLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};
