// The main window's controls, menu tree, toolbar and window events. The menu handlers are in
// frmMain_commands.cpp, the commands' states in frmMain_command_state.cpp.

#include "app/frmMain.h"

#include "app/detail_pane.h"
#include "app/main_commands.h"
#include "app/quick_search_box.h"
#include "common/CCommonRoutines.h"
#include "common/command_guard.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QLabel *paneLabel(QWidget *parent, const char *name, int tag)
{
    auto *label = new QLabel(QString::number(tag), parent);
    label->setObjectName(QLatin1String(name));
    label->setProperty("tag", tag);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

// A pane of the detail side: its caption label above its control.
QWidget *captioned(QLabel *label, QWidget *control)
{
    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(label);
    layout->addWidget(control, 1);
    label->setBuddy(control);
    return pane;
}

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kAppTitle);
    // Every drawn size, so the desktop scales none of them (task bar, switcher, title bar).
    QIcon icon(QStringLiteral(":/icons/zestro.png"));
    for (int size : {16, 32, 64, 128})
        icon.addFile(QStringLiteral(":/icons/zestro-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    m_commands = new MainCommands(this);
    connectCommands();
    buildControls();
    buildMenus();
    buildToolbar();
    updateCommandStates();
    // Numbered captions of the design become the string table's texts.
    CCommonRoutines().LoadResStrings(this);
    // The first size grows with a large application font, within the screen.
    const int em = fontMetrics().height();
    QSize first(std::max(980, em * 57), std::max(660, em * 39));
    if (screen())
        first = first.boundedTo(screen()->availableSize() * 9 / 10).expandedTo(QSize(980, 660));
    resize(first);
    setMinimumSize(640, 420);
}

frmMain::~frmMain()
{
    if (program().mainForm == this)
        program().mainForm = nullptr;
}

void frmMain::buildControls()
{
    auto *left = new QWidget;
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(6, 6, 0, 6);
    leftLayout->setSpacing(4);
    lblCurrentSet = new QLabel(left);
    lblCurrentSet->setObjectName(QStringLiteral("lblCurrentSet"));
    lvDrinks = new DrinkListView(left);
    leftLayout->addWidget(lblCurrentSet);
    leftLayout->addWidget(lvDrinks, 1);

    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 6, 6, 6);
    rightLayout->setSpacing(4);
    pnlDrinkName = new QLabel(right);
    pnlDrinkName->setObjectName(QStringLiteral("pnlDrinkName"));
    makeHeading(pnlDrinkName, 1.5);
    lblDrinkMarks = new QLabel(right);
    lblDrinkMarks->setObjectName(QStringLiteral("lblDrinkMarks"));
    lblDrinkMarks->setMinimumHeight(lblDrinkMarks->fontMetrics().height()); // the panes stay put as marks come and go

    lblIngredients = paneLabel(right, "lblIngredients", 101);
    lvIngredients = new QTreeWidget(right);
    lvIngredients->setObjectName(QStringLiteral("lvIngredients"));
    setUpIngredientList(lvIngredients);
    lblDirections = paneLabel(right, "lblDirections", 102);
    txtDirections = readOnlyTextPane(right, "txtDirections");
    lblComments = paneLabel(right, "lblComments", 103);
    txtComments = readOnlyTextPane(right, "txtComments");

    auto *panes = new QSplitter(Qt::Vertical, right);
    panes->setObjectName(QStringLiteral("splDetail"));
    panes->setChildrenCollapsible(false);
    lblMissing = new QLabel(right);
    lblMissing->setObjectName(QStringLiteral("lblMissing"));
    lblMissing->setWordWrap(true);
    lblMissing->setTextFormat(Qt::PlainText); // names the user typed
    lblMissing->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMissing->hide();
    QWidget *ingredientsPane = captioned(lblIngredients, lvIngredients);
    ingredientsPane->layout()->addWidget(lblMissing);
    panes->addWidget(ingredientsPane);
    panes->addWidget(captioned(lblDirections, txtDirections));
    panes->addWidget(captioned(lblComments, txtComments));
    panes->setStretchFactor(0, 0);
    panes->setStretchFactor(1, 0);
    panes->setStretchFactor(2, 1);
    m_detailSizer = new DetailPaneSizer(panes, lvIngredients, txtDirections, txtComments);
    rightLayout->addWidget(pnlDrinkName);
    rightLayout->addWidget(lblDrinkMarks);
    rightLayout->addWidget(panes, 1);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splMain"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(left);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(0, 2);
    m_splitter->setStretchFactor(1, 5);
    // The list as wide as its caption needs in the application font, which may be a large one.
    const int listWidth =
        std::max(280, fontMetrics().horizontalAdvance(QStringLiteral("Current Set Contains 00000 Drinks")) + 30);
    m_splitter->setSizes({listWidth, 980 - listWidth});
    // Double clicks on labels, margins and the splitter handle are not taken by them and reach the
    // window itself: the background.
    setCentralWidget(m_splitter);

    connect(lvDrinks, &QTreeView::clicked, this, [this](const QModelIndex &index) { lvDrinks_ItemClick(index.row()); });
    connect(lvDrinks, &QTreeView::doubleClicked, this, guarded(&frmMain::lvDrinks_DblClick, this));
    connect(lvDrinks, &DrinkListView::editRequested, this, guarded(&frmMain::lvDrinks_DblClick, this));
    connect(lvDrinks, &DrinkListView::menuRequested, this, &frmMain::lvDrinks_MenuKey);
    connect(lvDrinks, &DrinkListView::drinkChosen, this, guarded(&frmMain::lvDrinks_SelectionChanged, this));
    connect(lvDrinks, &DrinkListView::released, this,
            [this](Qt::MouseButton button, const QPoint &at, bool choseAnother) { lvDrinks_MouseUp(button, at, choseAnother); });
    statusBar()->setSizeGripEnabled(true);
    // The messages live in a label rather than as the bar's own message: a menu's status tips
    // replace that message and it is lost, while a label only hides under the tip and comes back.
    lblStatusText = new QLabel(this);
    lblStatusText->setObjectName(QStringLiteral("lblStatusText"));
    lblStatusText->setTextFormat(Qt::PlainText); // the texts may quote names the user typed
    lblStatusText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // a long path must not widen the window
    statusBar()->addWidget(lblStatusText, 1);
    lblReadOnly = new QLabel(QStringLiteral("Read-only library"), this);
    lblReadOnly->setObjectName(QStringLiteral("lblReadOnly"));
    lblReadOnly->setVisible(false);
    statusBar()->addPermanentWidget(lblReadOnly);
}

QAction *frmMain::addItem(QMenu *menu, const QString &name, int index, const QString &caption)
{
    QAction *action = caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
    action->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(index));
    m_menus[name][index] = action;
    // The item runs its command; the pop-up shows no keys, the menu bar holds them.
    if (const std::optional<Cmd> command = MainCommands::ofMenuItem(name, index))
        m_commands->bind(action, *command, menu != m_popup);
    return action;
}

void frmMain::buildMenus()
{
    struct Item {
        int index;
        const char *caption;
    };
    auto menuOf = [this](QMenu *menu, const QString &name, std::initializer_list<Item> items) {
        for (const Item &i : items)
            addItem(menu, name, i.index, QString::fromUtf8(i.caption));
    };
    auto top = [this](int index, const char *caption) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(caption));
        QAction *a = menu->menuAction();
        a->setObjectName(QStringLiteral("mnuMenu(%1)").arg(index));
        m_menus[QStringLiteral("mnuMenu")][index] = a;
        return menu;
    };

    QMenu *file = top(0, "160");
    menuOf(file, QStringLiteral("mnuFile"),
           {{1, "161"}, {27, "-"}, {30, "163"}, {40, "164"}, {45, "-"},
            {50, "&Back Up Library..."}, {55, "&Restore from Backup..."}, {98, "-"}, {99, "165"}, {100, "-"},
            {110, "&Import Drinks..."}, {120, "&Export Drinks..."}});

    QMenu *edit = top(3, "166");
    menuOf(edit, QStringLiteral("mnuEdit"), {{5, "&Add..."}, {10, "167"}, {30, "168"}, {40, "-"}, {50, "169"}});
    QMenu *currentSet = edit->addMenu(QStringLiteral("Current &Set"));
    currentSet->menuAction()->setObjectName(QStringLiteral("mnuEdit(70)"));
    m_menus[QStringLiteral("mnuEdit")][70] = currentSet->menuAction();
    menuOf(currentSet, QStringLiteral("mnuCurrentSet"),
           {{10, "Mark as &tried"}, {20, "Mark to &print"}, {30, "-"}, {40, "&Un-mark as tried"},
            {50, "U&n-mark to print"}, {60, "-"}, {70, "&Delete"}});
    menuOf(edit, QStringLiteral("mnuEdit"), {{85, "-"}, {90, "&Undo"}, {95, "&Redo"}});

    QMenu *view = top(5, "&View");
    menuOf(view, QStringLiteral("mnuView"),
           {{10, "&All Drinks"}, {15, "&Random Drink"}, {17, "-"}, {20, "&Previous"}, {23, "&Next"},
            {84, "-"}, {85, "&Tip of the Day..."}, {98, "-"}, {99, "&Options..."}});

    QMenu *search = top(10, "&Search");
    QMenu *recent = search->addMenu(QStringLiteral("&Recent Searches"));
    recent->menuAction()->setObjectName(QStringLiteral("mnuSearch(5)"));
    m_menus[QStringLiteral("mnuSearch")][5] = recent->menuAction();
    menuOf(recent, QStringLiteral("mnuSearchResults"), {{0, "(empty)"}, {1, "(empty)"}, {2, "(empty)"}});
    menuItem(QStringLiteral("mnuSearchResults"), 1)->setVisible(false);
    menuItem(QStringLiteral("mnuSearchResults"), 2)->setVisible(false);
    setRecentSearches({}); // the entries' access keys
    menuOf(search, QStringLiteral("mnuSearch"),
           {{10, "Search &Wizard..."}, {20, "-"}, {30, "Drink &Name..."}, {40, "&Ingredients..."},
            {50, "&Directions..."}, {60, "&Comments..."}, {65, "-"}, {70, "Drinks I Can &Make..."}, {90, "-"},
            {100, "&Tried"}, {110, "N&ot Tried"}, {120, "&User-Submitted"}, {130, "To be &printed"}});

    QMenu *tools = top(20, "&Tools");
    menuOf(tools, QStringLiteral("mnuTools"), {{10, "&Compact database"}});
    QMenu *barList = tools->addMenu(QStringLiteral("&Bar List"));
    barList->menuAction()->setObjectName(QStringLiteral("mnuTools(20)"));
    m_menus[QStringLiteral("mnuTools")][20] = barList->menuAction();
    menuOf(barList, QStringLiteral("mnuBarlist"),
           {{10, "&My Bar..."}, {20, "-"}, {30, "&Import..."}, {40, "&Export..."}, {45, "-"}, {50, "What to &Buy Next..."}});
    menuOf(tools, QStringLiteral("mnuTools"), {{30, "&Edit Ingredients..."}, {499, "-"}, {500, "Database &Utilities..."}});

    QMenu *help = top(90, "&Help");
    menuOf(help, QStringLiteral("mnuHelp"),
           {{10, "Help Topics"}, {30, "&Submitting Drinks..."}, {95, "-"}, {99, "&About Zestro..."}});
    menuItem(QStringLiteral("mnuHelp"), 10)->setText(kAppTitle + QStringLiteral(" &Help Topics"));

    // The drink list's pop-up: a menu of its own, never on the menu bar.
    m_popup = new QMenu(QStringLiteral("DrinkListPopup"), this);
    m_popup->menuAction()->setObjectName(QStringLiteral("mnuMenu(250)"));
    m_menus[QStringLiteral("mnuMenu")][250] = m_popup->menuAction();
    menuOf(m_popup, QStringLiteral("mnuDrinkListPopup"), {{10, "&Edit..."}, {20, "&Delete"}});
}

void frmMain::buildToolbar()
{
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    const int iconSize = std::max(24, fontMetrics().height() * 7 / 5); // in step with a large font
    Toolbar1->setIconSize(QSize(iconSize, iconSize));
    // The style's picture for a button whose command has no icon of the theme or ours.
    static const QStyle::StandardPixmap fallbacks[15] = {
        QStyle::SP_ArrowBack, QStyle::SP_ArrowForward, QStyle::SP_CustomBase, QStyle::SP_FileDialogDetailedView,
        QStyle::SP_CustomBase, QStyle::SP_FileDialogNewFolder, QStyle::SP_FileDialogContentsView, QStyle::SP_TrashIcon,
        QStyle::SP_CustomBase, QStyle::SP_DialogApplyButton, QStyle::SP_FileDialogListView, QStyle::SP_CustomBase,
        QStyle::SP_FileDialogContentsView, QStyle::SP_CustomBase, QStyle::SP_DialogSaveButton,
    };
    for (int i = 0; i < 15; ++i) {
        const std::optional<Cmd> command = MainCommands::ofToolbarButton(i + 1);
        QAction *action = nullptr;
        if (!command) {
            action = Toolbar1->addSeparator();
            action->setObjectName(QStringLiteral("Toolbar1(%1)").arg(i + 1));
        } else {
            // The button is the command's own action: its state is the command's.
            action = m_commands->action(*command);
            if (action->icon().pixmap(Toolbar1->iconSize()).isNull())
                action->setIcon(style()->standardIcon(fallbacks[i]));
            action->setToolTip(action->text());
            Toolbar1->addAction(action);
            // The design's buttons are raised; start-up makes the bar flat.
            if (auto *button = qobject_cast<QToolButton *>(Toolbar1->widgetForAction(action)))
                button->setAutoRaise(false);
        }
        m_toolbarButtons.append(action);
    }

    auto *spacer = new QWidget(Toolbar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    Toolbar1->addWidget(spacer);
    txtQuickSearch = new QuickSearchBox(Toolbar1);
    txtQuickSearch->setObjectName(QStringLiteral("txtQuickSearch"));
    Toolbar1->addWidget(txtQuickSearch);
    connect(txtQuickSearch, &QLineEdit::textEdited, this, guarded(&frmMain::txtQuickSearch_Change, this));
    connect(txtQuickSearch, &QLineEdit::returnPressed, this, guarded(&frmMain::txtQuickSearch_KeyEnter, this));
    connect(txtQuickSearch, &QuickSearchBox::cleared, this, guarded(&frmMain::txtQuickSearch_Escape, this));
    auto *find = new QAction(QStringLiteral("Search Drink Names"), this);
    find->setObjectName(QStringLiteral("actQuickSearch"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, &frmMain::focusQuickSearch);
    addAction(find);
}

QAction *frmMain::toolbarButton(int position) const
{
    return position >= 1 && position <= m_toolbarButtons.size() ? m_toolbarButtons[position - 1] : nullptr;
}

QAction *frmMain::command(const QString &name) const
{
    return m_commands->action(name);
}

QAction *frmMain::menuItem(const QString &menu, int index) const
{
    return m_menus.value(menu).value(index, nullptr);
}

QString frmMain::statusText() const
{
    return lblStatusText->text();
}

// ---- Window events ---------------------------------------------------------------------------------

void frmMain::Form_DblClick()
{
    lvDrinks->toggleSorting();
}

void frmMain::lvDrinks_ItemClick(int row)
{
    if (row != lvDrinks->selectedRow())
        lvDrinks->selectRow(row);
}

void frmMain::lvDrinks_SelectionChanged()
{
    const QString name = lvDrinks->selectedDrink();
    if (!name.isEmpty() && program().database && program().database->isOpen())
        program().database->ShowDrinkInfo(name);
}

void frmMain::lvDrinks_MouseUp(Qt::MouseButton button, const QPoint &globalPos, bool alreadyShown)
{
    const QString selected = lvDrinks->selectedDrink();
    if (selected.isEmpty() || !program().database)
        return;
    if (!alreadyShown)
        RunCommand([&] { program().database->ShowDrinkInfo(selected); });
    if (button == Qt::RightButton)
        m_popup->popup(globalPos);
}

void frmMain::lvDrinks_DblClick()
{
    mnuEdit_Click(10);
}

void frmMain::lvDrinks_MenuKey(const QPoint &globalPos)
{
    if (!lvDrinks->selectedDrink().isEmpty() && !m_popup->isVisible())
        m_popup->popup(globalPos);
}

void frmMain::mouseDoubleClickEvent(QMouseEvent *event)
{
    Form_DblClick();
    event->accept();
}
