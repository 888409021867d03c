#include "app/help_window.h"

#include "common/CCommonRoutines.h"
#include "common/common_dialog.h"
#include "common/message_box.h"
#include "common/program_objects.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kKeywordRole = Qt::UserRole + 1;
constexpr auto kPatternOptions = QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption;

QString plainText(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

QHash<QString, QString> attributes(const QString &tagInside)
{
    static const QRegularExpression attribute(QStringLiteral(R"re(([A-Za-z_:][-A-Za-z0-9_:.]*)\s*=\s*(?:"([^"]*)"|'([^']*)'))re"));
    QHash<QString, QString> found;
    for (const QRegularExpressionMatch &m : attribute.globalMatch(tagInside))
        found.insert(m.captured(1).toLower(), m.hasCaptured(2) ? m.captured(2) : m.captured(3));
    return found;
}

QString sectionOf(const QString &html, const QString &tag)
{
    const QRegularExpression pattern(QStringLiteral("<%1\\b[^>]*>(.*?)</%1\\s*>").arg(tag), kPatternOptions);
    const QRegularExpressionMatch m = pattern.match(html);
    return m.hasMatch() ? m.captured(1) : QString();
}

QPointer<HelpWindow> &theWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}
} // namespace

QList<HelpTopic> parseHelpTopics(const QString &html, QString *intro, QString *styleSheet)
{
    if (styleSheet)
        *styleSheet = sectionOf(html, QStringLiteral("style"));
    QString body = sectionOf(html, QStringLiteral("body"));
    if (body.isEmpty())
        body = html;

    static const QRegularExpression heading(QStringLiteral("<h2\\b([^>]*)>(.*?)</h2\\s*>"), kPatternOptions);
    QList<HelpTopic> topics;
    QList<qsizetype> starts;
    for (const QRegularExpressionMatch &m : heading.globalMatch(body)) {
        const QHash<QString, QString> attrs = attributes(m.captured(1));
        bool isNumber = false;
        const int context = attrs.value(QStringLiteral("data-context")).trimmed().toInt(&isNumber);
        // A heading without a context number is part of the topic above it.
        if (!isNumber)
            continue;
        HelpTopic topic;
        topic.context = context;
        topic.anchor = attrs.value(QStringLiteral("id"), QStringLiteral("topic-%1").arg(context));
        topic.title = plainText(m.captured(2));
        for (const QString &keyword : plainText(attrs.value(QStringLiteral("data-keywords"))).split(QLatin1Char(','))) {
            const QString trimmed = keyword.trimmed();
            if (!trimmed.isEmpty() && !topic.keywords.contains(trimmed, Qt::CaseInsensitive))
                topic.keywords << trimmed;
        }
        if (!topic.title.isEmpty() && !topic.keywords.contains(topic.title, Qt::CaseInsensitive))
            topic.keywords << topic.title;
        topics << topic;
        starts << m.capturedStart();
    }
    for (qsizetype i = 0; i < topics.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1] : body.size();
        topics[i].html = body.mid(starts[i], end - starts[i]);
    }
    if (intro)
        *intro = body.left(starts.isEmpty() ? body.size() : starts.first());
    return topics;
}

HelpWindow::HelpWindow(QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(kAppTitle + QStringLiteral(" Help"));
    buildControls();
    resize(860, 580);
}

void HelpWindow::buildControls()
{
    lstContents = new QListWidget(this);
    lstContents->setUniformItemSizes(true);
    connect(lstContents, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            showTopic(item->data(Qt::UserRole).toInt());
    });

    txtKeyword = new QLineEdit(this);
    txtKeyword->setPlaceholderText(QStringLiteral("Type a word to find"));
    txtKeyword->setClearButtonEnabled(true);
    lstIndex = new QListWidget(this);
    // Long entries are cut short with "..." and show in full as a tool tip.
    lstIndex->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstIndex->setTextElideMode(Qt::ElideRight);
    connect(txtKeyword, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(txtKeyword, &QLineEdit::returnPressed, this, [this] { openIndexEntry(lstIndex->currentItem()); });
    connect(lstIndex, &QListWidget::itemActivated, this, &HelpWindow::openIndexEntry);
    connect(lstIndex, &QListWidget::itemClicked, this, &HelpWindow::openIndexEntry);

    auto *indexPage = new QWidget(this);
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 6, 4, 4);
    indexLayout->addWidget(txtKeyword);
    indexLayout->addWidget(lstIndex, 1);

    tabNavigation = new QTabWidget(this);
    tabNavigation->addTab(lstContents, QStringLiteral("Contents"));
    tabNavigation->addTab(indexPage, QStringLiteral("Index"));

    txtTopic = new QTextBrowser(this);
    txtTopic->setOpenLinks(false);
    txtTopic->document()->setDocumentMargin(14);
    connect(txtTopic, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(tabNavigation);
    splitter->addWidget(txtTopic);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 580});
    splitter->setChildrenCollapsible(false);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);
}

bool HelpWindow::loadHelpFile(const QString &path)
{
    if (m_loaded && path == m_path)
        return true;
    m_path = path;
    m_loaded = false;
    m_topics.clear();
    m_intro.clear();

    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        fillLists();
        showMessage(QStringLiteral("<h2>Help is not available</h2><p>The help file could not be opened:</p>"
                                   "<p><b>%1</b></p><p>The help file <b>zestro_help.html</b> comes with the "
                                   "program. Installing Zestro again puts it back.</p>")
                        .arg(path.isEmpty() ? QStringLiteral("(no file name)") : path.toHtmlEscaped()));
        return false;
    }
    QString styleSheet;
    m_topics = parseHelpTopics(QString::fromUtf8(file.readAll()), &m_intro, &styleSheet);
    txtTopic->document()->setDefaultStyleSheet(styleSheet);
    m_loaded = true;
    fillLists();
    return true;
}

void HelpWindow::fillLists()
{
    const QSignalBlocker blockContents(lstContents);
    lstContents->clear();
    const QIcon page = style()->standardIcon(QStyle::SP_FileIcon);
    QHash<QString, int> uses;
    for (const HelpTopic &topic : std::as_const(m_topics)) {
        auto *item = new QListWidgetItem(page, topic.title, lstContents);
        item->setData(Qt::UserRole, topic.context);
        item->setToolTip(topic.title);
        for (const QString &keyword : topic.keywords)
            ++uses[keyword.toLower()];
    }

    struct Entry {
        QString text;
        QString keyword;
        int context;
    };
    QList<Entry> entries;
    for (const HelpTopic &topic : std::as_const(m_topics)) {
        for (const QString &keyword : topic.keywords) {
            // A word that leads to several topics says which one each entry opens.
            const QString text = uses.value(keyword.toLower()) > 1
                ? QStringLiteral("%1 (%2)").arg(keyword, topic.title) : keyword;
            entries.append({text, keyword, topic.context});
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    });
    lstIndex->clear();
    for (const Entry &entry : std::as_const(entries)) {
        auto *item = new QListWidgetItem(entry.text, lstIndex);
        item->setData(Qt::UserRole, entry.context);
        item->setData(kKeywordRole, entry.keyword);
        item->setToolTip(entry.text);
    }
    filterIndex(txtKeyword->text());
}

void HelpWindow::showFinder()
{
    tabNavigation->setCurrentWidget(lstContents);
    if (!m_intro.trimmed().isEmpty() || m_topics.isEmpty()) {
        clearContentsChoice();
        showPage(m_intro, 0);
    } else {
        showTopic(m_topics.first().context);
    }
}

bool HelpWindow::showTopic(int context)
{
    for (int i = 0; i < m_topics.size(); ++i) {
        if (m_topics[i].context != context)
            continue;
        const QSignalBlocker block(lstContents);
        lstContents->setCurrentRow(i);
        showPage(m_topics[i].html, context);
        return true;
    }
    showMessage(QStringLiteral("<h2>Topic not found</h2><p>The help file has no topic number %1.</p>").arg(context));
    return false;
}

void HelpWindow::showPage(const QString &html, int context)
{
    txtTopic->setHtml(html);
    txtTopic->verticalScrollBar()->setValue(0);
    m_currentContext = context;
}

void HelpWindow::showMessage(const QString &text)
{
    clearContentsChoice();
    showPage(text, 0);
}

void HelpWindow::clearContentsChoice()
{
    const QSignalBlocker block(lstContents);
    // Through the view, not QListWidget::setCurrentItem: a list that never had its current row set
    // by the view makes its first row current when it gets the focus, and that would replace the
    // page shown with the first topic.
    lstContents->setCurrentIndex(QModelIndex());
}

void HelpWindow::filterIndex(const QString &typed)
{
    const QString wanted = typed.trimmed();
    QListWidgetItem *first = nullptr;
    for (int i = 0; i < lstIndex->count(); ++i) {
        QListWidgetItem *item = lstIndex->item(i);
        // The word itself, not the topic title added to it: a title word would match every entry
        // of that topic.
        const bool shown = item->data(kKeywordRole).toString().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
    }
    lstIndex->setCurrentItem(first);
}

void HelpWindow::openIndexEntry(QListWidgetItem *item)
{
    if (item && !item->isHidden())
        showTopic(item->data(Qt::UserRole).toInt());
}

void HelpWindow::followLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto")) {
        CCommonRoutines localRoutines;
        const CCommonRoutines &routines = program().commonRoutines ? *program().commonRoutines : localRoutines;
        routines.LaunchURL(this, url.toString());
        return;
    }
    // Links between topics name the heading's anchor.
    if (scheme.isEmpty() && url.path().isEmpty()) {
        for (const HelpTopic &topic : std::as_const(m_topics)) {
            if (topic.anchor == url.fragment()) {
                showTopic(topic.context);
                return;
            }
        }
    }
}

void showHelpWindow(QWidget *parent, const QString &helpFile, int command, int context)
{
    QPointer<HelpWindow> &window = theWindow();
    if (!window)
        window = new HelpWindow(parent ? parent->window() : nullptr);
    // A modal dialog blocks every window but its own: the help window becomes the dialog's for
    // now, and closes with it.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != window && !modal->isAncestorOf(window))
        window->setParent(modal, window->windowFlags());
    if (window->loadHelpFile(helpFile)) {
        if (command == CommonDialog::cdlHelpContext)
            window->showTopic(context);
        else
            window->showFinder();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void showDialogHelp(QDialog &dialog, const QString &helpFile)
{
    static const QHash<QString, int> topics = {
        {QStringLiteral("frmMyBar"), 15},
        {QStringLiteral("frmSearchWizard"), 13},
        {QStringLiteral("frmAddEdit"), 17},
        {QStringLiteral("frmIngredientMaintenence"), 18},
        {QStringLiteral("frmIngredientAdd"), 18},
        {QStringLiteral("frmIngredientsCombine"), 18},
        {QStringLiteral("frmPrintTagCurrentSet"), 19},
        {QStringLiteral("frmCopyToClipboard"), 20},
        {QStringLiteral("frmOptions"), 22},
        {QStringLiteral("frmTip"), 22},
        {QStringLiteral("frmBuyNext"), 25},
        {QStringLiteral("frmExportDrinks"), 26},
        {QStringLiteral("frmImportConflict"), 26},
    };
    CommonDialog help;
    help.HelpFile = helpFile;
    help.HelpContext = topics.value(QString::fromLatin1(dialog.metaObject()->className()));
    help.HelpCommand = help.HelpContext ? CommonDialog::cdlHelpContext : CommonDialog::cdlHelpFinder;
    help.ShowHelp(&dialog);
}

HelpWindow *currentHelpWindow()
{
    return theWindow();
}
