#include "app/user_library.h"

#include "common/seams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace {

bool writableFolder(const QString &folder)
{
    // access() asks the system, which knows about read-only mounts as well as permissions.
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zestro");
}

// Copies under a working name and renames, so an interrupted copy never leaves a half library
// under the name the program opens. Returns why the copy failed, or nothing.
QString copyStarter(const QString &starter, const QString &target)
{
    const QString work = target + QStringLiteral(".copying");
    QFile::remove(work);
    QFile from(starter);
    if (!from.copy(work)) {
        const QString why = from.errorString();
        QFile::remove(work);
        return why;
    }
    QFile::setPermissions(work, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                    | QFileDevice::ReadOther);
    QFile copied(work);
    if (!copied.rename(target)) {
        const QString why = copied.errorString();
        QFile::remove(work);
        return why;
    }
    return QString();
}

QString cannotMake(const QString &target, const QString &starter, const QString &why)
{
    return QStringLiteral("Zestro could not make your library '%1' from the starter library '%2': %3.")
        .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(starter), why);
}

} // namespace

QString provideUserLibrary(QString *problem)
{
    const QDir programFolder(ProgramFolder());
    const QString besideProgram = programFolder.filePath(kUserLibraryName);
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    const QString dataFolder = DataFolder();
    const QString starter = QDir(dataFolder).filePath(kStarterLibraryName);
    QString target = besideProgram;
    // An installed copy never writes into its bin folder, not even when run by root.
    if (QDir(dataFolder) != programFolder || !writableFolder(programFolder.path())) {
        const QString data = userDataFolder();
        target = QDir(data).filePath(kUserLibraryName);
        if (QFileInfo::exists(target))
            return target;
        if (!QDir().mkpath(data) || !writableFolder(data)) {
            if (problem)
                *problem = cannotMake(target, starter, QStringLiteral("the folder '%1' cannot be made or written")
                                                           .arg(QDir::toNativeSeparators(data)));
            return target;
        }
    }
    // Without a starter there is nothing to make the library from: the missing-file message follows.
    if (!QFileInfo(starter).isFile())
        return target;
    const QString why = copyStarter(starter, target);
    if (!why.isEmpty() && problem)
        *problem = cannotMake(target, starter, why);
    return target;
}
