#pragma once
// The main window: the drink list (the current set) and the status bar. The detail panes, menus and
// toolbar are added around them.

#include <QMainWindow>

class QTreeWidget;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);

    QTreeWidget *lvDrinks = nullptr;
};
