#include "core/settings_access.h"

#include "core/ini_format.h"

#include <QDir>
#include <QFileInfo>
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
