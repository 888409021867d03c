// Printing the drinks marked to print: one job, each drink as its name, its ingredient lines two
// to a line, its directions and its comments.

#include "store/CDatabase.h"

#include "common/CCommonRoutines.h"
#include "common/busy_cursor.h"
#include "common/common_dialog.h"
#include "common/message_box.h"
#include "common/print_target.h"
#include "common/program_objects.h"

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

void CDatabase::PrintDrinks()
{
    auto tagged = database().OpenRecordset(QStringLiteral("SELECT Drinks.ID FROM Drinks WHERE Print=True"),
                                           engine::dbOpenSnapshot);
    if (tagged->Eof() && tagged->Bof()) {
        MsgBox(QStringLiteral("There are no drinks tagged for printing."), msgbox::vbInformation);
        return;
    }
    BusyCursor busy;
    tagged->MoveFirst();
    std::unique_ptr<PrintTarget> target = OpenPrintJob(m_output ? m_output->commonDialog().Printer() : nullptr);
    for (; !tagged->Eof(); tagged->MoveNext()) {
        const float threshold = 0.8f * float(std::lround(target->ScaleHeight()));
        if (float(target->CurrentY()) > threshold)
            target->NewPage();
        PrintOneDrink(tagged->Fields(QStringLiteral("ID")).Value().toInt(), *target);
    }
    const PrintOutcome outcome = target->EndDoc();
    busy.restore();

    if (!outcome.ok) {
        MsgBox(QStringLiteral("The drinks could not be printed. ") + outcome.error, msgbox::vbExclamation);
    } else if (!outcome.file.isEmpty() && m_output) {
        const QString where = QDir::toNativeSeparators(outcome.file);
        m_output->setStatusText(outcome.noPrinter
                                    ? QStringLiteral("No printer is set up, so the drinks were saved as %1.").arg(where)
                                    : QStringLiteral("The drinks were saved as %1.").arg(where));
    }
}

void CDatabase::PrintOneDrink(int iDrinkID, PrintTarget &target)
{
    engine::Recordset &drinks = drinksTable();
    const QString id = QString::number(iDrinkID);
    drinks.FindFirst(QStringLiteral("[ID] = ") + id);
    if (drinks.NoMatch()) {
        MsgBox(QStringLiteral("Drink doesn't exist!"));
        return;
    }
    // A missing value reads as empty text: a drink without directions prints none.
    const QString name = drinks.Fields(QStringLiteral("Name")).Value().toString();
    const QString directions = drinks.Fields(QStringLiteral("Description")).Value().toString();
    const QString comments = drinks.Fields(QStringLiteral("Comments")).Value().toString();

    target.setFontName(kFontName);
    target.setFontSize(20);
    target.setFontBold(true);
    target.Print(name, true);
    target.setFontSize(12);
    target.setFontBold(false);

    // Two ingredients a line, the second in its own column.
    int column = 0;
    engine::Recordset &lines = drinkRelTable();
    const QString criteria = QStringLiteral("[DrinkID] = ") + id;
    for (lines.FindFirst(criteria); !lines.NoMatch(); lines.FindNext(criteria)) {
        if (++column == 2)
            target.setCurrentX(kSecondColumn);
        const QString amount = lines.Fields(QStringLiteral("Amount")).Value().toString();
        if (!isBlank(amount))
            target.Print(amount + QLatin1Char(' '), false);
        const QString ingredient = GetIngName(qint16(lines.Fields(QStringLiteral("IngID")).Value().toInt()));
        target.Print(ingredient, column == 2);
        if (column == 2)
            column = 0;
    }
    target.Print(QString(), true);

    routines().WrapText(target, directions);
    target.Print(kParagraphEnd, true);
    if (!comments.isEmpty()) {
        routines().WrapText(target, comments);
        target.Print(kParagraphEnd, true);
    }
}
