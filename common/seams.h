#pragma once
// The few points where the program meets the user or the machine outside its own windows: modal
// dialogs, the URL opener, the clock, the random generator and the program's folder. Each has a
// default that does the real thing, and a setter that tests use to take its place.

#include <QString>
#include <functional>

class QDateTime;
class QDialog;
class QUrl;
class QWidget;

// Shows the dialog modally and gives its result (QDialog::Accepted / Rejected).
int ShowModal(QDialog &dialog);
void setShowModalHandler(std::function<int(QDialog &)> handler);
// What F1 does in a dialog that ShowModal shows; the main program installs its help here.
void setDialogHelp(std::function<void(QDialog &)> help);

// Hands a web or mail address to the desktop; returns at once, failures are ignored.
void OpenUrl(const QUrl &url);
void setUrlOpener(std::function<void(const QUrl &)> opener);

// Seconds since midnight with fractions, as the status texts report times.
double SecondsSinceMidnight();
void setClock(std::function<double()> clock);
// The local date and time, for what is named or kept by the day (backups, set-aside files).
QDateTime CurrentDateTime();
void setDateTimeSource(std::function<QDateTime()> source);

// A uniform number in [0, 1). Randomize() re-seeds the generator from the clock.
double RandomUnit();
void Randomize();
void setRandomSource(std::function<double()> source);

// The folder that holds the program.
QString ProgramFolder();
void setProgramFolder(const QString &folder);

// The folder that holds the side files (help, tips, clip, starter library): the program's own
// folder when they are there, as in a build tree, otherwise the installed share folder found
// relative to the program (../share/zestro). Follows setProgramFolder.
QString DataFolder();
