#include "search/frmBuyNext.h"

#include "common/CCommonRoutines.h"
#include "common/busy_cursor.h"
#include "common/command_guard.h"
#include "common/seams.h"
#include "store/CDatabase.h"
#include "store/write_transaction.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kChoiceRole = Qt::UserRole; // index into the choices, on ingredient rows only
const QString kMark = QStringLiteral("\u2022");

QString explanation(int slack)
{
    const QString counts = slack == 0
                               ? QStringLiteral("The count is how many more drinks you could make with none of their "
                                                "ingredients missing")
                               : QStringLiteral("The counts are how many more drinks you could make with none of their "
                                                "ingredients missing, and with at most %1 missing (your bar-list "
                                                "setting)")
                                     .arg(slack);
    return counts + QStringLiteral(", if you bought that one ingredient. Common ingredients count as at hand. "
                                   "Open a row to see the drinks.");
}

} // namespace

frmBuyNext::frmBuyNext(CDatabase &db, QWidget *parent) : QDialog(parent), m_db(db), m_slack(buynext::defaultSlack())
{
    setObjectName(QStringLiteral("frmBuyNext"));
    setWindowTitle(QStringLiteral("What to Buy Next"));
    buildControls();
    rank();
    if (lvBuyNext->topLevelItemCount() > 0)
        lvBuyNext->setCurrentItem(lvBuyNext->topLevelItem(0));
    resize(QSize(640, 460));
    CCommonRoutines().CenterToWindow(parentWidget(), this);
}

void frmBuyNext::buildControls()
{
    lblExplain = new QLabel(explanation(m_slack), this);
    lblExplain->setObjectName(QStringLiteral("lblExplain"));
    lblExplain->setWordWrap(true);
    lblNothing = new QLabel(QStringLiteral("No ingredient you could buy would, on its own, make another drink makeable."), this);
    lblNothing->setObjectName(QStringLiteral("lblNothing"));
    lblNothing->setWordWrap(true);

    lvBuyNext = new QTreeWidget(this);
    lvBuyNext->setObjectName(QStringLiteral("lvBuyNext"));
    QStringList headers{QStringLiteral("Ingredient"), QStringLiteral("Drinks with none missing")};
    if (m_slack > 0)
        headers << QStringLiteral("Drinks with %1 missing").arg(m_slack);
    lvBuyNext->setHeaderLabels(headers);
    lvBuyNext->setSelectionMode(QAbstractItemView::SingleSelection);
    lvBuyNext->setUniformRowHeights(true);
    lvBuyNext->setAllColumnsShowFocus(true);
    QHeaderView *header = lvBuyNext->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < headers.size(); ++column) {
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        lvBuyNext->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    }
    connect(lvBuyNext, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        RunCommand([&] { fillDrinks(item); });
    });
    connect(lvBuyNext, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        RunCommand([&] { showDrink(item); });
    });
    connect(lvBuyNext, &QTreeWidget::itemSelectionChanged, this, &frmBuyNext::updateButtons);

    cmdAddToBarList = new QPushButton(QStringLiteral("&Add to Bar List"), this);
    cmdAddToBarList->setObjectName(QStringLiteral("cmdAddToBarList"));
    cmdAddToBarList->setAutoDefault(false);
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    connect(cmdAddToBarList, &QPushButton::clicked, this, guarded(&frmBuyNext::cmdAddToBarList_Click, this));
    connect(cmdClose, &QPushButton::clicked, this, guarded(&frmBuyNext::cmdClose_Click, this));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdAddToBarList);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(lblExplain);
    layout->addWidget(lblNothing);
    layout->addWidget(lvBuyNext, 1);
    layout->addLayout(buttons);
}

void frmBuyNext::rank()
{
    BusyCursor wait;
    m_library = buynext::readLibrary(m_db.database(), m_db.barListMark());
    m_choices = buynext::rankChoices(m_library, m_slack);
    lvBuyNext->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(qsizetype(m_choices.size()));
    for (size_t i = 0; i < m_choices.size(); ++i) {
        const buynext::Choice &choice = m_choices[i];
        auto *item = new QTreeWidgetItem;
        item->setText(0, choice.ingredient);
        item->setData(0, kChoiceRole, int(i));
        item->setText(1, QString::number(choice.noneMissing.size()));
        item->setTextAlignment(1, Qt::AlignCenter);
        if (m_slack > 0) {
            item->setText(2, QString::number(choice.withSlack.size()));
            item->setTextAlignment(2, Qt::AlignCenter);
        }
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator); // the drinks come when opened
        rows << item;
    }
    lvBuyNext->addTopLevelItems(rows);
    lblNothing->setVisible(rows.isEmpty());
    lvBuyNext->setVisible(!rows.isEmpty());
    updateButtons();
}

void frmBuyNext::fillDrinks(QTreeWidgetItem *item)
{
    if (!item || item->parent() || item->childCount() > 0)
        return;
    const auto &choice = m_choices.at(size_t(item->data(0, kChoiceRole).toInt()));
    QList<QTreeWidgetItem *> drinks;
    for (const buynext::Unlocked &drink : buynext::unlockedDrinks(m_library, choice)) {
        auto *child = new QTreeWidgetItem;
        child->setText(0, drink.name);
        child->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (m_slack > 0) {
            // Both columns: a mark says which count the drink is in.
            child->setText(1, drink.noneMissing ? kMark : QString());
            child->setText(2, drink.withSlack ? kMark : QString());
            child->setTextAlignment(1, Qt::AlignCenter);
            child->setTextAlignment(2, Qt::AlignCenter);
        }
        drinks << child;
    }
    item->addChildren(drinks);
}

// A drink listed in the main window is selected and shown there.
void frmBuyNext::showDrink(QTreeWidgetItem *item)
{
    OutputWindow *output = m_db.output();
    if (!item || !item->parent() || !output)
        return;
    const QString name = item->text(0);
    output->selectDrink(name);
    if (output->selectedDrinkName() == name)
        m_db.ShowDrinkInfo(name);
    else
        output->setStatusText(name + QStringLiteral(" is not in the current set."));
}

void frmBuyNext::updateButtons()
{
    const QTreeWidgetItem *item = lvBuyNext->currentItem();
    cmdAddToBarList->setEnabled(item && !item->parent() && item->isSelected());
}

void frmBuyNext::cmdAddToBarList_Click()
{
    QTreeWidgetItem *item = lvBuyNext->currentItem();
    if (!item || item->parent() || !item->isSelected())
        return;
    const int row = lvBuyNext->indexOfTopLevelItem(item);
    const int id = m_choices.at(size_t(item->data(0, kChoiceRole).toInt())).ingredientId;
    {
        UndoStep step(m_db, QStringLiteral("Add to Bar List"));
        m_db.requireBarList();
        WriteTransaction tx(m_db);
        m_db.database().Execute(QStringLiteral("UPDATE Ingredients SET Has = True WHERE ID = ") + QString::number(id));
        tx.commit();
    }
    m_added = true;
    m_db.ingredientsTable().Requery(); // its rows hold the flag as read
    rank();
    // The row that took the added one's place, so that the next can be added at once.
    const int count = lvBuyNext->topLevelItemCount();
    if (count > 0) {
        lvBuyNext->setCurrentItem(lvBuyNext->topLevelItem(std::min(row, count - 1)));
        lvBuyNext->setFocus();
    } else {
        cmdClose->setFocus();
    }
}

void frmBuyNext::cmdClose_Click()
{
    accept();
}

void showBuyNext(CDatabase &db)
{
    OutputWindow *output = db.output();
    bool added = false;
    {
        frmBuyNext dialog(db, output ? output->dialogParent() : nullptr);
        ShowModal(dialog);
        added = dialog.addedAny();
    }
    // The listed drinks' lines may name an ingredient now at hand.
    if (added)
        db.BarListChanged();
}
