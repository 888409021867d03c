#include "common/common_dialog.h"

#include "common/message_box.h"
#include "core/engine_error.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <sys/stat.h>

namespace {
FileDialogHandler &fileHandler()
{
    static FileDialogHandler handler;
    return handler;
}
HelpHandler &helpHandler()
{
    static HelpHandler handler;
    return handler;
}
GuardedFileProvider &guardedFile()
{
    static GuardedFileProvider provider;
    return provider;
}
[[noreturn]] void cancelled()
{
    throw EngineError(err::DialogCancelled, QStringLiteral("Cancel was selected."));
}
// The folder last chosen in this run, by the dialog's filter: bar lists, drink files and libraries
// each open where the user last went for one.
QHash<QString, QString> &lastFolders()
{
    static QHash<QString, QString> folders;
    return folders;
}
// The file name last chosen in this run, by the dialog's filter.
QHash<QString, QString> &lastNames()
{
    static QHash<QString, QString> names;
    return names;
}
void rememberFolder(const QString &filter, const QString &path)
{
    lastFolders().insert(filter, QFileInfo(path).absolutePath());
    lastNames().insert(filter, QFileInfo(path).fileName());
}
// "bar" of ".bar" or "bar".
QString bareSuffix(const QString &defaultExt)
{
    return defaultExt.startsWith(QLatin1Char('.')) ? defaultExt.mid(1) : defaultExt;
}
} // namespace

void setFileDialogHandler(FileDialogHandler handler)
{
    fileHandler() = std::move(handler);
}

void setHelpHandler(HelpHandler handler)
{
    helpHandler() = std::move(handler);
}

void setGuardedFile(GuardedFileProvider provider)
{
    guardedFile() = std::move(provider);
}

bool isGuardedFile(const QString &path)
{
    const QString guarded = guardedFile() ? guardedFile()() : QString();
    if (guarded.isEmpty() || path.isEmpty())
        return false;
    // The same file by any name: a link, another spelling of the folder, a bind mount.
    struct stat a {}, b {};
    if (::stat(QFile::encodeName(path).constData(), &a) == 0 && ::stat(QFile::encodeName(guarded).constData(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    return QFileInfo(path).absoluteFilePath() == QFileInfo(guarded).absoluteFilePath();
}

QString CommonDialog::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return filters.join(QStringLiteral(";;"));
}

QString CommonDialog::withDefaultExt(const QString &chosen, const QString &defaultExt)
{
    const QString suffix = bareSuffix(defaultExt);
    const QString name = QFileInfo(chosen).fileName();
    if (suffix.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('.')) || QFileInfo(chosen).isDir())
        return chosen;
    return chosen + QLatin1Char('.') + suffix;
}

QString CommonDialog::proposedName() const
{
    // The caller's own proposal when it is of this dialog's kind; else the name last chosen for the
    // kind; never a file of another kind, such as the library the open dialog chose.
    QString suffix = bareSuffix(DefaultExt);
    if (suffix.isEmpty()) { // the kind the filter names: "Zestro bar list|*.bar" -> "bar"
        const QString pattern = Filter.section(QLatin1Char('|'), 1, 1).section(QLatin1Char(';'), 0, 0);
        if (pattern.startsWith(QLatin1String("*.")) && pattern.indexOf(QLatin1Char('*'), 1) < 0)
            suffix = pattern.mid(2);
    }
    QString name = !FileName.isEmpty() && QFileInfo(FileName).suffix().compare(suffix, Qt::CaseInsensitive) == 0
                       ? FileName
                       : lastNames().value(Filter);
    if (name.isEmpty())
        return QString();
    if (QFileInfo(name).isRelative())
        name = QDir(startFolder()).filePath(name);
    return isGuardedFile(name) ? QString() : name;
}

QString CommonDialog::startFolder() const
{
    if (!InitDir.isEmpty())
        return InitDir;
    const QString last = lastFolders().value(Filter);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void CommonDialog::ShowOpen(QWidget *parent)
{
    std::optional<QString> chosen;
    if (fileHandler()) {
        chosen = fileHandler()(FileDialogKind::Open, *this);
    } else {
        const QString path = QFileDialog::getOpenFileName(parent, DialogTitle, startFolder(), qtFilter(Filter));
        if (!path.isEmpty())
            chosen = path;
    }
    if (!chosen)
        cancelled();
    FileName = *chosen;
    rememberFolder(Filter, FileName);
}

void CommonDialog::ShowSave(QWidget *parent)
{
    FileName = proposedName();
    for (;;) {
        std::optional<QString> chosen;
        // A preset choice stands for a dialog that asked about an existing name itself.
        bool replaceAsked = false;
        if (fileHandler()) {
            chosen = fileHandler()(FileDialogKind::Save, *this);
            replaceAsked = true;
        } else {
            QFileDialog dialog(parent, DialogTitle, startFolder(), qtFilter(Filter));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(bareSuffix(DefaultExt));
            // The question is asked below, once the open library has been ruled out.
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
            if (!FileName.isEmpty())
                dialog.selectFile(FileName);
            if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
                chosen = dialog.selectedFiles().first();
        }
        if (!chosen)
            cancelled();
        const QString path = withDefaultExt(*chosen, DefaultExt);
        if (isGuardedFile(path)) {
            MsgBox(QStringLiteral("'%1' is the library Zestro has open, and saving there would replace it.  Please choose another name.")
                       .arg(QDir::toNativeSeparators(path)),
                   msgbox::vbExclamation);
            FileName.clear();
            continue;
        }
        // A dialog that does not add the extension itself could not ask about the name it makes.
        if ((path != *chosen || !replaceAsked) && (Flags & cdlOFNOverwritePrompt) && QFileInfo::exists(path)
            && MsgBox(QStringLiteral("%1 already exists. Replace it?").arg(QFileInfo(path).fileName()),
                      msgbox::vbYesNo | msgbox::vbExclamation)
                   != msgbox::vbYes) {
            FileName = *chosen; // back to the dialog, the typed name in it
            continue;
        }
        FileName = path;
        rememberFolder(Filter, FileName);
        return;
    }
}

void CommonDialog::ShowPrinter(QWidget *parent)
{
    // The dialog writes its settings into the printer only when the user accepts, so Cancel leaves
    // the earlier choice, or none, in force.
    std::shared_ptr<QPrinter> printer = m_printer;
    if (!printer) {
        printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setDocName(QStringLiteral("Zestro drinks"));
    }
    if (fileHandler()) {
        const std::optional<QString> chosen = fileHandler()(FileDialogKind::Printer, *this);
        if (!chosen)
            cancelled();
        if (isGuardedFile(*chosen)) {
            MsgBox(QStringLiteral("'%1' is the library Zestro has open, and printing into it would replace it.  Please choose another file.")
                       .arg(QDir::toNativeSeparators(*chosen)),
                   msgbox::vbExclamation);
            cancelled();
        }
        if (!chosen->isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(*chosen);
        }
    } else {
        QPrintDialog dialog(printer.get(), parent);
        dialog.setWindowTitle(QStringLiteral("Printer Setup"));
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
        // The dialog only chooses; File, Print prints. Its accept button says so.
        for (QDialogButtonBox *buttons : dialog.findChildren<QDialogButtonBox *>()) {
            if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(QStringLiteral("OK"));
        }
        for (;;) {
            if (dialog.exec() != QDialog::Accepted)
                cancelled();
            if (printer->outputFormat() != QPrinter::PdfFormat || !isGuardedFile(printer->outputFileName()))
                break;
            MsgBox(QStringLiteral("'%1' is the library Zestro has open, and printing into it would replace it.  Please choose another file.")
                       .arg(QDir::toNativeSeparators(printer->outputFileName())),
                   msgbox::vbExclamation);
            printer->setOutputFileName(QString());
        }
    }
    m_printer = std::move(printer);
}

void CommonDialog::ShowHelp(QWidget *parent)
{
    if (helpHandler())
        helpHandler()(parent, HelpFile, HelpCommand, HelpContext);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(HelpFile));
}
