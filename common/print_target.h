#pragma once
// Where printing draws: a page-oriented target in twips (1/1440 inch). It keeps a current position,
// measures and prints text in the font set last, starts new pages and ends the document. The real
// one draws on a printer or into a PDF file; tests put a recording target in its place.

#include <QString>
#include <functional>
#include <memory>

class QDateTime;
class QPrinter;

// How a print job ended, for the message the user reads.
struct PrintOutcome {
    bool ok = true;
    QString error;       // what went wrong, when !ok
    QString file;        // the PDF written, or empty when the job went to a printer
    bool noPrinter = false; // the file was written because the system has no printer
};

class PrintTarget {
public:
    virtual ~PrintTarget() = default;

    // The current position; a line end moves it to x 0 of the next line.
    virtual double CurrentX() const = 0;
    virtual void setCurrentX(double x) = 0;
    virtual double CurrentY() const = 0;
    // The printable area of a page.
    virtual double ScaleHeight() const = 0;
    virtual double ScaleWidth() const = 0;

    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual double TextWidth(const QString &text) = 0;

    // Prints the text at the current position and moves past it; a carriage return, a line feed
    // or the pair of them inside the text ends the line there. endLine ends the line afterwards.
    virtual void Print(const QString &text, bool endLine) = 0;
    virtual void NewPage() = 0;
    // Ends the document: the job goes to the printer, or the file is written.
    virtual PrintOutcome EndDoc() = 0;
};

// Starts a print job on the printer chosen in Printer Setup (null: none chosen), else on the system's
// default printer, else into a new PDF file in the user's documents folder. A target that failed to
// start reports it from EndDoc(); drawing on it does nothing meanwhile.
std::unique_ptr<PrintTarget> OpenPrintJob(QPrinter *chosen);

// Test seam: while a factory is installed OpenPrintJob asks it instead.
using PrintTargetFactory = std::function<std::unique_ptr<PrintTarget>()>;
void setPrintTargetFactory(PrintTargetFactory factory);

// The family that stands for `requested` on this system: the family itself when installed, else
// the closest sans-serif family there is.
QString printFontFamily(const QString &requested);

// The name of the PDF written when there is no printer: "Zestro drinks <date> <time>.pdf" in the
// folder, with " (2)", " (3)"... added so that no existing file is replaced.
QString freePdfName(const QString &folder, const QDateTime &when);
