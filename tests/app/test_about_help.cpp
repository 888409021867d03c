// The about box (labels, drink count, links) and the help window (topics read from the help file,
// the finder, topic 23, the index filter, links, and a help file that is not there).

#include "app/frmAbout.h"
#include "app/help_window.h"
#include "common/common_dialog.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/temp_settings.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {
QString realHelpFile()
{
    return qEnvironmentVariable("ZESTRO_SOURCE_DIR") + QStringLiteral("/resources/zestro_help.html");
}

QStringList visibleTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        if (!list->item(i)->isHidden())
            texts << list->item(i)->text();
    }
    return texts;
}

// A small help file whose shapes the parser must cope with.
const char *const kSmallHelp = R"(<html><head><style>h2 { color: red; }</style></head><body>
<h1>Start here</h1><p>Welcome text.</p>
<h2 data-keywords="ice, glasses" id="topic-5" data-context="5">Ice &amp; glasses</h2><p>Chill first.</p>
<h2>Aside without a number</h2><p>Still about ice.</p>
<h2 id='sub' data-context='23' data-keywords='submit,  ice ,submit'>Submitting drinks</h2>
<p>Mail <a href="mailto:dravo@zestro.example.org">us</a>, or read <a href="#topic-5">about ice</a>.</p>
</body></html>)";
} // namespace

class TestAboutHelp : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aboutLabels();
    void aboutDrinkCount();
    void aboutIcon();
    void aboutLinks_data();
    void aboutLinks();

    void parsesTopics();
    void realHelpFileIsComplete();
    void helpCommands();
    void contentsAndLinksMoveBetweenTopics();
    void indexFiltersKeywords();
    void missingHelpFile_data();
    void missingHelpFile();

private:
    QList<QUrl> m_opened;
};

void TestAboutHelp::init()
{
    m_opened.clear();
    setUrlOpener([this](const QUrl &url) { m_opened << url; });
}

void TestAboutHelp::cleanup()
{
    setUrlOpener({});
    program().database = nullptr;
    delete currentHelpWindow();
}

void TestAboutHelp::aboutLabels()
{
    frmAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Zestro"));
    QCOMPARE(about.lblVersion->text(), QStringLiteral("Version 3.1.109"));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, Qt::Key_Return);
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void TestAboutHelp::aboutDrinkCount()
{
    TempSettings settings;
    // Start-up may have found no library: the box still opens.
    QCOMPARE(frmAbout().lblDrinks->text(), QStringLiteral("No database open"));
    CDatabase db;
    program().database = &db;
    QCOMPARE(frmAbout().lblDrinks->text(), QStringLiteral("No database open"));

    QTemporaryDir dir;
    db.setFileName(fixture::starterLibrary(dir.path()));
    db.DbOpen();
    const int drinks = int(fixture::starterContents().drinks.size());
    QCOMPARE(frmAbout().lblDrinks->text(), QStringLiteral("%1 drinks").arg(drinks));
    db.database().Execute(QStringLiteral("DELETE FROM DrinkRel WHERE DrinkID = 1"), 128);
    db.database().Execute(QStringLiteral("DELETE FROM Drinks WHERE ID = 1"), 128);
    QCOMPARE(frmAbout().lblDrinks->text(), QStringLiteral("%1 drinks").arg(drinks - 1));
}

void TestAboutHelp::aboutIcon()
{
    const QIcon before = QApplication::windowIcon();
    QApplication::setWindowIcon(QIcon());
    QVERIFY(!frmAbout().picIcon->pixmap().isNull()); // a drawn glass stands in
    QPixmap red(32, 32);
    red.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(red));
    const QImage shown = frmAbout().picIcon->pixmap().toImage();
    QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::red));
    QApplication::setWindowIcon(before);
}

void TestAboutHelp::aboutLinks_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<QUrl>>("opened");
    QTest::newRow("mail") << 0 << QList<QUrl>{QUrl(QStringLiteral("mailto:dravo@zestro.example.org"))};
    QTest::newRow("web page") << 1 << QList<QUrl>{QUrl(QStringLiteral("https://zestro.example.org/"))};
    QTest::newRow("no such label") << 2 << QList<QUrl>{};
}

void TestAboutHelp::aboutLinks()
{
    QFETCH(int, index);
    QFETCH(QList<QUrl>, opened);
    frmAbout about;
    about.lblWeb_Click(index);
    QCOMPARE(m_opened, opened);
    if (index > 1)
        return;
    // A left click on the label does the same; a right click does nothing.
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.lblWeb[index], Qt::RightButton);
    QTest::mouseClick(about.lblWeb[index], Qt::LeftButton);
    QCOMPARE(m_opened, opened + opened);
    QVERIFY(about.isVisible());
}

void TestAboutHelp::parsesTopics()
{
    QString intro;
    QString style;
    const QList<HelpTopic> topics = parseHelpTopics(QString::fromUtf8(kSmallHelp), &intro, &style);
    QCOMPARE(topics.size(), 2);
    QCOMPARE(topics[0].context, 5);
    QCOMPARE(topics[0].title, QStringLiteral("Ice & glasses"));
    QCOMPARE(topics[0].anchor, QStringLiteral("topic-5"));
    QCOMPARE(topics[0].keywords, (QStringList{"ice", "glasses", "Ice & glasses"}));
    // A heading without a number belongs to the topic above it.
    QVERIFY(topics[0].html.contains(QStringLiteral("Still about ice.")));
    QVERIFY(!topics[0].html.contains(QStringLiteral("Submitting")));
    QCOMPARE(topics[1].context, 23);
    QCOMPARE(topics[1].anchor, QStringLiteral("sub"));
    QCOMPARE(topics[1].keywords, (QStringList{"submit", "ice", "Submitting drinks"}));
    QVERIFY(intro.contains(QStringLiteral("Welcome text.")));
    QVERIFY(!intro.contains(QStringLiteral("Chill first.")));
    QCOMPARE(style.trimmed(), QStringLiteral("h2 { color: red; }"));
    QVERIFY(parseHelpTopics(QStringLiteral("<p>No topics here</p>")).isEmpty());
}

void TestAboutHelp::realHelpFileIsComplete()
{
    QFile file(realHelpFile());
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(realHelpFile()));
    const QString html = QString::fromUtf8(file.readAll());
    const QList<HelpTopic> topics = parseHelpTopics(html);
    QVERIFY(topics.size() >= 10);

    QSet<int> contexts;
    QSet<QString> anchors;
    for (const HelpTopic &topic : topics) {
        QVERIFY2(!contexts.contains(topic.context), qPrintable(topic.title));
        contexts << topic.context;
        anchors << topic.anchor;
        QVERIFY2(topic.keywords.size() > 1, qPrintable(topic.title));
    }
    const auto submitting = std::find_if(topics.begin(), topics.end(), [](const HelpTopic &t) { return t.context == 23; });
    QVERIFY(submitting != topics.end());
    QCOMPARE(submitting->title, QStringLiteral("Submitting drinks"));
    QVERIFY(submitting->html.contains(QStringLiteral("dravo@zestro.example.org")));

    // Every link between topics leads somewhere.
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (const QRegularExpressionMatch &m : link.globalMatch(html))
        QVERIFY2(anchors.contains(m.captured(1)), qPrintable(m.captured(1)));
}

void TestAboutHelp::helpCommands()
{
    showHelpWindow(nullptr, realHelpFile(), CommonDialog::cdlHelpContext, 23);
    HelpWindow *help = currentHelpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->currentContext(), 23);
    QVERIFY(help->txtTopic->toPlainText().startsWith(QStringLiteral("Submitting drinks")));
    QCOMPARE(help->lstContents->currentItem()->text(), QStringLiteral("Submitting drinks"));

    // The finder, in the same window: every topic in file order, and the welcome page.
    showHelpWindow(nullptr, realHelpFile(), CommonDialog::cdlHelpFinder, 0);
    QCOMPARE(currentHelpWindow(), help);
    QCOMPARE(help->tabNavigation->currentWidget(), help->lstContents);
    QCOMPARE(help->lstContents->count(), help->topics().size());
    for (int i = 0; i < help->topics().size(); ++i)
        QCOMPARE(help->lstContents->item(i)->text(), help->topics()[i].title);
    // Still the welcome page once the window has the keyboard focus.
    QVERIFY(QTest::qWaitForWindowActive(help));
    QCOMPARE(help->currentContext(), 0);
    QVERIFY(help->txtTopic->toPlainText().startsWith(QStringLiteral("Welcome to Zestro")));
    QVERIFY(!help->lstContents->currentItem());

    showHelpWindow(nullptr, realHelpFile(), CommonDialog::cdlHelpContext, 999);
    QCOMPARE(help->currentContext(), 0);
    QVERIFY(help->txtTopic->toPlainText().contains(QStringLiteral("no topic number 999")));
}

void TestAboutHelp::contentsAndLinksMoveBetweenTopics()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("help.html")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kSmallHelp);
    file.close();

    showHelpWindow(nullptr, file.fileName(), CommonDialog::cdlHelpFinder, 0);
    HelpWindow *help = currentHelpWindow();
    help->lstContents->setCurrentRow(1);
    QCOMPARE(help->currentContext(), 23);
    emit help->txtTopic->anchorClicked(QUrl(QStringLiteral("#topic-5")));
    QCOMPARE(help->currentContext(), 5);
    QCOMPARE(help->lstContents->currentRow(), 0);
    QVERIFY(m_opened.isEmpty());
    emit help->txtTopic->anchorClicked(QUrl(QStringLiteral("mailto:dravo@zestro.example.org")));
    QCOMPARE(m_opened, (QList<QUrl>{QUrl(QStringLiteral("mailto:dravo@zestro.example.org"))}));
    QCOMPARE(help->currentContext(), 5);
}

void TestAboutHelp::indexFiltersKeywords()
{
    showHelpWindow(nullptr, realHelpFile(), CommonDialog::cdlHelpFinder, 0);
    HelpWindow *help = currentHelpWindow();
    const QStringList all = visibleTexts(help->lstIndex);
    QVERIFY(all.contains(QStringLiteral("slack")));
    QStringList alphabetical = all;
    std::sort(alphabetical.begin(), alphabetical.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QCOMPARE(all, alphabetical);

    QTest::keyClicks(help->txtKeyword, QStringLiteral("BAR L"));
    const QStringList found = visibleTexts(help->lstIndex);
    QVERIFY(!found.isEmpty());
    QVERIFY(found.size() < all.size());
    for (const QString &text : found)
        QVERIFY2(text.contains(QStringLiteral("bar l"), Qt::CaseInsensitive), qPrintable(text));
    QTest::keyClick(help->txtKeyword, Qt::Key_Return);
    QCOMPARE(help->currentContext(), 15);

    // A word of a topic's title added to an entry does not make the entry a match.
    help->txtKeyword->setText(QStringLiteral("shortcuts"));
    for (const QString &text : visibleTexts(help->lstIndex))
        QVERIFY2(text.section(QStringLiteral(" ("), 0, 0).contains(QStringLiteral("shortcuts")), qPrintable(text));

    help->txtKeyword->setText(QStringLiteral("no such word"));
    QVERIFY(visibleTexts(help->lstIndex).isEmpty());
    QTest::keyClick(help->txtKeyword, Qt::Key_Return);
    QCOMPARE(help->currentContext(), 15);

    help->txtKeyword->clear();
    QCOMPARE(visibleTexts(help->lstIndex), all);
}

void TestAboutHelp::missingHelpFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("not there") << "/nonexistent/zestro_help.html";
    QTest::newRow("markup in the name") << "/nonexistent/<b>help</b>.html";
    QTest::newRow("no name") << "";
}

void TestAboutHelp::missingHelpFile()
{
    QFETCH(QString, path);
    showHelpWindow(nullptr, path, CommonDialog::cdlHelpContext, 23);
    HelpWindow *help = currentHelpWindow();
    QVERIFY(help->isVisible());
    QCOMPARE(help->lstContents->count(), 0);
    QCOMPARE(help->lstIndex->count(), 0);
    const QString text = help->txtTopic->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("could not be opened")), qPrintable(text));
    if (!path.isEmpty())
        QVERIFY2(text.contains(path), qPrintable(text));

    // Once the file is there, the next help command reads it.
    showHelpWindow(nullptr, realHelpFile(), CommonDialog::cdlHelpContext, 23);
    QCOMPARE(help->currentContext(), 23);
}

QTEST_MAIN(TestAboutHelp)
#include "test_about_help.moc"
