#include "common/settings_access.h"

#include <QSettings>

namespace {
QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

QString GetSetting(const QString &appName, const QString &section, const QString &key, const QString &defaultValue)
{
    const QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    const QVariant value = store.value(settingsKey(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, appName, appName);
    store.setValue(settingsKey(section, key), value);
    store.sync();
}
