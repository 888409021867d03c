#pragma once
// Points the per-user settings store at a fresh temporary folder for the lifetime of the object.

#include <QSettings>
#include <QTemporaryDir>

class TempSettings {
public:
    TempSettings()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    QString path() const { return m_dir.path(); }
    // The INI file that holds the program's settings, for tests that edit it by hand.
    QString iniFile() const { return m_dir.path() + QStringLiteral("/Zestro/Zestro.ini"); }

private:
    QTemporaryDir m_dir;
};
