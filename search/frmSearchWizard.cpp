// The search wizard: a header that asks the page's question, the pages stacked below it, and the
// Back, Next, Finish and Cancel buttons under them.

#include "search/frmSearchWizard.h"

#include "app/CZestro30.h"
#include "app/frmMain.h"
#include "common/CCommonRoutines.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"
#include "store/engine/engine_error.h"

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
#include <QStackedWidget>
#include <QVBoxLayout>

QPointer<frmSearchWizard> frmSearchWizard::s_loaded;

namespace {

constexpr int kMaxIngredients = 20;
constexpr int kBarListOption = 8;
// String numbers of the first eight options' captions; the bar-list option has its own text.
constexpr std::array<int, 8> kSearchTypeTags{205, 5, 206, 212, 207, 208, 209, 211};
// The search types of the mark options 4 to 7 (printed comes before user-submitted on the page).
constexpr std::array<qint16, 4> kMarkSearchTypes{5, 6, 8, 7};

const QString kTooManyIngredients = QStringLiteral(
    "Take it easy, champ!  Zestro will only search for 20 ingredients at a time.  If that is a problem, let me know and I'll up it.");
const QString kSlackNotANumber = QStringLiteral("Please enter a whole number of ingredients, for example 1.");

CCommonRoutines &routines()
{
    // FillInText keeps state between calls, so use the program's one instance when there is one.
    static CCommonRoutines fallback;
    return program().commonRoutines ? *program().commonRoutines : fallback;
}

CDatabase &database()
{
    if (!program().database)
        throw EngineError(err::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
    return *program().database;
}

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
    txtSlack->setText(settings.BarListSlack().toString());
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
    auto guarded = [this](void (frmSearchWizard::*handler)()) {
        return [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); };
    };
    // Enter belongs to the text boxes on these pages, so no button may take it as the default.
    for (QPushButton *button : {cmdBack, cmdNext, cmdFinish, cmdCancel, cmdAdd, cmdRemove}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(84);
    }
    connect(cmdBack, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdBack_Click));
    connect(cmdNext, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdNext_Click));
    connect(cmdFinish, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdFinish_Click));
    connect(cmdCancel, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdCancel_Click));
    connect(cmdAdd, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdAdd_Click));
    connect(cmdRemove, &QPushButton::clicked, this, guarded(&frmSearchWizard::cmdRemove_Click));
    connect(txtDrinkName, &QLineEdit::returnPressed, this, guarded(&frmSearchWizard::cmdFinish_Click));
    connect(txtDirections, &QLineEdit::returnPressed, this, guarded(&frmSearchWizard::cmdFinish_Click));
    connect(txtSlack, &QLineEdit::returnPressed, this, guarded(&frmSearchWizard::cmdFinish_Click));
    connect(cmbIngredients->lineEdit(), &QLineEdit::returnPressed, this, guarded(&frmSearchWizard::cmbIngredients_Enter));

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
    connect(m_searchTypes, &QButtonGroup::idClicked, this, [this](int id) { runGuarded([this, id] { optSearchType_Click(id); }); });
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

    connect(cmbIngredients->lineEdit(), &QLineEdit::textEdited, this, [this] { runGuarded([this] { cmbIngredients_Edited(); }); });
    connect(cmbIngredients, &QComboBox::activated, this, [this](int index) { cmbIngredients_Click(index); });
    connect(lstIngredients, &QListWidget::itemSelectionChanged, this, [this] { lstIngredients_Click(); });
    connect(lstIngredients, &QListWidget::itemClicked, this, [this] { lstIngredients_Click(); });
    connect(lstIngredients, &QListWidget::itemDoubleClicked, this, [this] { runGuarded([this] { cmdRemove_Click(); }); });

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
    txtSlack = new QLineEdit(page);
    txtSlack->setMaximumWidth(txtSlack->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
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
}

int frmSearchWizard::selectedOption() const
{
    return qMax(0, m_searchTypes->checkedId());
}

// ---- Events ----------------------------------------------------------------------------------------

void frmSearchWizard::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Only the first showing opens the shortcut's page; a later one (after a minimise) changes nothing.
    if (m_activated || event->spontaneous())
        return;
    m_activated = true;
    if (bShortcut)
        runGuarded([this] { GoToSearch(iSearchToShow); });
}

void frmSearchWizard::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel)) {
        cmdCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmSearchWizard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < int(optSearchType.size()); ++i) {
            if (watched == optSearchType[size_t(i)]) {
                runGuarded([this, i] { optSearchType_DblClick(i); });
                return true;
            }
        }
        if (watched == cmbIngredients->lineEdit() && !cmbIngredients->currentText().trimmed().isEmpty())
            runGuarded([this] { cmdAdd_Click(); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmSearchWizard::runGuarded(const std::function<void()> &action)
{
    // An error must not leave a Qt event handler: it ends this command with a message, as the
    // main window's commands do.
    try {
        action();
    } catch (const EngineError &e) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        MsgBox(QStringLiteral("Error ") + QString::number(e.number()) + QStringLiteral(": ") + e.description(),
               msgbox::vbExclamation);
    }
}

// ---- Handlers --------------------------------------------------------------------------------------

void frmSearchWizard::GoToSearch(int iOption)
{
    if (iOption < 0 || iOption >= int(optSearchType.size()))
        return;
    optSearchType[size_t(iOption)]->setChecked(true);
    optSearchType_Click(iOption);
    optSearchType_DblClick(iOption);
}

void frmSearchWizard::optSearchType_Click(int index)
{
    const bool needsTerms = index <= 3 || index == kBarListOption;
    cmdNext->setEnabled(needsTerms);
    cmdFinish->setEnabled(!needsTerms);
}

void frmSearchWizard::optSearchType_DblClick(int index)
{
    if (index < 0 || index >= int(optSearchType.size()))
        return;
    if (!optSearchType[size_t(index)]->isChecked()) {
        optSearchType[size_t(index)]->setChecked(true);
        optSearchType_Click(index);
    }
    if (index <= 3 || index == kBarListOption)
        cmdNext_Click();
    else
        cmdFinish_Click();
}

void frmSearchWizard::cmdNext_Click()
{
    const int option = selectedOption();
    if (option == 1) {
        // Filled anew each time; the chosen ingredients stay chosen.
        database().LoadIngredientList(cmbIngredients, false);
        cmbIngredients->setCurrentIndex(-1);
        cmbIngredients->clearEditText();
        cmdAdd->setEnabled(false);
    }
    openSecondPage(option);
}

void frmSearchWizard::openSecondPage(int option)
{
    switch (option) {
    case 0:
        showPage(pctName);
        txtDrinkName->setFocus();
        break;
    case 1:
        showPage(pctIngredient);
        cmbIngredients->setFocus();
        break;
    case 2:
    case 3:
        showPage(pctDirections);
        txtDirections->setFocus();
        break;
    case kBarListOption:
        showPage(pctBarlist);
        txtSlack->setFocus();
        txtSlack->selectAll();
        break;
    default:
        return; // the mark searches have no second page
    }
    cmdNext->setEnabled(false);
    cmdFinish->setEnabled(true);
    cmdBack->setEnabled(true);
}

void frmSearchWizard::cmdBack_Click()
{
    cmdNext->setEnabled(true);
    cmdBack->setEnabled(false);
    showPage(pctMain);
    optSearchType[size_t(selectedOption())]->setFocus();
}

void frmSearchWizard::cmdFinish_Click()
{
    const int option = selectedOption();
    bool slackIsNumber = true;
    const qint16 slack = txtSlack->text().trimmed().toShort(&slackIsNumber);
    if (option == kBarListOption && !slackIsNumber) {
        // Checked before anything is saved or searched, so the user can put it right.
        MsgBox(kSlackNotANumber, msgbox::vbExclamation);
        openSecondPage(kBarListOption);
        return;
    }

    hide();
    // Whatever happens below, the wizard is done with; a search unloads it already.
    const auto unload = qScopeGuard([] { unloadIfLoaded(); });
    CDatabase &db = database();
    switch (option) {
    case 0: {
        const QString t = txtDrinkName->text();
        const QString star = QStringLiteral("*");
        const QString patterns[] = {t, t + star, star + t, star + t + star};
        int nameType = 0;
        while (nameType < 3 && !optNameType[size_t(nameType)]->isChecked())
            ++nameType;
        db.Search(1, patterns[nameType], true);
        break;
    }
    case 1:
        db.Search(2, routines().ListboxToCommaDelimitedString(*lstIngredients), true);
        break;
    case 2:
    case 3:
        db.Search(qint16(option + 1), QLatin1Char('*') + txtDirections->text() + QLatin1Char('*'), true);
        break;
    case kBarListOption: {
        if (chkSaveSlack->isChecked()) {
            CZestro30 fallbackSettings;
            (program().settings ? *program().settings : fallbackSettings).setBarListSlack(txtSlack->text().trimmed());
        }
        db.BarList(slack);
        break;
    }
    default:
        db.Search(kMarkSearchTypes[size_t(option - 4)], QString(), true);
        break;
    }
}

void frmSearchWizard::cmdCancel_Click()
{
    reject();
}

void frmSearchWizard::unloadIfLoaded()
{
    // The wizard is hidden while its search runs, so it is no longer the active modal window;
    // it is found through this pointer instead.
    const QPointer<frmSearchWizard> wizard = s_loaded;
    s_loaded = nullptr;
    if (wizard)
        wizard->done(QDialog::Accepted);
}

// ---- The ingredient page ---------------------------------------------------------------------------

void frmSearchWizard::cmbIngredients_Edited()
{
    // Emptying the box is left alone: every name begins with the empty text.
    if (!cmbIngredients->currentText().isEmpty())
        routines().FillInText(cmbIngredients);
    const QString text = cmbIngredients->currentText();
    const int index = cmbIngredients->currentIndex();
    if (index >= 0 && cmbIngredients->itemText(index) == text)
        cmbIngredients_Click(index); // the type-ahead chose an item
    else
        cmdAdd->setEnabled(!text.trimmed().isEmpty()); // Enter would add it, so the button may too
}

void frmSearchWizard::cmbIngredients_Click(int index)
{
    if (index < 0)
        return;
    cmdAdd->setEnabled(true);
    cmdRemove->setEnabled(false);
}

void frmSearchWizard::cmbIngredients_Enter()
{
    if (!cmbIngredients->currentText().trimmed().isEmpty())
        cmdAdd_Click();
    else
        cmdFinish_Click();
}

void frmSearchWizard::cmdAdd_Click()
{
    const QString text = cmbIngredients->currentText();
    if (text.trimmed().isEmpty())
        return;
    if (lstIngredients->count() >= kMaxIngredients) {
        MsgBox(kTooManyIngredients, msgbox::vbExclamation);
        return;
    }
    lstIngredients->addItem(text);
    int index = cmbIngredients->currentIndex();
    if (index < 0 || cmbIngredients->itemText(index) != text)
        index = cmbIngredients->findText(text); // typed out in full rather than picked
    if (index >= 0)
        cmbIngredients->removeItem(index);
    cmbIngredients->setCurrentIndex(-1);
    cmbIngredients->clearEditText();
    cmdAdd->setEnabled(false);
}

void frmSearchWizard::lstIngredients_Click()
{
    if (lstIngredients->selectedItems().isEmpty())
        return;
    cmdAdd->setEnabled(false);
    cmdRemove->setEnabled(true);
}

void frmSearchWizard::cmdRemove_Click()
{
    const QList<QListWidgetItem *> selected = lstIngredients->selectedItems();
    if (selected.isEmpty())
        return;
    const QString name = selected.first()->text();
    // Back into its alphabetical place, where the type-ahead looks for it.
    int at = 0;
    while (at < cmbIngredients->count() && cmbIngredients->itemText(at).compare(name, Qt::CaseInsensitive) <= 0)
        ++at;
    const QString typed = cmbIngredients->currentText();
    cmbIngredients->insertItem(at, name);
    if (cmbIngredients->currentText() != typed) { // an empty drop-down selects its first new item
        cmbIngredients->setCurrentIndex(-1);
        cmbIngredients->setEditText(typed);
    }
    delete lstIngredients->takeItem(lstIngredients->row(selected.first()));
    lstIngredients->setCurrentRow(-1);
    cmdRemove->setEnabled(false);
}
