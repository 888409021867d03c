#include "common/print_target.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <optional>

namespace {

constexpr double kTwipsPerInch = 1440.0;

PrintTargetFactory &targetFactory()
{
    static PrintTargetFactory factory;
    return factory;
}

// A page of the paper the user's locale uses, with margins a printed page of text wants: a PDF
// has no hardware margins of its own.
QPageLayout pdfPageLayout()
{
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
}

// Draws on a printer or into a PDF. Positions are kept in twips and turned into device pixels as
// each text is drawn. A text that would run past the bottom of the page starts a new page first.
class PainterTarget final : public PrintTarget {
public:
    // On a printer; `owned` when the job made the printer itself.
    PainterTarget(QPrinter *printer, std::unique_ptr<QPrinter> owned)
        : m_ownedPrinter(std::move(owned)), m_printer(printer)
    {
        start(printer, QStringLiteral("The printer %1 could not start the job.").arg(printer->printerName()));
    }

    // Into a PDF written under a temporary name and put in place only when complete.
    PainterTarget(const QString &path, const QPageLayout &layout, bool noPrinter)
        : m_file(std::make_unique<QSaveFile>(path)), m_noPrinter(noPrinter)
    {
        m_writer = std::make_unique<QPdfWriter>(m_file.get());
        m_writer->setPageLayout(layout);
        m_writer->setTitle(QStringLiteral("Zestro drinks"));
        m_writer->setCreator(QStringLiteral("Zestro"));
        if (!m_file->open(QIODevice::WriteOnly)) {
            m_device = m_writer.get();
            fail(QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), m_file->errorString()));
            return;
        }
        start(m_writer.get(), QStringLiteral("%1 could not be written.").arg(QDir::toNativeSeparators(path)));
    }

    ~PainterTarget() override
    {
        // A job left unfinished (a failure on the way) is thrown away: the printer drops it and an
        // uncommitted save file removes its temporary file.
        if (m_painter.isActive()) {
            if (m_printer)
                m_printer->abort();
            m_painter.end();
        }
    }

    double CurrentX() const override { return m_x; }
    void setCurrentX(double x) override { m_x = x; }
    double CurrentY() const override { return m_y; }
    double ScaleHeight() const override { return m_device->height() / m_pixelsPerTwipY; }
    double ScaleWidth() const override { return m_device->width() / m_pixelsPerTwipX; }

    void setFontName(const QString &name) override
    {
        m_font.setFamily(printFontFamily(name));
        fontChanged();
    }
    void setFontSize(double points) override
    {
        if (points > 0)
            m_font.setPointSizeF(points);
        fontChanged();
    }
    void setFontBold(bool bold) override
    {
        m_font.setBold(bold);
        fontChanged();
    }
    double TextWidth(const QString &text) override { return metrics().horizontalAdvance(text) / m_pixelsPerTwipX; }

    void Print(const QString &text, bool endLine) override
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
                continue;
            draw(text.mid(start, i - start));
            if (i < text.size()) {
                if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                    ++i;
                lineEnd();
            }
            start = i + 1;
        }
        if (endLine)
            lineEnd();
    }

    void NewPage() override
    {
        if (m_painter.isActive() && !m_device->newPage())
            fail(QStringLiteral("A new page could not be started."));
        m_x = 0;
        m_y = 0;
    }

    PrintOutcome EndDoc() override
    {
        if (m_painter.isActive() && !m_painter.end())
            fail(QStringLiteral("The job could not be finished."));
        if (m_file && m_outcome.ok && !m_file->commit())
            fail(QStringLiteral("%1 could not be written: %2")
                     .arg(QDir::toNativeSeparators(m_file->fileName()), m_file->errorString()));
        if (m_file && m_outcome.ok) {
            m_outcome.file = m_file->fileName();
            m_outcome.noPrinter = m_noPrinter;
        }
        return m_outcome;
    }

private:
    void start(QPagedPaintDevice *device, const QString &failure)
    {
        m_device = device;
        m_pixelsPerTwipX = device->logicalDpiX() / kTwipsPerInch;
        m_pixelsPerTwipY = device->logicalDpiY() / kTwipsPerInch;
        if (!m_painter.begin(device))
            fail(failure);
        else
            m_painter.setFont(m_font);
    }

    void fail(const QString &error)
    {
        if (m_outcome.ok)
            m_outcome = PrintOutcome{false, error, QString(), false};
        if (m_painter.isActive()) {
            if (m_printer)
                m_printer->abort();
            m_painter.end();
        }
        if (m_file)
            m_file->cancelWriting();
    }

    void fontChanged()
    {
        m_metrics.reset();
        if (m_painter.isActive())
            m_painter.setFont(m_font);
    }

    const QFontMetricsF &metrics()
    {
        if (!m_metrics)
            m_metrics.emplace(m_font, m_device);
        return *m_metrics;
    }

    double lineHeight() { return metrics().lineSpacing() / m_pixelsPerTwipY; }

    void lineEnd()
    {
        m_y += lineHeight();
        m_x = 0;
    }

    void draw(const QString &segment)
    {
        if (segment.isEmpty())
            return;
        if (m_y > 0 && m_y + lineHeight() > ScaleHeight())
            NewPage();
        if (m_painter.isActive())
            m_painter.drawText(QPointF(m_x * m_pixelsPerTwipX, m_y * m_pixelsPerTwipY + metrics().ascent()), segment);
        m_x += TextWidth(segment);
    }

    // Owned devices first, so that the painter on them is ended before they go.
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPrinter> m_ownedPrinter;
    QPrinter *m_printer = nullptr;
    QPagedPaintDevice *m_device = nullptr;
    QPainter m_painter;
    QFont m_font{printFontFamily(QStringLiteral("Tahoma")), 12};
    std::optional<QFontMetricsF> m_metrics;
    double m_pixelsPerTwipX = 1200 / kTwipsPerInch;
    double m_pixelsPerTwipY = 1200 / kTwipsPerInch;
    double m_x = 0;
    double m_y = 0;
    bool m_noPrinter = false;
    PrintOutcome m_outcome;
};

} // namespace

void setPrintTargetFactory(PrintTargetFactory factory)
{
    targetFactory() = std::move(factory);
}

QString printFontFamily(const QString &requested)
{
    static QHash<QString, QString> chosen;
    auto known = chosen.constFind(requested);
    if (known != chosen.constEnd())
        return *known;
    QString family;
    if (QFontDatabase::hasFamily(requested)) {
        family = requested;
    } else {
        // Close to Tahoma in width and weight first, then the sans families most systems carry.
        for (const char *candidate : {"Verdana", "DejaVu Sans", "Liberation Sans", "Noto Sans", "Arial", "FreeSans"}) {
            if (QFontDatabase::hasFamily(QLatin1String(candidate))) {
                family = QLatin1String(candidate);
                break;
            }
        }
        if (family.isEmpty())
            family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }
    chosen.insert(requested, family);
    return family;
}

QString freePdfName(const QString &folder, const QDateTime &when)
{
    const QString base = QStringLiteral("Zestro drinks ") + when.toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    const QDir dir(folder);
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(base + QStringLiteral(" (%1).pdf").arg(n));
    return path;
}

std::unique_ptr<PrintTarget> OpenPrintJob(QPrinter *chosen)
{
    if (targetFactory())
        return targetFactory()();
    if (chosen && chosen->outputFormat() == QPrinter::NativeFormat)
        return std::make_unique<PainterTarget>(chosen, nullptr);
    if (!chosen) {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
            info = QPrinterInfo::availablePrinters().constFirst();
        if (!info.isNull()) {
            auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
            printer->setDocName(QStringLiteral("Zestro drinks"));
            QPrinter *raw = printer.get();
            return std::make_unique<PainterTarget>(raw, std::move(printer));
        }
    }
    // A file: the one chosen in Printer Setup, else a new one in the documents folder.
    if (chosen && !chosen->outputFileName().isEmpty())
        return std::make_unique<PainterTarget>(chosen->outputFileName(), chosen->pageLayout(), false);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    return std::make_unique<PainterTarget>(freePdfName(folder, QDateTime::currentDateTime()),
                                           chosen ? chosen->pageLayout() : pdfPageLayout(), true);
}
