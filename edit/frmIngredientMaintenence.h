#pragma once

#include <QDialog>

class frmIngredientMaintenence : public QDialog {
    Q_OBJECT
public:
    explicit frmIngredientMaintenence(QWidget *parent = nullptr);
};
