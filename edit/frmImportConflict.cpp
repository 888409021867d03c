#include "edit/frmImportConflict.h"

#include "common/CCommonRoutines.h"
#include "core/name_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmImportConflict::frmImportConflict(const QString &drinkName, QWidget *parent, const QString &fileName) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImportConflict"));
    setWindowTitle(QStringLiteral("Import Drinks"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    // Two spellings of one name can look the same: the question says what tells them apart.
    const QString difference = howNamesDiffer(fileName, drinkName);
    const QString spelled = difference.isEmpty()
                                ? QString()
                                : QStringLiteral(" The file spells it '%1' (%2).").arg(fileName, difference);
    lblQuestion = new QLabel(QStringLiteral("The library already has a drink named '%1'.%2\n\n"
                                            "Replace it with the drink from the file, or skip the file's drink?")
                                 .arg(drinkName, spelled),
                             this);
    lblQuestion->setObjectName(QStringLiteral("lblQuestion"));
    lblQuestion->setWordWrap(true);
    lblQuestion->setTextFormat(Qt::PlainText);
    layout->addWidget(lblQuestion);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto addButton = [&](QPushButton *&button, const char *objectName, const QString &text, Answer answer) {
        button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(objectName));
        connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
        buttons->addWidget(button);
    };
    addButton(cmdReplace, "cmdReplace", QStringLiteral("&Replace"), Replace);
    addButton(cmdSkip, "cmdSkip", QStringLiteral("&Skip"), Skip);
    addButton(cmdReplaceAll, "cmdReplaceAll", QStringLiteral("Replace &All"), ReplaceAll);
    addButton(cmdSkipAll, "cmdSkipAll", QStringLiteral("S&kip All"), SkipAll);
    cmdSkip->setDefault(true);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    adjustSize();
    CCommonRoutines().CenterForm(this);
}
