#include "app/frmOptions.h"

#include "common/CZestro30.h"
#include "common/CCommonRoutines.h"
#include "common/command_guard.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmOptions::frmOptions(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Options"));
    buildControls();
    resize(sizeHint().expandedTo(QSize(320, 0)));
    CCommonRoutines().CenterForm(this);

    const CZestro30 settings;
    chkTips->setChecked(settings.ShowTips() != 0);
    chkRandom->setChecked(settings.RandomDrink() != 0);
    chkShowSearching->setChecked(settings.ShowSearching());
}

void frmOptions::buildControls()
{
    chkTips = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkRandom = new QCheckBox(QStringLiteral("Random drink at startup"), this);
    chkShowSearching = new QCheckBox(QStringLiteral("Show \"Searching...\" window"), this);

    auto *startup = new QGroupBox(QStringLiteral("When Zestro starts"), this);
    auto *startupLayout = new QVBoxLayout(startup);
    startupLayout->addWidget(chkTips);
    startupLayout->addWidget(chkRandom);

    auto *searching = new QGroupBox(QStringLiteral("While searching"), this);
    auto *searchingLayout = new QVBoxLayout(searching);
    searchingLayout->addWidget(chkShowSearching);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, guarded(&frmOptions::cmdOK_Click, this));
    connect(cmdCancel, &QPushButton::clicked, this, guarded(&frmOptions::cmdCancel_Click, this));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(startup);
    layout->addWidget(searching);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

void frmOptions::cmdOK_Click()
{
    CZestro30 settings;
    settings.setRandomDrink(chkRandom->isChecked() ? 1 : 0);
    settings.setShowTips(chkTips->isChecked() ? 1 : 0);
    settings.setShowSearching(chkShowSearching->isChecked());
    accept();
}

void frmOptions::cmdCancel_Click()
{
    // Escape closes the same way, through QDialog::reject.
    reject();
}
