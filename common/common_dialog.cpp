#include "common/common_dialog.h"

#include "common/engine_error.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrinter>
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

void CommonDialog::ShowOpen(QWidget *parent)
{
    std::optional<QString> chosen;
    if (fileHandler()) {
        chosen = fileHandler()(FileDialogKind::Open, *this);
    } else {
        const QString path = QFileDialog::getOpenFileName(parent, DialogTitle, InitDir, qtFilter(Filter));
        if (!path.isEmpty())
            chosen = path;
    }
    if (!chosen)
        cancelled();
    FileName = *chosen;
}

void CommonDialog::ShowSave(QWidget *parent)
{
    std::optional<QString> chosen;
    if (fileHandler()) {
        chosen = fileHandler()(FileDialogKind::Save, *this);
    } else {
        QFileDialog dialog(parent, DialogTitle, InitDir, qtFilter(Filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QString suffix = DefaultExt;
        if (suffix.startsWith(QLatin1Char('.')))
            suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
        if (!(Flags & cdlOFNOverwritePrompt))
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!FileName.isEmpty())
            dialog.selectFile(FileName);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    }
    if (!chosen)
        cancelled();
    FileName = *chosen;
}

void CommonDialog::ShowPrinter(QWidget *parent)
{
    if (fileHandler()) {
        if (!fileHandler()(FileDialogKind::Printer, *this))
            cancelled();
        return;
    }
    QPrinter printer;
    QPageSetupDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        cancelled();
}

void CommonDialog::ShowHelp(QWidget *parent)
{
    if (helpHandler())
        helpHandler()(parent, HelpFile, HelpCommand, HelpContext);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(HelpFile));
}
