#include "app/frmMain.h"

#include <QHeaderView>
#include <QStatusBar>
#include <QTreeWidget>

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Zestro"));
    lvDrinks = new QTreeWidget(this);
    lvDrinks->setObjectName(QStringLiteral("lvDrinks"));
    lvDrinks->setRootIsDecorated(false);
    lvDrinks->setUniformRowHeights(true);
    lvDrinks->setHeaderLabels({QStringLiteral("Name")});
    setCentralWidget(lvDrinks);
    statusBar()->setSizeGripEnabled(true);
    resize(800, 560);
}
