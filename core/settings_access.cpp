#include "core/settings_access.h"

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
    const QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    requireTestHome(store);
    const QVariant value = store.value(settingsKey(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    requireTestHome(store);
    store.setValue(settingsKey(section, key), value);
    store.sync();
}
