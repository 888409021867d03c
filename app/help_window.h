#pragma once
// The program's help viewer: the HTML help file beside the program, shown one topic at a time,
// with a contents list and a keyword index. One window, reused by every help command.
//
// A topic starts at a heading of the form
//   <h2 id="topic-23" data-context="23" data-keywords="submit, sharing">Submitting drinks</h2>
// and runs to the next <h2> or the end of the body. Text before the first topic is the welcome page.

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QUrl;

struct HelpTopic {
    int context = 0;
    QString anchor;
    QString title;
    QStringList keywords;
    QString html; // the topic's part of the file, heading included
};

// Splits a help file into its topics. The welcome text before the first topic goes to *intro.
QList<HelpTopic> parseHelpTopics(const QString &html, QString *intro = nullptr, QString *styleSheet = nullptr);

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // ---- Controls ----
    QTabWidget *tabNavigation = nullptr;
    QListWidget *lstContents = nullptr;
    QLineEdit *txtKeyword = nullptr;
    QListWidget *lstIndex = nullptr;
    QTextBrowser *txtTopic = nullptr;

    // Reads the file unless it is the one already shown; false (and a message in the window)
    // when it cannot be read.
    bool loadHelpFile(const QString &path);
    // The contents and the index, with the welcome page.
    void showFinder();
    // The topic with that context number; false (and a message) when the file has none.
    bool showTopic(int context);

    const QList<HelpTopic> &topics() const { return m_topics; }
    // The context number of the topic shown, or 0 for the welcome page or a message.
    int currentContext() const { return m_currentContext; }

private:
    void buildControls();
    void fillLists();
    void showPage(const QString &html, int context);
    void showMessage(const QString &text);
    void clearContentsChoice();
    void filterIndex(const QString &typed);
    void openIndexEntry(QListWidgetItem *item);
    void followLink(const QUrl &url);

    QString m_path;
    bool m_loaded = false;
    QString m_intro;
    QList<HelpTopic> m_topics;
    int m_currentContext = 0;
};

// The help handler the main program installs (common_dialog.h): command 11 opens the finder,
// command 1 the topic numbered `context`.
void showHelpWindow(QWidget *parent, const QString &helpFile, int command, int context);
// F1 in a dialog: the help topic about that dialog, or the contents for one without a topic.
void showDialogHelp(QDialog &dialog, const QString &helpFile);
// The window that showHelpWindow made, or null before the first help command.
HelpWindow *currentHelpWindow();
