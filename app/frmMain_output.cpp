// What the data gateway shows in the main window: the drink list, the shown drink, the buttons that
// depend on them, the recent searches, the status text and the caption.

#include "app/frmMain.h"

#include "app/detail_pane.h"
#include "app/missing_marks.h"
#include "app/quick_search_box.h"
#include "browse/drink_list_model.h"
#include "browse/mark_icons.h"
#include "common/access_key.h"
#include "common/message_box.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

const QString kEmptySearch = QStringLiteral("(empty)");

} // namespace

void frmMain::fillDrinkList(const QStringList &names, DrinkListOrder order, const QList<int> &missing)
{
    // A search other than the box's own: the box no longer tells what the list holds.
    if (!txtQuickSearch->text().isEmpty()) {
        txtQuickSearch->clear();
        txtQuickSearch->setNoMatch(false);
    }
    lvDrinks->setDrinks(names, order, missing);
}

int frmMain::drinkCount() const
{
    return lvDrinks->count();
}

QString frmMain::drinkAt(int row) const
{
    return lvDrinks->drinkAt(row);
}

int frmMain::selectedDrinkRow() const
{
    return lvDrinks->selectedRow();
}

void frmMain::selectDrinkAt(int row)
{
    lvDrinks->selectRow(row);
}

void frmMain::selectDrink(const QString &name)
{
    lvDrinks->selectDrink(name);
}

void frmMain::setCurrentSetCount(int count)
{
    lblCurrentSet->setText(QStringLiteral("Current Set Contains ") + QString::number(count) + QStringLiteral(" Drinks"));
}

void frmMain::showDrinkDetail(const DrinkDetail &drink)
{
    pnlDrinkName->setText(drink.drink.name);
    pnlDrinkName->setToolTip(drink.drink.name);
    txtDirections->setPlainText(drink.drink.directions);
    txtComments->setPlainText(drink.drink.comments.toString());
    noteShownDrink(drink.drink.name, drink.drink.tried, drink.drink.print);
    lblDrinkMarks->setText(markText(drink.drink.marks()).replace(QLatin1Char('\n'), QStringLiteral("  \u00b7  ")));
    // Every write that changes a drink's marks shows it afterwards: its row follows here.
    lvDrinks->setMarks(drink.drink.name, drink.drink.marks());
    fillIngredientList(lvIngredients, drink);
    lblMissing->setVisible(drink.barListInUse);
    lblMissing->setText(drink.barListInUse ? missingSummary(drink.lines) : QString());
    m_detailSizer->fit();
    // A list that shows counts keeps the shown drink's current: its lines or the bar list may
    // have changed since the search.
    if (drink.barListInUse)
        lvDrinks->setMissing(drink.drink.name, missingLineCount(drink.lines));
}

void frmMain::setNeighbourButtons(bool canGoBack, bool canGoNext)
{
    m_canGoBack = canGoBack;
    m_canGoNext = canGoNext;
    updateCommandStates();
}

void frmMain::setRecentSearches(const QStringList &captions)
{
    QString taken; // the access keys given so far
    for (int i = 0; i < 3; ++i) {
        QAction *item = menuItem(QStringLiteral("mnuSearchResults"), i);
        const QString caption = captions.value(i);
        // A caption holds what the user searched for: an '&' in it is shown, not taken as a key.
        item->setText(captionWithAccessKey(caption.isEmpty() ? kEmptySearch : caption, taken));
        // An entry shows once it has held a search, and stays.
        if (!caption.isEmpty())
            item->setVisible(true);
    }
}

void frmMain::setStatusText(const QString &text)
{
    lblStatusText->setText(text);
    lblStatusText->setToolTip(text); // whole, when the bar is too narrow for it
    statusBar()->repaint();
}

void frmMain::setReadOnlyNotice(const QString &reason)
{
    // Beside the messages, not one of them: it stays while the library stays open.
    lblReadOnly->setVisible(!reason.isEmpty());
    lblReadOnly->setToolTip(reason.isEmpty() ? QString() : QStringLiteral("Changes cannot be saved: %1.").arg(reason));
    updateCommandStates(); // told as a library opens or closes
}

void frmMain::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void frmMain::addDrink(const QString &name)
{
    lvDrinks->addDrink(name);
}

void frmMain::renameDrink(const QString &oldName, const QString &newName)
{
    lvDrinks->renameDrink(oldName, newName);
}

void frmMain::removeDrinkAt(int row)
{
    lvDrinks->removeAt(row);
}

void frmMain::sortDrinkList()
{
    lvDrinks->sortByName();
}

void frmMain::showDrinkMarks(const QHash<QString, quint8> &marked)
{
    lvDrinks->setMarks(marked);
}

bool frmMain::showsMissingCounts() const
{
    return lvDrinks->showsMissing();
}

void frmMain::setMissingCounts(const QHash<QString, int> &missing)
{
    lvDrinks->drinkModel()->setMissingCounts(missing);
}

void frmMain::notify(const QString &text, Notice kind)
{
    MsgBox(text, kind == Notice::Exclamation ? msgbox::vbExclamation : msgbox::vbInformation);
}
