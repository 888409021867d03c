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
void rememberFolder(const QString &filter, const QString &path)
{
    lastFolders().insert(filter, QFileInfo(path).absolutePath());
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
    for (;;) {
        std::optional<QString> chosen;
        if (fileHandler()) {
            chosen = fileHandler()(FileDialogKind::Save, *this);
        } else {
            QFileDialog dialog(parent, DialogTitle, startFolder(), qtFilter(Filter));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(bareSuffix(DefaultExt));
            if (!(Flags & cdlOFNOverwritePrompt))
                dialog.setOption(QFileDialog::DontConfirmOverwrite);
            if (!FileName.isEmpty())
                dialog.selectFile(FileName);
            if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
                chosen = dialog.selectedFiles().first();
        }
        if (!chosen)
            cancelled();
        // A dialog that does not add the extension itself could not ask about the name it makes.
        const QString path = withDefaultExt(*chosen, DefaultExt);
        if (path != *chosen && (Flags & cdlOFNOverwritePrompt) && QFileInfo::exists(path)
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
        if (dialog.exec() != QDialog::Accepted)
            cancelled();
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
