#pragma once

#include <QDialog>

class frmCopyToClipboard : public QDialog {
    Q_OBJECT
public:
    explicit frmCopyToClipboard(QWidget *parent = nullptr);
};
