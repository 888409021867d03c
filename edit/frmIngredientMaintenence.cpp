#include "edit/frmIngredientMaintenence.h"

#include "common/CCommonRoutines.h"
#include "common/command_guard.h"
#include "common/message_box.h"
#include "core/name_order.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "edit/frmIngredientAdd.h"
#include "edit/frmIngredientsCombine.h"
#include "edit/ingredient_writes.h"
#include "store/CDatabase.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString kMark = QStringLiteral("\u2022");

// A name as a menu caption: an ampersand in it is shown, not taken for a shortcut key.
QString menuText(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}
} // namespace

frmIngredientMaintenence::frmIngredientMaintenence(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIngredientMaintenence"));
    setWindowTitle(QStringLiteral("Ingredient Maintenence"));
    buildControls();
    buildMenu();
    resize(520, 460);
    if (program().mainForm)
        CCommonRoutines().CenterToWindow(program().mainForm, this);

    RefreshIngredientList();
    // The first item is selected, but the buttons wait for a click in the list.
    if (QTreeWidgetItem *first = lvIngredients->topLevelItem(0))
        lvIngredients->setCurrentItem(first);
    // From now on the buttons follow the selection, whether it moves by mouse or by keyboard.
    connect(lvIngredients, &QTreeWidget::itemSelectionChanged, this, [this] { ButtonState(selectedCount()); });
}

void frmIngredientMaintenence::buildControls()
{
    lvIngredients = new QTreeWidget(this);
    lvIngredients->setObjectName(QStringLiteral("lvIngredients"));
    lvIngredients->setColumnCount(3);
    lvIngredients->setHeaderLabels({QStringLiteral("Ingredient"), QStringLiteral("Common"), QStringLiteral("Have")});
    lvIngredients->setRootIsDecorated(false);
    lvIngredients->setUniformRowHeights(true);
    lvIngredients->setAllColumnsShowFocus(true);
    lvIngredients->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvIngredients->setContextMenuPolicy(Qt::NoContextMenu);
    lvIngredients->viewport()->installEventFilter(this);
    lvIngredients->installEventFilter(this);
    // The mark columns are as wide as their titles, the name takes the rest.
    QHeaderView *header = lvIngredients->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column : {1, 2}) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        const QString title = lvIngredients->headerItem()->text(column);
        header->resizeSection(column, header->fontMetrics().horizontalAdvance(title) + 28);
        lvIngredients->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    }
    header->setSectionsMovable(false);

    auto *label = new QLabel(QStringLiteral("&Ingredient List"), this);
    label->setBuddy(lvIngredients);

    const QStringList captions{QStringLiteral("&Add"), QStringLiteral("&Edit")};
    for (int i = 0; i < 2; ++i) {
        cmdAddEdit[size_t(i)] = new QPushButton(captions[i], this);
        cmdAddEdit[size_t(i)]->setObjectName(QStringLiteral("cmdAddEdit(%1)").arg(i));
        connect(cmdAddEdit[size_t(i)], &QPushButton::clicked, this, guarded(&frmIngredientMaintenence::cmdAddEdit_Click, this, i));
    }
    cmdDelete = new QPushButton(QStringLiteral("&Delete"), this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdCombine = new QPushButton(QStringLiteral("&Combine"), this);
    cmdCombine->setObjectName(QStringLiteral("cmdCombine"));
    cmdDone = new QPushButton(QStringLiteral("Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    connect(cmdDelete, &QPushButton::clicked, this, guarded(&frmIngredientMaintenence::cmdDelete_Click, this));
    connect(cmdCombine, &QPushButton::clicked, this, guarded(&frmIngredientMaintenence::cmdCombine_Click, this));
    connect(cmdDone, &QPushButton::clicked, this, guarded(&frmIngredientMaintenence::cmdDone_Click, this));
    connect(lvIngredients, &QTreeWidget::itemDoubleClicked, this, guarded(&frmIngredientMaintenence::cmdAddEdit_Click, this, 1));
    cmdAddEdit[1]->setEnabled(false);
    cmdDelete->setEnabled(false);
    cmdCombine->setEnabled(false);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    for (QPushButton *button : {cmdAddEdit[0], cmdAddEdit[1], cmdDelete, cmdCombine, cmdDone}) {
        button->setAutoDefault(true); // Enter on a button with the focus presses that one
        button->setMinimumWidth(96);
    }
    cmdDone->setDefault(true);
    buttons->addWidget(cmdAddEdit[0]);
    buttons->addWidget(cmdAddEdit[1]);
    buttons->addWidget(cmdDelete);
    buttons->addSpacing(12);
    buttons->addWidget(cmdCombine);
    buttons->addStretch(1);
    buttons->addWidget(cmdDone);

    auto *list = new QVBoxLayout;
    list->setSpacing(4);
    list->addWidget(label);
    list->addWidget(lvIngredients, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);
}

void frmIngredientMaintenence::buildMenu()
{
    mnuPopup = new QMenu(this);
    mnuPopup->setObjectName(QStringLiteral("mnuMenu"));
    const std::initializer_list<std::pair<int, const char *>> items{
        {10, "&Edit"}, {20, "&Delete"}, {30, "&Combine"}, {50, "-"}, {60, "&Search for all drinks with ingredient"}};
    for (const auto &[index, caption] : items) {
        QAction *action = *caption == '-' ? mnuPopup->addSeparator() : mnuPopup->addAction(QString::fromUtf8(caption));
        action->setObjectName(QStringLiteral("mnuMenu(%1)").arg(index));
        if (!action->isSeparator())
            connect(action, &QAction::triggered, this, guarded(&frmIngredientMaintenence::mnuMenu_Click, this, index));
        mnuMenu[index] = action;
    }
}

void frmIngredientMaintenence::RefreshIngredientList()
{
    programDatabase().LoadIngredientListListview(lvIngredients, 1, 2);
    // By name, as every other list of names in the program, not in the order they were stored.
    QList<QTreeWidgetItem *> items = lvIngredients->invisibleRootItem()->takeChildren();
    std::stable_sort(items.begin(), items.end(),
                     [](const QTreeWidgetItem *a, const QTreeWidgetItem *b) { return compareNames(a->text(0), b->text(0)) < 0; });
    for (QTreeWidgetItem *item : items) {
        item->setTextAlignment(1, Qt::AlignCenter);
        item->setTextAlignment(2, Qt::AlignCenter);
    }
    lvIngredients->addTopLevelItems(items);
}

QTreeWidgetItem *frmIngredientMaintenence::selectedItem() const
{
    QTreeWidgetItem *current = lvIngredients->currentItem();
    if (current && current->isSelected())
        return current;
    return lvIngredients->selectedItems().value(0);
}

int frmIngredientMaintenence::selectedCount() const
{
    int count = 0;
    for (int i = 0; i < lvIngredients->topLevelItemCount() && count < 2; ++i)
        count += lvIngredients->topLevelItem(i)->isSelected() ? 1 : 0;
    return count;
}

void frmIngredientMaintenence::ButtonState(int iValue)
{
    const bool one = iValue == 1;
    cmdAddEdit[1]->setEnabled(one);
    cmdDelete->setEnabled(one);
    cmdCombine->setEnabled(iValue >= 2);
    if (iValue == 0)
        return; // the menu keeps its states: it cannot open without a selection
    mnuMenu[10]->setEnabled(one);
    mnuMenu[20]->setEnabled(one);
    mnuMenu[30]->setEnabled(!one);
    mnuMenu[60]->setEnabled(one);
    mnuMenu[60]->setText(one ? QStringLiteral("&Search for all drinks containing '") + menuText(selectedItem()->text(0)) + QLatin1Char('\'')
                             : QStringLiteral("&Search for ingredient"));
}

void frmIngredientMaintenence::lvIngredients_MouseUp(Qt::MouseButton button, const QPoint &globalPos)
{
    ButtonState(selectedCount());
    if (button == Qt::RightButton && selectedCount() > 0)
        mnuPopup->popup(globalPos);
}

bool frmIngredientMaintenence::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lvIngredients->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        lvIngredients_MouseUp(mouse->button(), mouse->globalPosition().toPoint());
    }
    // The menu key and Shift+F10 open the pop-up menu by the current item, as a right click does.
    if (watched == lvIngredients && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        QTreeWidgetItem *current = lvIngredients->currentItem();
        if ((key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) && current
            && selectedCount() > 0) {
            lvIngredients->scrollToItem(current);
            const QRect row = lvIngredients->visualItemRect(current);
            lvIngredients_MouseUp(Qt::RightButton, lvIngredients->viewport()->mapToGlobal(QPoint(row.left() + row.height(), row.bottom())));
            return true;
        }
        // Enter edits the chosen ingredient, as a double click does; with none or several chosen it
        // is Done's.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && cmdAddEdit[1]->isEnabled()) {
            RunCommand([this] { cmdAddEdit_Click(1); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmIngredientMaintenence::cmdAddEdit_Click(int index)
{
    if (index == 0)
        addIngredient();
    else
        editIngredient();
}

void frmIngredientMaintenence::addIngredient()
{
    programDatabase().requireWritable(); // said before the typing, not after
    frmIngredientAdd add(this);
    add.bAdd = true;
    const bool stored = ShowModal(add) == QDialog::Accepted && !add.bCancelled;
    if (!stored)
        return;
    RefreshIngredientList();
    // Show the user where the new ingredient went.
    const QList<QTreeWidgetItem *> found = lvIngredients->findItems(add.txtName->text(), Qt::MatchExactly, 0);
    if (!found.isEmpty()) {
        lvIngredients->setCurrentItem(found.first());
        lvIngredients->scrollToItem(found.first());
    }
}

void frmIngredientMaintenence::editIngredient()
{
    QTreeWidgetItem *item = selectedItem();
    if (!item)
        return;
    CDatabase &db = programDatabase();
    db.requireWritable();
    const QString name = item->text(0);
    frmIngredientAdd add(this);
    add.setWindowTitle(QStringLiteral("Edit Ingredient"));
    add.txtName->setText(name);
    add.sOldName = name;
    if (db.IsIngredientCommonName(name).value_or(false))
        add.chkCommon->setChecked(true);
    if (db.HasIngredientName(name).value_or(false))
        add.chkHave->setChecked(true);
    add.txtName->selectAll();
    const bool stored = ShowModal(add) == QDialog::Accepted && !add.bCancelled;
    if (!stored)
        return;
    const QString newName = add.txtName->text();
    item->setText(0, newName);
    item->setText(1, db.IsIngredientCommonName(newName).value_or(false) ? kMark : QString());
    item->setText(2, db.HasIngredientName(newName).value_or(false) ? kMark : QString());
    ButtonState(selectedCount()); // the search item names the ingredient
}

void frmIngredientMaintenence::cmdDelete_Click()
{
    QTreeWidgetItem *item = selectedItem();
    if (!item)
        return;
    CDatabase &db = programDatabase();
    const QString n = item->text(0);
    const IngredientWrites::UsageCheck check = IngredientWrites(db).usage(n);
    if (check.usage == IngredientWrites::Usage::CheckFailed) {
        const EngineError cause = check.error.value_or(EngineError(err::InvalidOperation, QStringLiteral("unknown failure")));
        MsgBox(QStringLiteral("Zestro could not check whether a drink uses %1, so it was not deleted.\n%2: %3")
                   .arg(n, QString::number(cause.number()), cause.description()),
               msgbox::vbExclamation);
        return;
    }
    if (check.usage == IngredientWrites::Usage::Used) {
        const QString text = n + QStringLiteral(" is being used in some drinks, so you cannot ") + QStringLiteral("delete it.  To remove ")
            + n + QStringLiteral(", ") + QStringLiteral("choose it and a comparable ingredient, then Combine ") + n
            + QStringLiteral(" into the other ingredient.  This will put ") + QStringLiteral("the other ingredient in ") + n
            + QStringLiteral("'s place in the drinks that ") + QStringLiteral("use it.") + QStringLiteral("\n\n")
            + QStringLiteral("Would you like to see ") + QStringLiteral("what drinks contain this ingredient?");
        if (MsgBox(text, msgbox::vbExclamation | msgbox::vbYesNo) == msgbox::vbYes)
            SearchForIngredient();
        return;
    }
    db.IngredientDelete(n);
    // The item goes only when its row went: a delete that failed (and said so) leaves both.
    if (!db.DoesIngredientExist(n)) {
        delete item;
        ButtonState(selectedCount());
    }
}

void frmIngredientMaintenence::cmdCombine_Click()
{
    programDatabase().requireWritable(); // said before the choice and the question
    frmIngredientsCombine combine(lvIngredients, this);
    const bool combined = ShowModal(combine) == QDialog::Accepted && !combine.bCancelled;
    if (combined)
        RefreshIngredientList();
}

void frmIngredientMaintenence::cmdDone_Click()
{
    accept();
}

void frmIngredientMaintenence::SearchForIngredient()
{
    QTreeWidgetItem *item = selectedItem();
    if (!item)
        return;
    const QString name = item->text(0);
    hide();
    programDatabase().Search(2, name, true);
    accept();
}

void frmIngredientMaintenence::mnuMenu_Click(int index)
{
    switch (index) {
    case 10:
        editIngredient();
        break;
    case 20:
        cmdDelete_Click();
        break;
    case 30:
        cmdCombine_Click();
        break;
    case 60:
        SearchForIngredient();
        break;
    default:
        break;
    }
}
