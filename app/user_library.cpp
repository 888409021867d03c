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
// under the name the program opens.
void copyStarter(const QString &starter, const QString &target)
{
    const QString work = target + QStringLiteral(".copying");
    QFile::remove(work);
    if (!QFile::copy(starter, work))
        return;
    QFile::setPermissions(work, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                    | QFileDevice::ReadOther);
    if (!QFile::rename(work, target))
        QFile::remove(work);
}

} // namespace

QString provideUserLibrary()
{
    const QDir programFolder(ProgramFolder());
    const QString besideProgram = programFolder.filePath(kUserLibraryName);
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    const QString dataFolder = DataFolder();
    QString target = besideProgram;
    // An installed copy never writes into its bin folder, not even when run by root.
    if (QDir(dataFolder) != programFolder || !writableFolder(programFolder.path())) {
        const QString data = userDataFolder();
        QDir().mkpath(data);
        target = QDir(data).filePath(kUserLibraryName);
        if (QFileInfo::exists(target))
            return target;
    }
    const QString starter = QDir(dataFolder).filePath(kStarterLibraryName);
    if (QFileInfo(starter).isFile())
        copyStarter(starter, target);
    return target;
}
