#include "common/common_dialog.h"

#include "core/engine_error.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
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
