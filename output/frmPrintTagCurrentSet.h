#pragma once

#include <QDialog>

class frmPrintTagCurrentSet : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintTagCurrentSet(QWidget *parent = nullptr);
};
