#pragma once
// The main window's common dialog: file open and save, printer set-up, and the help viewer, with
// the properties the program sets before showing it. Cancelling raises error 32755, as callers
// expect. Tests preset the outcome with setFileDialogHandler / setHelpHandler; what ShowSave does
// with the chosen name (the default extension, the question before replacing a file) applies to a
// preset name too.

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

class CommonDialog {
public:
    // Flags the program uses.
    static constexpr int cdlOFNOverwritePrompt = 2;
    static constexpr int cdlOFNHideReadOnly = 4;
    static constexpr int cdlOFNFileMustExist = 4096;
    // Help commands.
    static constexpr int cdlHelpContext = 1;
    static constexpr int cdlHelpFinder = 11;

    QString Filter;     // "Description|pattern|Description|pattern"
    int Flags = 0;
    QString DefaultExt; // ".mdb" or "mdb"
    QString InitDir;
    QString FileName;   // the chosen path after ShowOpen / ShowSave
    QString DialogTitle;
    QString HelpFile;
    int HelpCommand = 0;
    int HelpContext = 0;

    void ShowOpen(QWidget *parent = nullptr);
    void ShowSave(QWidget *parent = nullptr);
    // Lets the user choose the printer and its settings; the choice is kept for the rest of the
    // run and printing uses it. Cancel keeps the earlier choice.
    void ShowPrinter(QWidget *parent = nullptr);
    void ShowHelp(QWidget *parent = nullptr);

    // "Zestro bar list|*.bar" -> "Zestro bar list (*.bar)"
    static QString qtFilter(const QString &filter);
    // The name a save gives: `chosen` with `defaultExt` ("bar" or ".bar") added when the file name
    // has no extension of its own and is no folder.
    static QString withDefaultExt(const QString &chosen, const QString &defaultExt);
    // Where the file dialog opens: InitDir when the caller set one, else the folder last chosen with
    // the same filter in this run, else the user's documents folder, or home when there is none.
    QString startFolder() const;
    // The name a save dialog offers: FileName when it is of the dialog's kind (DefaultExt), else the
    // name last chosen with the same filter; in startFolder() when it names no folder; never the
    // guarded file.
    QString proposedName() const;

    // The printer chosen in ShowPrinter, or null until the user has chosen one.
    QPrinter *Printer() const { return m_printer.get(); }

private:
    std::shared_ptr<QPrinter> m_printer;
};

enum class FileDialogKind { Open, Save, Printer };
// The chosen path, or nothing for Cancel. For the printer, a path chooses printing into that PDF
// file; an empty path accepts the printer as it stands.
using FileDialogHandler = std::function<std::optional<QString>(FileDialogKind, CommonDialog &)>;
void setFileDialogHandler(FileDialogHandler handler);
// Shows the help file; the main program installs its help window here.
using HelpHandler = std::function<void(QWidget *parent, const QString &file, int command, int context)>;
void setHelpHandler(HelpHandler handler);
// The file no save may replace (the open library), by whatever path a save names it. ShowSave and
// the printer's PDF file refuse it with a message and ask again.
using GuardedFileProvider = std::function<QString()>;
void setGuardedFile(GuardedFileProvider provider);
bool isGuardedFile(const QString &path);
