#pragma once
// The per-user settings store: text values addressed by application, section and key.
// Backed by QSettings in the user's configuration folder, as <app>/<app>.ini in a readable INI
// dialect (core/ini_format.h); tests redirect that folder with
// QSettings::setPath(QSettings::IniFormat, ...) before the first call.

#include <QList>
#include <QString>

#include <utility>

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
void SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value);
// Several keys of one section in one write of the file; false when the file could not be written
// (the old one is then left as it was).
bool SaveSettings(const QString &appName, const QString &section, const QList<std::pair<QString, QString>> &values);
// A settings file the reader refuses (far too large, or not text) is renamed <file>.bad so the
// program starts with its defaults; returns the sentence that tells the user, or nothing when the
// file is fine or absent.
QString setAsideUnreadableSettings(const QString &appName);
