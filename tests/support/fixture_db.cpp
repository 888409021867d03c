#include "support/fixture_db.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <functional>
#include <QTemporaryDir>

namespace fixture {

namespace {

QTemporaryDir &cacheDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString cached(const QString &key, const std::function<void(const QString &)> &build)
{
    static QHash<QString, QString> built;
    if (!built.contains(key)) {
        const QString path = cacheDir().filePath(key + QStringLiteral(".mdb"));
        build(path);
        built.insert(key, path);
    }
    return built.value(key);
}

QString copyTo(const QString &source, const QString &folder, const QString &fileName)
{
    const QString target = QDir(folder).filePath(fileName);
    QFile::remove(target);
    if (!QFile::copy(source, target))
        qFatal("cannot copy the fixture library to %s", qPrintable(target));
    QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

} // namespace

library::Library starterContents()
{
    static const library::Library lib =
        library::readLibraryJson(QStringLiteral(ZESTRO_SOURCE_DIR "/resources/library/drinks.json"));
    return lib;
}

QString starterLibrary(const QString &folder, const QString &fileName)
{
    const QString source = cached(QStringLiteral("starter"), [](const QString &path) {
        library::writeLibrary(path, starterContents());
    });
    return copyTo(source, folder, fileName);
}

QString oldFormatLibrary(const QString &folder, const QString &fileName)
{
    const QString source = cached(QStringLiteral("old"), [](const QString &path) {
        library::writeLibrary(path, starterContents(), library::Layout::WithoutHas);
    });
    return copyTo(source, folder, fileName);
}

QString syntheticLibrary(const QString &folder, int drinks, const QString &fileName)
{
    const QString source = cached(QStringLiteral("synthetic%1").arg(drinks), [drinks](const QString &path) {
        library::writeLibrary(path, library::syntheticLibrary(drinks, 1));
    });
    return copyTo(source, folder, fileName);
}

QString customLibrary(const QString &folder, const library::Library &lib, const QString &fileName)
{
    const QString target = QDir(folder).filePath(fileName);
    library::writeLibrary(target, lib);
    return target;
}

} // namespace fixture
