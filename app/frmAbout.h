#pragma once
// Help, About Zestro...: version, the number of drinks in the open library, the legal notice and
// the two addresses, which open the web page or a new mail when clicked.

#include "common/version.h"

#include <QDialog>
#include <QString>
#include <array>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    static constexpr int kVersionMajor = ZESTRO_VERSION_MAJOR;
    static constexpr int kVersionMinor = ZESTRO_VERSION_MINOR;
    static constexpr int kVersionRevision = ZESTRO_VERSION_PATCH;
    static inline const QString kLegalNotice = QStringLiteral(
        "Copyright (C) 2026 The Zestro developers. Drink library and help text are original works "
        "of the Zestro project.");

    // ---- Controls ----
    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblDrinks = nullptr;
    QLabel *lblCopyright = nullptr;
    // 0: the support mail address, 1: the product web page.
    std::array<QLabel *, 2> lblWeb{};
    QPushButton *cmdOK = nullptr;

    void lblWeb_Click(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
};
