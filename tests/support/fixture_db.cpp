#include "support/fixture_db.h"

#include "store/CDatabase.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <algorithm>
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

QStringList namesWhere(const std::function<bool(const library::Drink &)> &keep)
{
    QStringList names;
    for (const library::Drink &d : starterContents().drinks)
        if (keep(d))
            names << d.name;
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

const QString kAccentedDrinksSql = QStringLiteral(
    "INSERT INTO Ingredients (ID, Ingredient, Common, Has) VALUES (900, 'Cachaça', 0, 0), (901, 'Crème de Mûre', 0, 0), "
    "(902, 'Bénédictine', 0, 0);"
    "INSERT INTO Drinks (ID, Name, Description, Comments) VALUES (900, 'Carrè Royale', 'Stir over ice, strain into a café glass.', "
    "'Très bon'), (901, 'Caipirinha Nova', 'Muddle.', NULL), (902, 'Kir Mûre Fizz', 'Build.', NULL);"
    "INSERT INTO DrinkRel (DrinkID, IngID, Amount) VALUES (900, 902, '1 Ounce'), (901, 900, '2 Ounces'), "
    "(902, 901, '1 Ounce');");

std::unique_ptr<CDatabase> openedStarterLibrary(const QString &folder)
{
    auto db = std::make_unique<CDatabase>();
    db->setFileName(starterLibrary(folder));
    db->DbOpen();
    return db;
}

} // namespace fixture
