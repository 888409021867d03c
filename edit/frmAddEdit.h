#pragma once

#include <QDialog>

class frmAddEdit : public QDialog {
    Q_OBJECT
public:
    explicit frmAddEdit(QWidget *parent = nullptr);
};
