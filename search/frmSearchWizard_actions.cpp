// The search wizard's events and handlers: moving between pages, the ingredient page, Finish.

#include "search/frmSearchWizard.h"

#include "common/command_guard.h"
#include "common/message_box.h"
#include "core/name_order.h"
#include "core/name_text.h"
#include "search/search_wizard_internal.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace wizard;

// ---- Events ----------------------------------------------------------------------------------------

void frmSearchWizard::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Only the first showing opens the shortcut's page; a later one (after a minimise) changes nothing.
    if (m_activated || event->spontaneous())
        return;
    m_activated = true;
    if (bShortcut)
        RunCommand([this] { GoToSearch(iSearchToShow); });
}

void frmSearchWizard::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel)) {
        cmdCancel->click();
        return;
    }
    // Enter in the ingredient box adds the typed name, or finishes when there is none
    // (cmbIngredients_Enter); the default button must not take it as well.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (focusWidget() == cmbIngredients || cmbIngredients->isAncestorOf(focusWidget()))) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmSearchWizard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < int(optSearchType.size()); ++i) {
            if (watched == optSearchType[size_t(i)]) {
                RunCommand([this, i] { optSearchType_DblClick(i); });
                return true;
            }
        }
        if (watched == cmbIngredients->lineEdit() && !cleanName(cmbIngredients->currentText()).trimmed().isEmpty())
            RunCommand([this] { cmdAdd_Click(); });
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Handlers --------------------------------------------------------------------------------------

void frmSearchWizard::GoToSearch(int iOption)
{
    if (iOption < 0 || iOption >= int(optSearchType.size()))
        return;
    optSearchType[size_t(iOption)]->setChecked(true);
    optSearchType_Click(iOption);
    optSearchType_DblClick(iOption);
}

void frmSearchWizard::optSearchType_Click(int index)
{
    const bool needsTerms = index <= 3 || index == kBarListOption;
    cmdNext->setEnabled(needsTerms);
    cmdFinish->setEnabled(!needsTerms);
    updateDefaultButton();
}

void frmSearchWizard::optSearchType_DblClick(int index)
{
    if (index < 0 || index >= int(optSearchType.size()))
        return;
    if (!optSearchType[size_t(index)]->isChecked()) {
        optSearchType[size_t(index)]->setChecked(true);
        optSearchType_Click(index);
    }
    if (index <= 3 || index == kBarListOption)
        cmdNext_Click();
    else
        cmdFinish_Click();
}

void frmSearchWizard::cmdNext_Click()
{
    const int option = selectedOption();
    if (option == 1) {
        // Filled anew each time; the chosen ingredients stay chosen.
        database().LoadIngredientList(cmbIngredients, false);
        cmbIngredients->setCurrentIndex(-1);
        cmbIngredients->clearEditText();
        cmdAdd->setEnabled(false);
    }
    openSecondPage(option);
}

void frmSearchWizard::openSecondPage(int option)
{
    switch (option) {
    case 0:
        showPage(pctName);
        txtDrinkName->setFocus();
        break;
    case 1:
        showPage(pctIngredient);
        cmbIngredients->setFocus();
        break;
    case 2:
    case 3:
        showPage(pctDirections);
        txtDirections->setFocus();
        break;
    case kBarListOption:
        showPage(pctBarlist);
        txtSlack->setFocus();
        txtSlack->selectAll();
        break;
    default:
        return; // the mark searches have no second page
    }
    cmdNext->setEnabled(false);
    cmdFinish->setEnabled(true);
    cmdBack->setEnabled(true);
    updateDefaultButton();
}

void frmSearchWizard::cmdBack_Click()
{
    cmdNext->setEnabled(true);
    cmdBack->setEnabled(false);
    showPage(pctMain);
    optSearchType[size_t(selectedOption())]->setFocus();
}

void frmSearchWizard::cmdFinish_Click()
{
    const int option = selectedOption();
    // The box takes only numbers in its range; an emptied box is the one text it lets through.
    const bool slackIsNumber = txtSlack->hasAcceptableInput();
    const auto slack = qint16(txtSlack->value());
    if (option == kBarListOption && !slackIsNumber) {
        // Checked before anything is saved or searched, so the user can put it right.
        MsgBox(kSlackNotANumber, msgbox::vbExclamation);
        openSecondPage(kBarListOption);
        return;
    }

    hide();
    // Whatever happens below, the wizard is done with; a search unloads it already.
    const auto unload = qScopeGuard([] { unloadIfLoaded(); });
    CDatabase &db = database();
    switch (option) {
    case 0: {
        // Typed or pasted texts lose the characters no name or word is meant to hold.
        const QString t = cleanName(txtDrinkName->text());
        const QString star = QStringLiteral("*");
        const QString patterns[] = {t, t + star, star + t, star + t + star};
        int nameType = 0;
        while (nameType < 3 && !optNameType[size_t(nameType)]->isChecked())
            ++nameType;
        db.Search(1, patterns[nameType], true);
        break;
    }
    case 1:
        db.Search(2, routines().ListboxToCommaDelimitedString(*lstIngredients), true);
        break;
    case 2:
    case 3:
        db.Search(qint16(option + 1), QLatin1Char('*') + cleanName(txtDirections->text()) + QLatin1Char('*'), true);
        break;
    case kBarListOption: {
        if (chkSaveSlack->isChecked()) {
            CZestro30 fallbackSettings;
            (program().settings ? *program().settings : fallbackSettings).setBarListSlack(QString::number(slack));
        }
        db.BarList(slack);
        break;
    }
    default:
        db.Search(kMarkSearchTypes[size_t(option - 4)], QString(), true);
        break;
    }
}

void frmSearchWizard::cmdCancel_Click()
{
    reject();
}

void frmSearchWizard::unloadIfLoaded()
{
    // The wizard is hidden while its search runs, so it is no longer the active modal window;
    // it is found through this pointer instead.
    const QPointer<frmSearchWizard> wizard = s_loaded;
    s_loaded = nullptr;
    if (wizard)
        wizard->done(QDialog::Accepted);
}

// ---- The ingredient page ---------------------------------------------------------------------------

void frmSearchWizard::cmbIngredients_Edited()
{
    // A pasted name loses its invisible characters at once, so the type-ahead can find it.
    QLineEdit *edit = cmbIngredients->lineEdit();
    const QString typed = edit->text();
    if (const QString clean = cleanName(typed); clean != typed) {
        const int caret = int(cleanName(typed.left(edit->cursorPosition())).size());
        edit->setText(clean);
        edit->setCursorPosition(caret);
    }
    // Emptying the box is left alone: every name begins with the empty text.
    if (!cmbIngredients->currentText().isEmpty())
        routines().FillInText(cmbIngredients);
    const QString text = cmbIngredients->currentText();
    const int index = cmbIngredients->currentIndex();
    if (index >= 0 && cmbIngredients->itemText(index) == text)
        cmbIngredients_Click(index); // the type-ahead chose an item
    else
        cmdAdd->setEnabled(!text.trimmed().isEmpty()); // Enter would add it, so the button may too
}

void frmSearchWizard::cmbIngredients_Click(int index)
{
    if (index < 0)
        return;
    cmdAdd->setEnabled(true);
    cmdRemove->setEnabled(false);
}

void frmSearchWizard::cmbIngredients_Enter()
{
    if (!cleanName(cmbIngredients->currentText()).trimmed().isEmpty())
        cmdAdd_Click();
    else
        cmdFinish_Click();
}

void frmSearchWizard::cmdAdd_Click()
{
    const QString text = cleanName(cmbIngredients->currentText());
    if (text.trimmed().isEmpty())
        return;
    if (lstIngredients->count() >= kMaxIngredients) {
        MsgBox(kTooManyIngredients, msgbox::vbExclamation);
        return;
    }
    lstIngredients->addItem(text);
    int index = cmbIngredients->currentIndex();
    if (index < 0 || cmbIngredients->itemText(index) != text)
        index = cmbIngredients->findText(text); // typed out in full rather than picked
    if (index >= 0)
        cmbIngredients->removeItem(index);
    cmbIngredients->setCurrentIndex(-1);
    cmbIngredients->clearEditText();
    cmdAdd->setEnabled(false);
}

void frmSearchWizard::lstIngredients_Click()
{
    if (lstIngredients->selectedItems().isEmpty())
        return;
    cmdAdd->setEnabled(false);
    cmdRemove->setEnabled(true);
}

void frmSearchWizard::cmdRemove_Click()
{
    const QList<QListWidgetItem *> selected = lstIngredients->selectedItems();
    if (selected.isEmpty())
        return;
    const QString name = selected.first()->text();
    // Back into its alphabetical place, where the type-ahead looks for it.
    int at = 0;
    while (at < cmbIngredients->count() && compareNames(cmbIngredients->itemText(at), name) <= 0)
        ++at;
    const QString typed = cmbIngredients->currentText();
    cmbIngredients->insertItem(at, name);
    if (cmbIngredients->currentText() != typed) { // an empty drop-down selects its first new item
        cmbIngredients->setCurrentIndex(-1);
        cmbIngredients->setEditText(typed);
    }
    delete lstIngredients->takeItem(lstIngredients->row(selected.first()));
    lstIngredients->setCurrentRow(-1);
    cmdRemove->setEnabled(false);
}
