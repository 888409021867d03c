#pragma once
// The per-user settings store: text values addressed by application, section and key.
// Backed by QSettings in INI format in the user's configuration folder; tests redirect that folder
// with QSettings::setPath before the first call.

#include <QString>

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value);
