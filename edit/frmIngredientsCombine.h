#pragma once

#include <QDialog>

class frmIngredientsCombine : public QDialog {
    Q_OBJECT
public:
    explicit frmIngredientsCombine(QWidget *parent = nullptr);
};
