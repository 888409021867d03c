#include "output/option_dialog.h"

#include "common/CCommonRoutines.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

void buildOptionDialog(QDialog &dialog, const OptionTexts &texts, std::array<QRadioButton *, 2> &optOption,
                       std::array<QPushButton *, 2> &cmdButtons)
{
    dialog.setWindowTitle(texts.caption);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(&dialog);
    auto *question = new QLabel(QStringLiteral("What would you like to do?"), &dialog);
    QFont bold = question->font();
    bold.setBold(true);
    question->setFont(bold);
    layout->addWidget(question);
    // The explanations line up with the choices' texts, under them.
    const int indent = dialog.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth)
                       + dialog.style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    for (int i = 0; i < 2; ++i) {
        optOption[size_t(i)] = new QRadioButton(texts.options[size_t(i)], &dialog);
        optOption[size_t(i)]->setObjectName(QStringLiteral("optOption(%1)").arg(i));
        auto *explanation = new QLabel(texts.explanations[size_t(i)], &dialog);
        explanation->setWordWrap(true);
        explanation->setContentsMargins(indent, 0, 0, 0);
        explanation->setForegroundRole(QPalette::PlaceholderText);
        layout->addSpacing(6);
        layout->addWidget(optOption[size_t(i)]);
        layout->addWidget(explanation);
    }
    optOption[0]->setChecked(true);
    auto *buttons = new QDialogButtonBox(&dialog);
    cmdButtons[0] = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cmdButtons[1] = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    for (int i = 0; i < 2; ++i)
        cmdButtons[size_t(i)]->setObjectName(QStringLiteral("cmdButtons(%1)").arg(i));
    cmdButtons[0]->setDefault(true);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(420);
    dialog.adjustSize();
    CCommonRoutines().CenterForm(&dialog);
}
