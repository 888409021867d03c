// Captions from the string table, the flat toolbar and the type-ahead of editable drop-down lists.

#include "common/CCommonRoutines.h"
#include "common/string_table.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

class TestWindowRoutines : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        setStringTableLanguage(QLocale::English);
    }

    void numberedCaptionsAreReplacedAndTheRestLeftAlone()
    {
        QWidget form;
        auto *tagged = new QLabel(QStringLiteral("x"), &form);
        tagged->setProperty("tag", 102);
        auto *untagged = new QLabel(QStringLiteral("keep me"), &form);
        auto *badTag = new QLabel(QStringLiteral("keep me too"), &form);
        badTag->setProperty("tag", QStringLiteral("twelve"));
        auto *missing = new QLabel(QStringLiteral("no such string"), &form);
        missing->setProperty("tag", 9999);
        auto *check = new QCheckBox(&form);
        check->setProperty("tag", 403);
        auto *menu = new QMenu(&form);
        QAction *numbered = menu->addAction(QStringLiteral("161"));
        QAction *plain = menu->addAction(QStringLiteral("&All Drinks"));
        auto *bar = new QToolBar(&form);
        QAction *button = bar->addAction(QStringLiteral("b"));
        button->setToolTip(QStringLiteral("105"));
        auto *tree = new QTreeWidget(&form);
        tree->setColumnCount(2);
        tree->setProperty("columnTags", QVariantList{205, 206});

        CCommonRoutines().LoadResStrings(&form);

        QCOMPARE(tagged->text(), QStringLiteral("Directions"));
        QCOMPARE(untagged->text(), QStringLiteral("keep me"));
        QCOMPARE(badTag->text(), QStringLiteral("keep me too"));
        QCOMPARE(missing->text(), QStringLiteral("no such string"));
        QCOMPARE(check->text(), QStringLiteral("&Show Tips at Startup"));
        QCOMPARE(numbered->text(), QStringLiteral("&Open..."));
        QCOMPARE(plain->text(), QStringLiteral("&All Drinks"));
        QCOMPARE(button->toolTip(), QStringLiteral("&Next >"));
        QCOMPARE(tree->headerItem()->text(0), QStringLiteral("Name"));
        QCOMPARE(tree->headerItem()->text(1), QStringLiteral("Directions"));
    }

    void translatedCaptionsFollowTheLanguage()
    {
        QWidget form;
        auto *cancel = new QCheckBox(&form);
        cancel->setProperty("tag", 2);
        setStringTableLanguage(QLocale::German);
        CCommonRoutines().LoadResStrings(&form);
        setStringTableLanguage(QLocale::English);
        QCOMPARE(cancel->text(), QStringLiteral("Abbrechen"));
    }

    void toolbarFlatnessFlips()
    {
        QToolBar bar;
        QAction *a = bar.addAction(QStringLiteral("a"));
        auto *button = qobject_cast<QToolButton *>(bar.widgetForAction(a));
        QVERIFY(button);
        button->setAutoRaise(false);
        CCommonRoutines().MakeToolbarFlat(&bar);
        QVERIFY(button->autoRaise());
        CCommonRoutines().MakeToolbarFlat(&bar);
        QVERIFY(!button->autoRaise());
    }

    // Typing into the box: each change runs the type-ahead, as the change handler would.
    void typeAheadCompletesFromTheList_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::newRow("four letters") << "ging" << "Ginger Ale" << 4;
        QTest::newRow("three letters") << "gin" << "Gin" << 3;
        // Earlier letters took the case of the item they matched.
        QTest::newRow("no match") << "gix" << "Gix" << 3;
        QTest::newRow("upper case") << "GINGER" << "Ginger Ale" << 6;
    }

    void typeAheadCompletesFromTheList()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, caret);
        QComboBox box;
        box.setEditable(true);
        box.addItems({QStringLiteral("Gin"), QStringLiteral("Ginger Ale"), QStringLiteral("Lime")});
        box.setCurrentIndex(-1);
        box.lineEdit()->clear();
        CCommonRoutines routines;
        QObject::connect(box.lineEdit(), &QLineEdit::textEdited, &box, [&] { routines.FillInText(&box); });
        QTest::keyClicks(box.lineEdit(), typed);
        QCOMPARE(box.lineEdit()->text(), text);
        QCOMPARE(box.lineEdit()->cursorPosition(), caret);
        QVERIFY(!box.lineEdit()->hasSelectedText());
    }
};

QTEST_MAIN(TestWindowRoutines)
#include "test_window_routines.moc"
