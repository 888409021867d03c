// The search wizard: a header that asks the page's question, the pages stacked below it, and the
// Back, Next, Finish and Cancel buttons under them.

#include "search/frmSearchWizard.h"

#include "common/CZestro30.h"
#include "common/CCommonRoutines.h"
#include "common/command_guard.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"
#include "core/engine_error.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

QPointer<frmSearchWizard> frmSearchWizard::s_loaded;

#include "search/search_wizard_internal.h"

using namespace wizard;

namespace {

QLabel *questionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.1);
    label->setFont(font);
    return label;
}

QFrame *rule(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmSearchWizard::frmSearchWizard(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSearchWizard"));
    setWindowTitle(QStringLiteral("Search Wizard"));
    s_loaded = this;
    buildControls();

    const CZestro30 fallbackSettings;
    const CZestro30 &settings = program().settings ? *program().settings : fallbackSettings;
    txtSlack->setValue(slackOf(settings.BarListSlack()));
    resize(sizeHint().expandedTo(QSize(480, 360)));
    routines().CenterToWindow(program().mainForm ? static_cast<QWidget *>(program().mainForm) : parentWidget(), this);
    routines().LoadResStrings(this);
    showPage(pctMain);
}

void frmSearchWizard::buildControls()
{
    auto *header = new QWidget(this);
    header->setAutoFillBackground(true);
    QPalette headerPalette = header->palette();
    headerPalette.setColor(QPalette::Window, headerPalette.color(QPalette::Base));
    header->setPalette(headerPalette);
    m_questions = new QStackedWidget(header);
    auto *picture = new QLabel(header);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/search-wizard.png")).pixmap(QSize(40, 40)));
    auto *headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(18, 12, 14, 12);
    headerLayout->setSpacing(16);
    headerLayout->addWidget(m_questions, 1);
    headerLayout->addWidget(picture, 0, Qt::AlignTop);

    pages = new QStackedWidget(this);
    pages->setContentsMargins(18, 12, 18, 6);
    pctMain = addPage(buildMainPage(), questionLabel(QStringLiteral("Select how you would like to search for drinks:"), m_questions));
    pctName = addPage(buildNamePage(), questionLabel(QStringLiteral("How would you like to search?"), m_questions));
    QLabel *ingredientQuestion = questionLabel(QString(), m_questions);
    ingredientQuestion->setProperty("tag", 210);
    pctIngredient = addPage(buildIngredientPage(), ingredientQuestion);
    pctDirections = addPage(buildDirectionsPage(),
                            questionLabel(QStringLiteral("Enter the word or group of words you would like to search for:"), m_questions));
    pctBarlist = addPage(buildBarlistPage(),
                         questionLabel(QStringLiteral("Number of ingredients in a drink that don't have to be in your bar list."), m_questions));

    cmdBack = new QPushButton(this);
    cmdBack->setProperty("tag", 201);
    cmdNext = new QPushButton(this);
    cmdNext->setProperty("tag", 202);
    cmdFinish = new QPushButton(this);
    cmdFinish->setProperty("tag", 203);
    cmdCancel = new QPushButton(this);
    cmdCancel->setProperty("tag", 204);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdFinish->setObjectName(QStringLiteral("cmdFinish"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter in a text box presses the page's default button (updateDefaultButton); a button that
    // has the focus takes Enter itself.
    for (QPushButton *button : {cmdBack, cmdNext, cmdFinish, cmdCancel, cmdAdd, cmdRemove}) {
        button->setAutoDefault(true);
        button->setMinimumWidth(84);
    }
    connect(cmdBack, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdBack_Click, this));
    connect(cmdNext, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdNext_Click, this));
    connect(cmdFinish, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdFinish_Click, this));
    connect(cmdCancel, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdCancel_Click, this));
    connect(cmdAdd, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdAdd_Click, this));
    connect(cmdRemove, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdRemove_Click, this));
    connect(cmbIngredients->lineEdit(), &QLineEdit::returnPressed, this, guarded(&frmSearchWizard::cmbIngredients_Enter, this));

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 6, 12, 12);
    buttons->setSpacing(6);
    buttons->addStretch(1);
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdNext);
    buttons->addSpacing(12);
    buttons->addWidget(cmdFinish);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(rule(this));
    layout->addWidget(pages, 1);
    layout->addWidget(rule(this));
    layout->addLayout(buttons);

    // Initial state: Name and Exact Name chosen, only Next and Cancel to press.
    optSearchType[0]->setChecked(true);
    optNameType[0]->setChecked(true);
    cmdBack->setEnabled(false);
    cmdFinish->setEnabled(false);
    cmdAdd->setEnabled(false);
    cmdRemove->setEnabled(false);
}

QWidget *frmSearchWizard::addPage(QWidget *page, QLabel *question)
{
    pages->addWidget(page);
    m_questions->addWidget(question);
    return page;
}

QWidget *frmSearchWizard::buildMainPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    m_searchTypes = new QButtonGroup(this);
    for (int i = 0; i < int(optSearchType.size()); ++i) {
        auto *option = new QRadioButton(page);
        option->setObjectName(QStringLiteral("optSearchType(%1)").arg(i));
        if (i < int(kSearchTypeTags.size()))
            option->setProperty("tag", kSearchTypeTags[size_t(i)]);
        else
            option->setText(QStringLiteral("Drinks I can make (bar list)"));
        option->installEventFilter(this); // double-clicks
        m_searchTypes->addButton(option, i);
        optSearchType[size_t(i)] = option;
        // Searches with terms, then the marks, then the bar list.
        if (i == 4 || i == kBarListOption)
            layout->addSpacing(8);
        layout->addWidget(option);
    }
    layout->addStretch(1);
    connect(m_searchTypes, &QButtonGroup::idClicked, this, [this](int id) { RunCommand([this, id] { optSearchType_Click(id); }); });
    return page;
}

QWidget *frmSearchWizard::buildNamePage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    auto *group = new QButtonGroup(page);
    const QStringList captions{QStringLiteral("Exact Name"), QStringLiteral("Begins with..."), QStringLiteral("Ends with..."),
                               QStringLiteral("Contains...")};
    for (int i = 0; i < int(optNameType.size()); ++i) {
        optNameType[size_t(i)] = new QRadioButton(captions[i], page);
        optNameType[size_t(i)]->setObjectName(QStringLiteral("optNameType(%1)").arg(i));
        group->addButton(optNameType[size_t(i)], i);
        layout->addWidget(optNameType[size_t(i)]);
    }
    layout->addSpacing(14);
    txtDrinkName = new QLineEdit(page);
    auto *prompt = new QLabel(QStringLiteral("Enter the string to search for:"), page);
    prompt->setBuddy(txtDrinkName);
    layout->addWidget(prompt);
    layout->addWidget(txtDrinkName);
    layout->addStretch(1);
    return page;
}

QWidget *frmSearchWizard::buildIngredientPage()
{
    auto *page = new QWidget(this);
    cmbIngredients = new QComboBox(page);
    cmbIngredients->setEditable(true);
    // The wizard keeps its own lists: typed text is never added to the drop-down by Qt, and the
    // type-ahead is FillInText's, not a completer's.
    cmbIngredients->setInsertPolicy(QComboBox::NoInsert);
    cmbIngredients->setCompleter(nullptr);
    cmbIngredients->setMaxVisibleItems(15);
    cmbIngredients->lineEdit()->installEventFilter(this); // double-clicks
    lstIngredients = new QListWidget(page);
    lstIngredients->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdAdd = new QPushButton(QStringLiteral("Add"), page);
    cmdRemove = new QPushButton(QStringLiteral("Remove"), page);

    connect(cmbIngredients->lineEdit(), &QLineEdit::textEdited, this, [this] { RunCommand([this] { cmbIngredients_Edited(); }); });
    connect(cmbIngredients, &QComboBox::activated, this, [this](int index) { RunCommand([&] { cmbIngredients_Click(index); }); });
    connect(lstIngredients, &QListWidget::itemSelectionChanged, this, guarded(&frmSearchWizard::lstIngredients_Click, this));
    connect(lstIngredients, &QListWidget::itemClicked, this, guarded(&frmSearchWizard::lstIngredients_Click, this));
    connect(lstIngredients, &QListWidget::itemDoubleClicked, this, [this] { RunCommand([this] { cmdRemove_Click(); }); });

    auto *layout = new QGridLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(6);
    layout->addWidget(cmbIngredients, 0, 0);
    layout->addWidget(cmdAdd, 0, 1);
    layout->addWidget(lstIngredients, 1, 0, 2, 1);
    layout->addWidget(cmdRemove, 1, 1, Qt::AlignTop);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
    return page;
}

QWidget *frmSearchWizard::buildDirectionsPage()
{
    auto *page = new QWidget(this);
    txtDirections = new QLineEdit(page);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtDirections);
    layout->addStretch(1);
    return page;
}

QWidget *frmSearchWizard::buildBarlistPage()
{
    auto *page = new QWidget(this);
    txtSlack = new QSpinBox(page);
    txtSlack->setObjectName(QStringLiteral("txtSlack"));
    txtSlack->setRange(0, kMaxSlack);
    txtSlack->setValue(kDefaultSlack);
    txtSlack->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    chkSaveSlack = new QCheckBox(QStringLiteral("Make this the default number."), page);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(txtSlack);
    layout->addWidget(chkSaveSlack);
    layout->addStretch(1);
    return page;
}

void frmSearchWizard::showPage(QWidget *page)
{
    pages->setCurrentWidget(page);
    m_questions->setCurrentIndex(pages->indexOf(page));
    updateDefaultButton();
}

void frmSearchWizard::updateDefaultButton()
{
    const bool firstPage = pages->currentWidget() == pctMain;
    (firstPage && cmdNext->isEnabled() ? cmdNext : cmdFinish)->setDefault(true);
}

int frmSearchWizard::slackOf(const QVariant &setting)
{
    bool isNumber = false;
    const int slack = setting.toString().trimmed().toInt(&isNumber);
    return isNumber && slack >= 0 && slack <= kMaxSlack ? slack : kDefaultSlack;
}

int frmSearchWizard::selectedOption() const
{
    return qMax(0, m_searchTypes->checkedId());
}
