#pragma once
// The search wizard: the first page asks for the kind of search, a second page for its terms, and
// Finish hands the search to CDatabase::Search or, for the bar list, CDatabase::BarList.

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

class frmSearchWizard : public QDialog {
    Q_OBJECT
public:
    explicit frmSearchWizard(QWidget *parent = nullptr);

    // Set by the opener before the dialog is shown.
    bool bShortcut = false;
    qint16 iSearchToShow = 0;

    // Pages, stacked.
    QStackedWidget *pages = nullptr;
    QWidget *pctMain = nullptr;
    QWidget *pctName = nullptr;
    QWidget *pctIngredient = nullptr;
    QWidget *pctDirections = nullptr;
    QWidget *pctBarlist = nullptr;

    std::array<QRadioButton *, 9> optSearchType{};
    std::array<QRadioButton *, 4> optNameType{};
    QLineEdit *txtDrinkName = nullptr;
    QComboBox *cmbIngredients = nullptr;
    QListWidget *lstIngredients = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdRemove = nullptr;
    QLineEdit *txtDirections = nullptr;
    QSpinBox *txtSlack = nullptr; // the slack: how many of a drink's lines may be missing
    QCheckBox *chkSaveSlack = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdFinish = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Handlers, public so that tests drive the dialog as a user's clicks would.
    void GoToSearch(int iOption);
    void optSearchType_Click(int index);
    void optSearchType_DblClick(int index);
    void cmdNext_Click();
    void cmdBack_Click();
    void cmdFinish_Click();
    void cmdCancel_Click();
    void cmdAdd_Click();
    void cmdRemove_Click();

    // Closes the wizard that is open, if any; the search engine calls it when a search ends.
    static void unloadIfLoaded();
    // The slack a stored setting gives: its number when it is one the box can show, else 1.
    static int slackOf(const QVariant &setting);

protected:
    void showEvent(QShowEvent *event) override; // the Activate step: a shortcut opens its page
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QWidget *buildMainPage();
    QWidget *buildNamePage();
    QWidget *buildIngredientPage();
    QWidget *buildDirectionsPage();
    QWidget *buildBarlistPage();
    QWidget *addPage(QWidget *page, QLabel *question);
    void showPage(QWidget *page);
    // Enter presses Next on the first page while there is a second one, Finish otherwise.
    void updateDefaultButton();
    void openSecondPage(int option);
    int selectedOption() const;
    void cmbIngredients_Edited();
    void cmbIngredients_Click(int index);
    void cmbIngredients_Enter();
    void lstIngredients_Click();

    QButtonGroup *m_searchTypes = nullptr;
    QStackedWidget *m_questions = nullptr; // the header's question, one per page
    bool m_activated = false;
    static QPointer<frmSearchWizard> s_loaded;
};
