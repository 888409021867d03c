// Printing the drinks marked to print: one job, each drink as its name, its ingredient lines two
// to a line, its directions and its comments.

#include "output/printing.h"

#include "common/CCommonRoutines.h"
#include "common/busy_cursor.h"
#include "common/common_dialog.h"
#include "common/message_box.h"
#include "common/print_target.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"
#include "store/drink_store.h"

#include <QDir>
#include <cmath>

namespace {

constexpr double kSecondColumn = 5500; // twips
const QString kFontName = QStringLiteral("Tahoma");
const QString kParagraphEnd = QStringLiteral("\r\n\r\n");

bool isBlank(const QString &text)
{
    for (QChar c : text) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

const CCommonRoutines &routines()
{
    static const CCommonRoutines own;
    return program().commonRoutines ? *program().commonRoutines : own;
}

} // namespace

void DrinkPrinting::printMarked()
{
    const QList<int> tagged = DrinkStore(m_db).keysMarkedToPrint();
    if (tagged.isEmpty()) {
        MsgBox(QStringLiteral("There are no drinks tagged for printing."), msgbox::vbInformation);
        return;
    }
    BusyCursor busy;
    OutputWindow *out = m_db.output();
    std::unique_ptr<PrintTarget> target = OpenPrintJob(out ? out->commonDialog().Printer() : nullptr);
    for (const int key : tagged) {
        const float threshold = 0.8f * float(std::lround(target->ScaleHeight()));
        if (float(target->CurrentY()) > threshold)
            target->NewPage();
        printOne(key, *target);
    }
    const PrintOutcome outcome = target->EndDoc();
    busy.restore();

    if (!outcome.ok) {
        MsgBox(QStringLiteral("The drinks could not be printed. ") + outcome.error, msgbox::vbExclamation);
    } else if (!outcome.file.isEmpty() && out) {
        const QString where = QDir::toNativeSeparators(outcome.file);
        out->setStatusText(outcome.noPrinter ? QStringLiteral("No printer is set up, so the drinks were saved as %1.").arg(where)
                                             : QStringLiteral("The drinks were saved as %1.").arg(where));
    }
}

void DrinkPrinting::printOne(int key, PrintTarget &target)
{
    const std::optional<Drink> drink = DrinkStore(m_db).read(key);
    if (!drink) {
        MsgBox(QStringLiteral("Drink doesn't exist!"));
        return;
    }
    target.setFontName(kFontName);
    target.setFontSize(20);
    target.setFontBold(true);
    target.Print(drink->name, true);
    target.setFontSize(12);
    target.setFontBold(false);

    // Two ingredients a line, the second in its own column.
    int column = 0;
    for (const Drink::Line &line : drink->lines) {
        if (++column == 2)
            target.setCurrentX(kSecondColumn);
        if (!isBlank(line.amount))
            target.Print(line.amount + QLatin1Char(' '), false);
        target.Print(line.ingredient, column == 2);
        if (column == 2)
            column = 0;
    }
    target.Print(QString(), true);

    // A drink without directions prints none.
    routines().WrapText(target, drink->directions);
    target.Print(kParagraphEnd, true);
    const QString comments = drink->comments.toString();
    if (!comments.isEmpty()) {
        routines().WrapText(target, comments);
        target.Print(kParagraphEnd, true);
    }
}

void CDatabase::PrintDrinks()
{
    DrinkPrinting(*this).printMarked();
}

void CDatabase::PrintOneDrink(int iDrinkID, PrintTarget &target)
{
    DrinkPrinting(*this).printOne(iDrinkID, target);
}
