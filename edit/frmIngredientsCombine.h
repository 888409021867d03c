#pragma once
// Asks which of the ingredients selected in the maintenance list the others are to be merged into,
// confirms, and combines them.

#include <QDialog>

class QListWidget;
class QPushButton;
class QTreeWidget;

class frmIngredientsCombine : public QDialog {
    Q_OBJECT
public:
    // The destination list holds the items selected in `lvSource`, in its order.
    explicit frmIngredientsCombine(const QTreeWidget *lvSource, QWidget *parent = nullptr);

    bool bCancelled = false;

    QListWidget *lstDestination = nullptr;
    QPushButton *cmdDoIt = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Handlers, public so that tests press the buttons as a user would.
    void cmdDoIt_Click();
    void cmdCancel_Click();

    // The question Do It asks before combining into the selected destination.
    QString confirmation() const;

public slots:
    void reject() override; // Escape and the window's close button cancel

private:
    void buildControls();
};
