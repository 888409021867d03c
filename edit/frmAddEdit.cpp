// The drink editor's window: layout, the line lists, the entry of a new line and the checks.

#include "edit/frmAddEdit.h"

#include "common/CCommonRoutines.h"
#include "common/command_guard.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "core/name_order.h"
#include "core/name_text.h"
#include "common/seams.h"
#include "edit/frmIngredientAdd.h"
#include "store/CDatabase.h"
#include "store/drink_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

#include <algorithm>

namespace {

CCommonRoutines &routines()
{
    static CCommonRoutines fallback; // for a window made without the program objects (tests)
    return program().commonRoutines ? *program().commonRoutines : fallback;
}

QLabel *numberedLabel(int tag, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setProperty("tag", tag);
    label->setBuddy(buddy);
    return label;
}

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(true); // Enter on a button with the focus presses that one, not Done
    return b;
}

// The longest texts a line and a name can store.
constexpr int kNameLength = 255;
constexpr int kAmountLength = 60;
constexpr int kDescriptionLength = 150;

} // namespace

frmAddEdit::frmAddEdit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAddEdit"));
    buildControls();
    routines().LoadResStrings(this);
    chkSubmitted->setVisible(program().maintainerA);
    CreateUnits();
    for (const UnitEntry &unit : m_units)
        cmbUnit->addItem(unit.displayName);
    setWide(true);
    routines().CenterToWindow(program().mainForm ? program().mainForm : parentWidget(), this);
    m_given = drink();
}

void frmAddEdit::buildControls()
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *columns = new QHBoxLayout(this);

    // The drink: name, directions, comments.
    auto *drink = new QVBoxLayout;
    txtDrinkName = new QLineEdit(this);
    txtDrinkName->setObjectName(QStringLiteral("txtDrinkName"));
    txtDrinkName->setMaxLength(kNameLength);
    txtDirections = new QPlainTextEdit(this);
    txtDirections->setObjectName(QStringLiteral("txtDirections"));
    txtDirections->setTabChangesFocus(true);
    txtComments = new QPlainTextEdit(this);
    txtComments->setObjectName(QStringLiteral("txtComments"));
    txtComments->setTabChangesFocus(true);
    drink->addWidget(numberedLabel(301, txtDrinkName, this));
    drink->addWidget(txtDrinkName);
    drink->addWidget(numberedLabel(302, txtDirections, this));
    drink->addWidget(txtDirections, 3);
    drink->addWidget(numberedLabel(303, txtComments, this));
    drink->addWidget(txtComments, 2);
    auto *drinkColumn = new QWidget(this);
    drinkColumn->setLayout(drink);
    drink->setContentsMargins(0, 0, 0, 0);
    drinkColumn->setMinimumWidth(300);
    columns->addWidget(drinkColumn, 1);

    // The lines: the list, Delete, and the frame that makes a new line.
    m_linesColumn = new QWidget(this);
    auto *lines = new QVBoxLayout(m_linesColumn);
    lines->setContentsMargins(0, 0, 0, 0);
    lstIngredients = new QListWidget(m_linesColumn);
    lstIngredients->setObjectName(QStringLiteral("lstIngredients"));
    lstIngredient = new QListWidget(this);
    lstIngredient->setObjectName(QStringLiteral("lstIngredient"));
    lstIngredient->hide();
    lstAmount = new QListWidget(this);
    lstAmount->setObjectName(QStringLiteral("lstAmount"));
    lstAmount->hide();
    cmdDelete = button(QStringLiteral("cmdDelete"), QStringLiteral("Delete"), m_linesColumn);
    cmdDelete->setEnabled(false);
    lines->addWidget(numberedLabel(5, lstIngredients, m_linesColumn));
    lines->addWidget(lstIngredients, 1);
    auto *deleteRow = new QHBoxLayout;
    deleteRow->addStretch();
    deleteRow->addWidget(cmdDelete);
    lines->addLayout(deleteRow);

    auto *frame = new QGroupBox(QStringLiteral("New Ingredient"), m_linesColumn);
    frame->setObjectName(QStringLiteral("fraNewIngredient"));
    m_newLine = frame;
    auto *grid = new QGridLayout(frame);
    txtAmount = new QLineEdit(frame);
    txtAmount->setObjectName(QStringLiteral("txtAmount"));
    txtAmount->setMaxLength(kAmountLength);
    cmbUnit = new QComboBox(frame);
    cmbUnit->setObjectName(QStringLiteral("cmbUnit"));
    cmbUnit->setMaxVisibleItems(kUnitCount);
    txtDescription = new QLineEdit(frame);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    txtDescription->setMaxLength(kDescriptionLength);
    cmbIngredient = new QComboBox(frame);
    cmbIngredient->setObjectName(QStringLiteral("cmbIngredient"));
    cmbIngredient->setEditable(true);
    cmbIngredient->setInsertPolicy(QComboBox::NoInsert);
    cmbIngredient->setCompleter(nullptr); // the type-ahead is FillInText's
    cmbIngredient->lineEdit()->setMaxLength(kNameLength); // a typed name may become an ingredient
    cmbIngredient->setMaxVisibleItems(15);
    cmbIngredient->setMinimumContentsLength(16);
    cmbIngredient->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmdNewIngredient = button(QStringLiteral("cmdNewIngredient"), QStringLiteral("&New..."), frame);
    cmdNewIngredient->setToolTip(QStringLiteral("Add the typed name to the ingredients, as Tools, Edit Ingredients does"));
    cmdAdd = button(QStringLiteral("cmdAdd"), QStringLiteral("Add"), frame);
    cmdAdd->setEnabled(false);
    grid->addWidget(new QLabel(QStringLiteral("Amount"), frame), 0, 0);
    grid->addWidget(txtAmount, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Unit"), frame), 0, 1);
    grid->addWidget(cmbUnit, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Description"), frame), 2, 0, 1, 2);
    grid->addWidget(txtDescription, 3, 0, 1, 2);
    grid->addWidget(numberedLabel(4, cmbIngredient, frame), 4, 0, 1, 2);
    auto *ingredientRow = new QHBoxLayout;
    ingredientRow->addWidget(cmbIngredient, 1);
    ingredientRow->addWidget(cmdNewIngredient);
    grid->addLayout(ingredientRow, 5, 0, 1, 2);
    auto *addRow = new QHBoxLayout;
    addRow->addStretch();
    addRow->addWidget(cmdAdd);
    grid->addLayout(addRow, 6, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    lines->addWidget(frame);
    m_linesColumn->setMinimumWidth(300);
    columns->addWidget(m_linesColumn, 1);

    // The buttons and the marks.
    auto *side = new QVBoxLayout;
    cmdDone = button(QStringLiteral("cmdDone"), QString(), this);
    cmdDone->setProperty("tag", 3);
    cmdDone->setDefault(true);
    cmdCancel = button(QStringLiteral("cmdCancel"), QString(), this);
    cmdCancel->setProperty("tag", 2);
    cmdIngredients = button(QStringLiteral("cmdIngredients"), QString(), this);
    cmdIngredients->setProperty("tag", 304);
    chkTried = new QCheckBox(QStringLiteral("&Tried"), this);
    chkTried->setObjectName(QStringLiteral("chkTried"));
    chkSubmitted = new QCheckBox(QStringLiteral("&Submitted"), this);
    chkSubmitted->setObjectName(QStringLiteral("chkSubmitted"));
    side->addWidget(cmdDone);
    side->addWidget(cmdCancel);
    side->addSpacing(16);
    side->addWidget(cmdIngredients);
    side->addSpacing(16);
    side->addWidget(chkTried);
    side->addWidget(chkSubmitted);
    side->addStretch();
    columns->addLayout(side);

    setTabOrder(txtDrinkName, txtDirections);
    setTabOrder(txtDirections, txtComments);
    setTabOrder(txtComments, cmdIngredients);
    setTabOrder(cmdIngredients, lstIngredients);
    setTabOrder(lstIngredients, txtAmount);
    setTabOrder(txtAmount, cmbUnit);
    setTabOrder(cmbUnit, txtDescription);
    setTabOrder(txtDescription, cmbIngredient);
    setTabOrder(cmbIngredient, cmdNewIngredient);
    setTabOrder(cmdNewIngredient, cmdAdd);
    setTabOrder(cmdAdd, cmdDone);
    setTabOrder(cmdDone, cmdCancel);
    setTabOrder(cmdCancel, chkTried);
    setTabOrder(chkTried, chkSubmitted);
    setTabOrder(chkSubmitted, cmdDelete);

    txtDrinkName->installEventFilter(this);
    txtAmount->installEventFilter(this);
    cmbIngredient->installEventFilter(this);
    cmbIngredient->lineEdit()->installEventFilter(this);
    lstIngredients->installEventFilter(this);
    connect(cmdAdd, &QPushButton::clicked, this, guarded(&frmAddEdit::cmdAdd_Click, this));
    connect(cmdNewIngredient, &QPushButton::clicked, this, guarded(&frmAddEdit::cmdNewIngredient_Click, this));
    connect(cmdDelete, &QPushButton::clicked, this, guarded(&frmAddEdit::cmdDelete_Click, this));
    connect(cmdIngredients, &QPushButton::clicked, this, guarded(&frmAddEdit::cmdIngredients_Click, this));
    connect(cmdDone, &QPushButton::clicked, this, guarded(&frmAddEdit::cmdDone_Click, this));
    connect(cmdCancel, &QPushButton::clicked, this, guarded(&frmAddEdit::cmdCancel_Click, this));
    connect(cmbIngredient->lineEdit(), &QLineEdit::textEdited, this, guarded(&frmAddEdit::cmbIngredient_Change, this));
    connect(cmbIngredient, &QComboBox::activated, this, [this] { cmdAdd->setEnabled(cmdAdd->isEnabled() || !cmbIngredient->currentText().isEmpty()); });
    connect(lstIngredients, &QListWidget::itemSelectionChanged, this,
            [this] { cmdDelete->setEnabled(!lstIngredients->selectedItems().isEmpty()); });
    resize(760, 480);
}

void frmAddEdit::CreateUnits()
{
    m_units = unitTable();
}

void frmAddEdit::setDrink(const Drink &drink)
{
    m_drink = drink;
    iDrinkID = drink.key;
    txtDrinkName->setText(drink.name);
    txtDirections->setPlainText(drink.directions);
    txtComments->setPlainText(drink.comments.toString()); // none gives empty
    chkTried->setChecked(drink.tried);
    chkSubmitted->setChecked(drink.submitted);
    lstAmount->clear();
    lstIngredient->clear();
    lstIngredients->clear();
    for (const Drink::Line &line : drink.lines)
        appendLine(Drink::lineText(line), line.ingredient, line.ingredientKey, line.amount);
    m_given = this->drink();
}

bool frmAddEdit::hasChanges() const
{
    const Drink now = drink();
    auto sameLines = [](const QList<Drink::Line> &a, const QList<Drink::Line> &b) {
        return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](const Drink::Line &x, const Drink::Line &y) {
            return x.amount == y.amount && x.ingredient == y.ingredient && x.ingredientKey == y.ingredientKey;
        });
    };
    const bool same = now.name == m_given.name && now.directions == m_given.directions
                      && now.comments.toString() == m_given.comments.toString() && now.tried == m_given.tried
                      && now.submitted == m_given.submitted && sameLines(now.lines, m_given.lines);
    return !same || !txtAmount->text().trimmed().isEmpty() || !txtDescription->text().trimmed().isEmpty()
           || !cmbIngredient->currentText().trimmed().isEmpty();
}

Drink frmAddEdit::drink() const
{
    Drink drink = m_drink;
    drink.name = cleanName(txtDrinkName->text()).trimmed();
    drink.directions = txtDirections->toPlainText().trimmed();
    drink.comments = txtComments->toPlainText().trimmed();
    drink.tried = chkTried->isChecked();
    drink.submitted = chkSubmitted->isChecked();
    drink.lines.clear();
    for (int i = 0; i < lineCount(); ++i) {
        const QListWidgetItem *ingredient = lstIngredient->item(i);
        drink.lines.append({lstAmount->item(i)->text(), ingredient->text(), qint16(ingredient->data(Qt::UserRole).toInt())});
    }
    return drink;
}

void frmAddEdit::appendLine(const QString &visible, const QString &ingredient, int ingredientId, const QString &amount)
{
    lstAmount->addItem(amount);
    auto *name = new QListWidgetItem(ingredient);
    name->setData(Qt::UserRole, ingredientId);
    lstIngredient->addItem(name);
    lstIngredients->addItem(visible);
}

int frmAddEdit::lineCount() const
{
    return lstIngredients->count();
}

bool frmAddEdit::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the ingredient box adds the line, once: the box hands its keys on to its line edit
    // and then to the dialog, where the Add that just failed would be pressed again.
    if ((watched == cmbIngredient || watched == cmbIngredient->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunCommand([this] { cmdAdd_Click(); });
            return true;
        }
    }
    if (watched == lstIngredients && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        RunCommand([this] { cmdDelete_Click(); });
        return true;
    }
    if (event->type() == QEvent::FocusOut && isVisible()) {
        // Going to Cancel is leaving the whole edit, and going to another window or a menu is not
        // leaving the box; there is nothing to check then.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool leftBox = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (watched == txtDrinkName && leftBox && QApplication::focusWidget() != cmdCancel)
            RunCommand([this] { txtDrinkName_LostFocus(); });
        else if (watched == txtAmount)
            RunCommand([this] { txtAmount_LostFocus(); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmAddEdit::keyPressEvent(QKeyEvent *event)
{
    QWidget *focus = focusWidget();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focus && m_newLine->isAncestorOf(focus)) {
        // The ingredient box adds on its own Enter (eventFilter); the other boxes press Add.
        if (focus != cmbIngredient && !cmbIngredient->isAncestorOf(focus) && cmdAdd->isEnabled())
            cmdAdd->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAddEdit::txtAmount_LostFocus()
{
    if (txtAmount->text().contains(QLatin1Char('/')))
        txtAmount->setText(routines().FractionToDecimal(txtAmount->text()));
}

bool frmAddEdit::txtDrinkName_LostFocus()
{
    if (m_checkingName)
        return true; // the message box of the check itself took the focus
    m_checkingName = true;
    const auto done = qScopeGuard([this] { m_checkingName = false; });
    auto refuse = [this](const QString &text, int flags) {
        MsgBox(text, flags);
        txtDrinkName->setFocus();
        txtDrinkName->selectAll();
        return false;
    };
    const QString text = txtDrinkName->text();
    if (text.contains(QLatin1Char('"')))
        return refuse(QStringLiteral("You cannot use the double-quote symbol (\") in a drink name.  Feel free to use a single-quote (') ")
                          + QStringLiteral("instead."),
                      msgbox::vbInformation);
    const QString name = cleanName(text).trimmed();
    if (name.isEmpty())
        return true;
    // Two drinks may not share a name: every lookup finds a drink by it.
    DrinkStore drinks(programDatabase());
    const bool taken = bAdd ? drinks.exists(name)
                            : [&] {
                                  const qint16 other = drinks.keyOf(name);
                                  return other != 0 && other != iDrinkID;
                              }();
    if (taken)
        return refuse(QStringLiteral("There is already a drink called %1.  Please choose another.").arg(nameInMessage(text, u'\'')),
                      msgbox::vbOKOnly);
    return true;
}

void frmAddEdit::cmbIngredient_Change()
{
    QLineEdit *edit = cmbIngredient->lineEdit();
    const QString typed = edit->text();
    if (const QString clean = cleanName(typed); clean != typed) {
        const int caret = int(cleanName(typed.left(edit->cursorPosition())).size());
        edit->setText(clean);
        edit->setCursorPosition(caret);
    }
    if (!cmbIngredient->currentText().isEmpty())
        routines().FillInText(cmbIngredient);
    cmdAdd->setEnabled(!cmbIngredient->currentText().isEmpty());
}

int frmAddEdit::ingredientItem(const QString &typed) const
{
    const int exact = cmbIngredient->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (exact >= 0)
        return exact;
    // Typed in other letter case, with spaces around or with invisible characters, it is still
    // the same ingredient.
    const QString name = cleanName(typed).trimmed();
    for (int i = 0; !name.isEmpty() && i < cmbIngredient->count(); ++i) {
        if (sameName(cmbIngredient->itemText(i), name))
            return i;
    }
    return -1;
}

void frmAddEdit::cmdNewIngredient_Click()
{
    CDatabase &db = programDatabase();
    db.requireWritable(); // said before the user fills in the dialog
    frmIngredientAdd add(this);
    add.bAdd = true;
    add.txtName->setText(cleanName(cmbIngredient->currentText()).trimmed());
    add.txtName->selectAll();
    // The dialog stores the ingredient as Tools, Edit Ingredients does: one write, one undo step.
    const bool stored = ShowModal(add) == QDialog::Accepted && !add.bCancelled;
    cmbIngredient->setFocus();
    if (!stored)
        return;
    const QString name = add.txtName->text(); // as stored
    // In name order, as the list was filled, so that it can be picked again for the next line.
    int at = 0;
    while (at < cmbIngredient->count() && compareNames(cmbIngredient->itemText(at), name) <= 0)
        ++at;
    cmbIngredient->insertItem(at, name, int(CDatabase::GetIngID(db.database(), name)));
    cmbIngredient->setCurrentIndex(at);
    cmdAdd->setEnabled(true);
}

void frmAddEdit::cmdAdd_Click()
{
    const QString typed = cmbIngredient->currentText();
    const QString name = cleanName(typed).trimmed();
    const int item = ingredientItem(typed);
    if (item < 0) {
        MsgBox(QStringLiteral("The ingredient ") + nameInMessage(name.isEmpty() ? typed : name, u'\'') + QStringLiteral(" doesn't exist.  ")
                   + QStringLiteral("If you would like to add the ingredient, go to Tools|") + QStringLiteral("Edit Ingredients."),
               msgbox::vbExclamation);
        cmbIngredient->setFocus();
        cmbIngredient->lineEdit()->selectAll();
        return;
    }
    const std::optional<QString> amount = composeAmountText(txtAmount->text(), cmbUnit->currentIndex(), txtDescription->text());
    if (!amount) {
        MsgBox(QStringLiteral("Please enter just numbers in the amount field."), msgbox::vbExclamation);
        txtAmount->setFocus();
        txtAmount->selectAll();
        return;
    }
    const QString ingredient = cmbIngredient->itemText(item).trimmed();
    appendLine(amount->isEmpty() ? ingredient : *amount + QStringLiteral("  ") + ingredient, ingredient,
               cmbIngredient->itemData(item).toInt(), *amount);
    txtAmount->clear();
    cmbUnit->setCurrentIndex(0);
    cmbIngredient->setCurrentIndex(-1);
    cmbIngredient->setEditText(QString());
    txtDescription->clear();
    txtAmount->setFocus();
    cmdAdd->setEnabled(false);
}

void frmAddEdit::cmdDelete_Click()
{
    const int row = lstIngredients->currentRow();
    if (row < 0 || !lstIngredients->item(row)->isSelected())
        return;
    delete lstIngredient->takeItem(row);
    delete lstAmount->takeItem(row);
    delete lstIngredients->takeItem(row);
    if (lstIngredients->count() > 0)
        lstIngredients->setCurrentRow(0);
    // Taking the first line may select the next one without a change of selection being told.
    cmdDelete->setEnabled(!lstIngredients->selectedItems().isEmpty());
}

void frmAddEdit::cmdIngredients_Click()
{
    setWide(!m_wide);
    routines().CenterForm(this);
}

void frmAddEdit::setWide(bool wide)
{
    m_wide = wide;
    // The arrows point where the ingredient panel goes, and the access key stays.
    cmdIngredients->setText(wide ? QStringLiteral("&Ingredients <<") : QStringLiteral("&Ingredients >>"));
    const int height = this->height();
    m_linesColumn->setVisible(wide);
    layout()->activate();
    resize(wide ? qMax(760, minimumSizeHint().width()) : minimumSizeHint().width() + 120, height);
}

void frmAddEdit::cmdDone_Click()
{
    // A line filled in but not added would vanish without a word.
    if (const QString pending = cmbIngredient->currentText().trimmed(); !pending.isEmpty()) {
        const int answer = MsgBox(QStringLiteral("The ingredient %1 is filled in but not added to the drink.  Add it first?")
                                      .arg(nameInMessage(pending, u'\'')),
                                  msgbox::vbYesNoCancel | msgbox::vbQuestion);
        if (answer == msgbox::vbCancel)
            return;
        if (answer == msgbox::vbYes) {
            const int before = lineCount();
            cmdAdd_Click();
            if (lineCount() == before)
                return; // refused, and it said why
        } else {
            cmbIngredient->setCurrentIndex(-1);
            cmbIngredient->setEditText(QString());
        }
    }
    if (lstIngredient->count() == 0) {
        MsgBox(QStringLiteral("Please enter at least one ingredient."), msgbox::vbInformation);
        return;
    }
    // A name of nothing but invisible or control characters would be stored empty.
    if (cleanName(txtDrinkName->text()).trimmed().isEmpty()) {
        MsgBox(QStringLiteral("Please enter a name for the drink!"), msgbox::vbInformation);
        txtDrinkName->setFocus();
        return;
    }
    // A key press on Done leaves the name box without a focus change: check the name here too.
    if (!txtDrinkName_LostFocus())
        return;
    m_cancelled = false;
    accept();
}

void frmAddEdit::cmdCancel_Click()
{
    m_cancelled = true;
    QDialog::reject();
}

void frmAddEdit::reject()
{
    // Escape and the title bar's close box are Cancel; a slip of the key must not throw away
    // what was typed.
    if (isVisible() && hasChanges()
        && MsgBox(QStringLiteral("Discard the changes to this drink?"), msgbox::vbYesNo | msgbox::vbQuestion) != msgbox::vbYes)
        return;
    cmdCancel_Click();
}
