// The shown drink as plain text on the clipboard: a framed name, the lines, the directions, the
// comments when it has any, and where the recipe came from.

#include "output/clipboard.h"

#include "core/product_info.h"
#include "common/seams.h"
#include "output/frmCopyToClipboard.h"
#include "store/CDatabase.h"
#include "store/drink_store.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// The question stays as the user left it after a Cancel, so it lives between copies; after an add
// or a replace the next copy asks afresh.
QPointer<frmCopyToClipboard> &copyQuestion()
{
    static QPointer<frmCopyToClipboard> dialog;
    return dialog;
}

} // namespace

QString DrinkClipboard::text(const Drink &drink)
{
    const QString rule = QString(drink.name.size(), QLatin1Char('-'));
    QString text = rule + kLineEnd + drink.name + (drink.tried ? QStringLiteral(" (Tried)") : QString()) + kLineEnd + rule + kLineEnd;
    for (const Drink::Line &line : drink.lines)
        text += Drink::lineText(line) + kLineEnd;
    text += kLineEnd + drink.directions + kLineEnd;
    if (!drink.comments.isNull())
        text += kLineEnd + QStringLiteral("Comments:") + kLineEnd + drink.comments.toString() + kLineEnd;
    return text + QStringLiteral("--") + kLineEnd + QStringLiteral("Copied from Zestro, the drink recipe database") + kLineEnd
           + kWebPage;
}

void DrinkClipboard::copyShown()
{
    const QString shown = m_db.shownDrinkName();
    if (shown.isEmpty())
        return; // no drink is shown
    const std::optional<Drink> drink = DrinkStore(m_db).read(shown);
    if (!drink)
        return;
    const QString text = DrinkClipboard::text(*drink);
    QPointer<frmCopyToClipboard> &question = copyQuestion();
    if (!question)
        question = new frmCopyToClipboard(m_db.output() ? m_db.output()->dialogParent() : nullptr);
    ShowModal(*question);
    const int value = question->Value();
    if (value == 0)
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(value == 1 ? clipboard->text() + kLineEnd + kLineEnd + kLineEnd + text : text);
    delete question.data();
}

void CDatabase::CopyToClipboard()
{
    DrinkClipboard(*this).copyShown();
}
