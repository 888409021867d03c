#include "edit/frmIngredientsCombine.h"

#include "common/CCommonRoutines.h"
#include "common/command_guard.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmIngredientsCombine::frmIngredientsCombine(const QTreeWidget *lvSource, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIngredientsCombine"));
    setWindowTitle(QStringLiteral("Combine Ingredients"));
    buildControls();
    for (int i = 0; i < lvSource->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = lvSource->topLevelItem(i);
        if (item->isSelected())
            lstDestination->addItem(item->text(0));
    }
    resize(sizeHint());
    CCommonRoutines().CenterForm(this);
}

void frmIngredientsCombine::buildControls()
{
    auto *prompt = new QLabel(QStringLiteral("Select the ingredient you would like to combine your selected ingredients into."), this);
    prompt->setWordWrap(true);

    lstDestination = new QListWidget(this);
    lstDestination->setObjectName(QStringLiteral("lstDestination"));
    lstDestination->setSelectionMode(QAbstractItemView::SingleSelection);
    lstDestination->setMinimumSize(300, 140);
    auto *label = new QLabel(QStringLiteral("&Destination ingredient:"), this);
    label->setBuddy(lstDestination);

    cmdDoIt = new QPushButton(QStringLiteral("Do It"), this);
    cmdDoIt->setObjectName(QStringLiteral("cmdDoIt"));
    cmdDoIt->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    connect(cmdDoIt, &QPushButton::clicked, this, guarded(&frmIngredientsCombine::cmdDoIt_Click, this));
    connect(cmdCancel, &QPushButton::clicked, this, guarded(&frmIngredientsCombine::cmdCancel_Click, this));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDoIt);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    layout->addWidget(prompt);
    layout->addSpacing(6);
    layout->addWidget(label);
    layout->addWidget(lstDestination, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
}

QString frmIngredientsCombine::confirmation() const
{
    const QString destination = lstDestination->selectedItems().value(0)->text();
    QString text = QStringLiteral("The ingredient") + (lstDestination->count() < 3 ? QStringLiteral(": ") : QStringLiteral("s: "));
    for (int i = 0; i < lstDestination->count(); ++i) {
        const QString item = lstDestination->item(i)->text();
        if (item != destination)
            text += QStringLiteral("  ") + item.trimmed() + QLatin1Char('\n');
    }
    return text + QLatin1Char('\n') + QStringLiteral("will be replaced with ") + destination + QStringLiteral(" then deleted.  OK?");
}

void frmIngredientsCombine::cmdDoIt_Click()
{
    if (lstDestination->selectedItems().isEmpty()) {
        MsgBox(QStringLiteral("Please select a destination ingredient."), msgbox::vbInformation);
        return;
    }
    if (MsgBox(confirmation(), msgbox::vbExclamation | msgbox::vbYesNo) != msgbox::vbYes)
        return;
    programDatabase().IngredientCombine(lstDestination);
    bCancelled = false;
    accept();
}

void frmIngredientsCombine::cmdCancel_Click()
{
    bCancelled = true;
    QDialog::reject();
}

void frmIngredientsCombine::reject()
{
    cmdCancel_Click();
}
