// Copying the shown drink to the clipboard: the text byte for byte, adding and replacing, and a
// Cancel that leaves the clipboard alone and the question as the user left it.

#include "output/frmCopyToClipboard.h"
#include "store/CDatabase.h"
#include "support/main_window_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QString kSignature = QStringLiteral("--\r\nCopied from Zestro, the drink recipe database\r\nhttps://zestro.example.org/");

// Stores and shows a drink "Gimlet Test": 2 oz Gin and Lime juice without an amount.
void showGimlet(StartedProgram &p, const char *tried, const char *comments)
{
    const QString sql = QStringLiteral(
        "INSERT INTO Drinks (ID, Name, Description, Comments, Tried) VALUES (30000, 'Gimlet Test', 'Shake.', %1, %2);"
        "INSERT INTO DrinkRel SELECT 30000, ID, '2 oz' FROM Ingredients WHERE Ingredient = 'Gin';"
        "INSERT INTO DrinkRel SELECT 30000, ID, '' FROM Ingredients WHERE Ingredient = 'Lime juice';").arg(QLatin1String(comments), QLatin1String(tried));
    p.exec(sql);
    p.db().ShowDrinkInfo(QStringLiteral("Gimlet Test"));
}

// Copies with the question answered by `option` and `button`; returns the option the question opened with.
int copy(StartedProgram &p, int option, int button)
{
    int shownWith = -1;
    ModalScript script([&](QDialog &dialog) {
        auto &question = static_cast<frmCopyToClipboard &>(dialog);
        shownWith = question.optOption[1]->isChecked() ? 1 : 0;
        question.optOption[size_t(option)]->setChecked(true);
        question.cmdButtons[size_t(button)]->click();
        return question.result();
    });
    triggerCommand(p.form(), QStringLiteral("actCopyDrink"));
    return shownWith;
}

} // namespace

class TestClipboard : public QObject {
    Q_OBJECT
private slots:
    void text_data()
    {
        QTest::addColumn<QString>("tried");
        QTest::addColumn<QString>("comments");
        QTest::addColumn<QString>("expected");
        const QString lines = QStringLiteral("2 oz Gin\r\nLime juice\r\n\r\nShake.\r\n");
        QTest::newRow("tried, no comments") << "1" << "NULL"
                                            << "-----------\r\nGimlet Test (Tried)\r\n-----------\r\n" + lines + kSignature;
        QTest::newRow("comments") << "0" << "'Use fresh lime.'"
                                  << "-----------\r\nGimlet Test\r\n-----------\r\n" + lines + "\r\nComments:\r\nUse fresh lime.\r\n" + kSignature;
        QTest::newRow("empty comments") << "0" << "''"
                                        << "-----------\r\nGimlet Test\r\n-----------\r\n" + lines + "\r\nComments:\r\n\r\n" + kSignature;
    }
    void text()
    {
        QFETCH(QString, tried);
        QFETCH(QString, comments);
        QFETCH(QString, expected);
        StartedProgram p;
        showGimlet(p, qPrintable(tried), qPrintable(comments));
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
        copy(p, 1, 0); // replace
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    }

    void addCancelAndTheRememberedChoice()
    {
        StartedProgram p;
        showGimlet(p, "0", "NULL");
        QGuiApplication::clipboard()->clear();
        QCOMPARE(copy(p, 0, 0), 0);
        QCOMPARE(copy(p, 0, 0), 0); // a fresh question after an add
        const QString once = QGuiApplication::clipboard()->text();
        QVERIFY(once.startsWith(QLatin1String("\r\n\r\n\r\n-----------\r\nGimlet Test\r\n")));
        QCOMPARE(once.count(QLatin1String("Gimlet Test\r\n")), 2);
        QCOMPARE(copy(p, 1, 1), 0); // Cancel with "replace" chosen
        QCOMPARE(QGuiApplication::clipboard()->text(), once);
        QCOMPARE(copy(p, 1, 1), 1); // the question kept the choice
    }
};

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
