#pragma once
// Tools, Bar List, What to Buy Next...: ranks the ingredients not on the bar list by the drinks
// that buying each one would make makeable.

#include "search/buy_next.h"

#include <QDialog>

class CDatabase;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmBuyNext : public QDialog {
    Q_OBJECT
public:
    explicit frmBuyNext(CDatabase &db, QWidget *parent = nullptr);

    QLabel *lblExplain = nullptr;
    QLabel *lblNothing = nullptr;
    QTreeWidget *lvBuyNext = nullptr;
    QPushButton *cmdAddToBarList = nullptr;
    QPushButton *cmdClose = nullptr;

    // Handlers, public so that tests press the buttons as a user would.
    void cmdAddToBarList_Click();
    void cmdClose_Click();

    // Whether an ingredient was put on the bar list while the dialog was open.
    bool addedAny() const { return m_added; }

private:
    void buildControls();
    // Reads the library again and fills the list, most useful ingredient first.
    void rank();
    void fillDrinks(QTreeWidgetItem *item);
    void showDrink(QTreeWidgetItem *item);
    void updateButtons();

    CDatabase &m_db;
    int m_slack = 1;
    buynext::Library m_library;
    std::vector<buynext::Choice> m_choices;
    bool m_added = false;
};

// Shows the dialog (modal) over the main window.
void showBuyNext(CDatabase &db);
