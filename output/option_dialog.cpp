#include "output/option_dialog.h"

#include "common/CCommonRoutines.h"
#include "common/command_guard.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

OptionDialog::OptionDialog(const QString &objectName, const OptionTexts &texts, QWidget *parent) : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(texts.caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    auto *question = new QLabel(QStringLiteral("What would you like to do?"), this);
    QFont bold = question->font();
    bold.setBold(true);
    question->setFont(bold);
    layout->addWidget(question);
    // The explanations line up with the choices' texts, under them.
    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    for (int i = 0; i < 2; ++i) {
        optOption[size_t(i)] = new QRadioButton(texts.options[size_t(i)], this);
        optOption[size_t(i)]->setObjectName(QStringLiteral("optOption(%1)").arg(i));
        auto *explanation = new QLabel(texts.explanations[size_t(i)], this);
        explanation->setWordWrap(true);
        explanation->setContentsMargins(indent, 0, 0, 0);
        explanation->setForegroundRole(QPalette::PlaceholderText);
        layout->addSpacing(6);
        layout->addWidget(optOption[size_t(i)]);
        layout->addWidget(explanation);
    }
    optOption[0]->setChecked(true);
    auto *buttons = new QDialogButtonBox(this);
    cmdButtons[0] = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cmdButtons[1] = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    for (int i = 0; i < 2; ++i) {
        cmdButtons[size_t(i)]->setObjectName(QStringLiteral("cmdButtons(%1)").arg(i));
        connect(cmdButtons[size_t(i)], &QPushButton::clicked, this, guarded(&OptionDialog::cmdButtons_Click, this, i));
    }
    cmdButtons[0]->setDefault(true);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    adjustSize();
    CCommonRoutines().CenterForm(this);
}

void OptionDialog::cmdButtons_Click(int index)
{
    m_value = index == 0 ? (optOption[0]->isChecked() ? 1 : 2) : 0;
    if (index == 0)
        accept();
    else
        QDialog::reject();
}

void OptionDialog::reject()
{
    cmdButtons_Click(1);
}
