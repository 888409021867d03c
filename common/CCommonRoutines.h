#pragma once
// The shared toolbox of small routines for windows, list controls, text and files. One instance is
// made at start-up and used by every window and by the database object.

#include <QString>
#include <QStringList>

class QListWidget;

class CCommonRoutines {
public:
    // Files and paths
    bool FileExists(const QString &sFilename) const;
    QString GetFilenameFromPath(const QString &sFilename) const;

    // Lists and comma-delimited text
    QString ListboxToCommaDelimitedString(const QListWidget &lstList) const;
    int CommaDelimitedStringToArray(QStringList &sArray, const QString &sString, int iArraySize) const;
};
