// The shown drink as plain text on the clipboard: a framed name, the lines, the directions, the
// comments when it has any, and where the recipe came from.

#include "store/CDatabase.h"

#include "core/product_info.h"
#include "common/seams.h"
#include "output/frmCopyToClipboard.h"

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

QString drinkText(engine::Recordset &lookup)
{
    lookup.MoveFirst();
    const QString name = lookup.value(QStringLiteral("Name")).toString();
    const QString rule = QString(name.size(), QLatin1Char('-'));
    QString text = rule + kLineEnd + name + (lookup.value(QStringLiteral("Tried")).toBool() ? QStringLiteral(" (Tried)") : QString())
                   + kLineEnd + rule + kLineEnd;
    const QString directions = lookup.value(QStringLiteral("Description")).toString();
    const QVariant comments = lookup.value(QStringLiteral("Comments"));
    for (; !lookup.Eof(); lookup.MoveNext()) {
        if (lookup.value(QStringLiteral("ID")).isNull())
            continue; // a drink without lines has one row and no ingredient
        const QString amount = lookup.value(QStringLiteral("Amount")).toString();
        const QString ingredient = lookup.value(QStringLiteral("Ingredient")).toString();
        text += (amount.isEmpty() ? ingredient : amount + QLatin1Char(' ') + ingredient) + kLineEnd;
    }
    text += kLineEnd + directions + kLineEnd;
    if (!comments.isNull())
        text += kLineEnd + QStringLiteral("Comments:") + kLineEnd + comments.toString() + kLineEnd;
    return text + QStringLiteral("--") + kLineEnd + QStringLiteral("Copied from Zestro, the drink recipe database") + kLineEnd
           + kWebPage;
}

} // namespace

void CDatabase::CopyToClipboard()
{
    engine::Recordset *lookup = currentDrink();
    if (!lookup || lookup->RecordCount() == 0)
        return; // no drink is shown
    const QString text = drinkText(*lookup);
    QPointer<frmCopyToClipboard> &question = copyQuestion();
    if (!question)
        question = new frmCopyToClipboard(m_output ? m_output->dialogParent() : nullptr);
    ShowModal(*question);
    const int value = question->Value();
    if (value == 0)
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(value == 1 ? clipboard->text() + kLineEnd + kLineEnd + kLineEnd + text : text);
    delete question.data();
}
