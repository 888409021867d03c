#include "core/settings_access.h"

#include "core/ini_format.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>

namespace {

// The test runner gives every test a home of its own and names it here; a settings file anywhere
// else would be the user's own, and a test must never read or change it.
void requireTestHome(const QSettings &store)
{
    static const QString home = QString::fromLocal8Bit(qgetenv("ZESTRO_TEST_HOME"));
    if (!home.isEmpty() && !QFileInfo(store.fileName()).absoluteFilePath().startsWith(QDir(home).absolutePath() + QLatin1Char('/')))
        qFatal("A test reached the settings file %s outside its own home %s", qPrintable(store.fileName()), qPrintable(home));
}

QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

QString GetSetting(const QString &appName, const QString &section, const QString &key, const QString &defaultValue)
{
    const QSettings store(ini::settingsFormat(), QSettings::UserScope, appName, appName);
    requireTestHome(store);
    const QVariant value = store.value(settingsKey(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    SaveSettings(appName, section, {{key, value}});
}

bool SaveSettings(const QString &appName, const QString &section, const QList<std::pair<QString, QString>> &values)
{
    QSettings store(ini::settingsFormat(), QSettings::UserScope, appName, appName);
    requireTestHome(store);
    for (const auto &[key, value] : values)
        store.setValue(settingsKey(section, key), value);
    store.sync();
    return store.status() == QSettings::NoError;
}

QString setAsideUnreadableSettings(const QString &appName)
{
    QString path;
    {
        // The reader refuses such a file unread, so asking QSettings where the file is costs nothing.
        const QSettings store(ini::settingsFormat(), QSettings::UserScope, appName, appName);
        requireTestHome(store);
        if (store.status() != QSettings::FormatError)
            return QString();
        path = store.fileName();
    }
    QString aside = path + QStringLiteral(".bad");
    if (QFileInfo::exists(aside))
        aside = path + QStringLiteral(".bad-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QFile::remove(aside);
    const QString size = QLocale::system().formattedDataSize(QFileInfo(path).size());
    if (!QFile::rename(path, aside))
        return QStringLiteral("The settings file '%1' (%2) is not one Zestro wrote: it is too large or not text.  Zestro starts with its "
                              "default settings, and could not set the file aside.")
            .arg(QDir::toNativeSeparators(path), size);
    return QStringLiteral("The settings file '%1' (%2) is not one Zestro wrote: it is too large or not text.  Zestro starts with its "
                          "default settings and has kept the file as '%3'.")
        .arg(QDir::toNativeSeparators(path), size, QDir::toNativeSeparators(aside));
}
