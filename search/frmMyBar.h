#pragma once
// Tools, Bar List, My Bar...: every ingredient with a check box for "on hand", filtered as the user
// types. OK stores the ticks that changed, all in one write; Cancel leaves the bar list as it was.

#include "search/bar_list_writes.h"

#include <QDialog>
#include <functional>

class CDatabase;
class MyBarModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

class frmMyBar : public QDialog {
    Q_OBJECT
public:
    explicit frmMyBar(CDatabase &db, QWidget *parent = nullptr);
    ~frmMyBar() override;

    QLabel *lblExplain = nullptr;
    QLineEdit *txtFilter = nullptr;
    QListView *lstIngredients = nullptr;
    QLabel *lblCount = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    // How OK stores the changed ticks; it throws to keep the dialog open. The default writes them.
    std::function<void(const QList<OnHandChange> &)> save;

    // Handlers, public so that tests press the buttons as a user would.
    void cmdOK_Click();
    void cmdCancel_Click();

    // The ticks that differ from the library as read, in list order.
    QList<OnHandChange> changes() const;
    // What OK stored; empty after Cancel or when nothing changed.
    const QList<OnHandChange> &saved() const { return m_saved; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void applyFilter();
    void updateCount();

    CDatabase &m_db;
    MyBarModel *m_model = nullptr;
    QList<OnHandChange> m_saved;
};

// Shows the dialog (modal) over the main window; after a save the shown drink is read again, so its
// missing marks follow the new bar list.
void showMyBar(CDatabase &db);
