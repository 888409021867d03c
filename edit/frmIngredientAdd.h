#pragma once

#include <QDialog>

class frmIngredientAdd : public QDialog {
    Q_OBJECT
public:
    explicit frmIngredientAdd(QWidget *parent = nullptr);
};
