// The command guard: whatever a command throws ends that command with a message, gives the pointer
// back, closes the "Searching..." window and lets the program go on.

#include "common/command_guard.h"
#include "core/engine_error.h"
#include "search/frmStatus.h"
#include "support/msgbox_recorder.h"

#include <QApplication>
#include <QtTest>
#include <functional>
#include <stdexcept>

using Thrower = std::function<void()>;
Q_DECLARE_METATYPE(Thrower)

class TestCommandGuard : public QObject {
    Q_OBJECT

private slots:
    void failuresEndTheCommandWithAMessage_data()
    {
        QTest::addColumn<Thrower>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("engine error") << Thrower([] { throw EngineError(err::NoCurrentRecord, QStringLiteral("No current record.")); })
                                      << "Error 3021: No current record.";
        QTest::newRow("runtime error") << Thrower([] { throw std::runtime_error("The bar list is too long."); })
                                       << "The bar list is too long.";
        QTest::newRow("no database") << Thrower([] { throw NoDatabaseOpen(); })
                                     << "No database is open.  You can select one by choosing File|Open.";
        QTest::newRow("not an exception") << Thrower([] { throw 42; }) << "An unexpected error ended the command.";
    }

    void failuresEndTheCommandWithAMessage()
    {
        QFETCH(Thrower, command);
        QFETCH(QString, message);
        MsgBoxRecorder boxes;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        frmStatus::setStatusCaption(QStringLiteral("Searching..."));
        bool after = false;
        QVERIFY(!RunCommand([&] {
            command();
            after = true;
        }));
        QVERIFY(!after);
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.messages().first().icon(), int(msgbox::vbExclamation));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!frmStatus::isLoaded());
        // The next command runs as usual.
        QVERIFY(RunCommand([&] { after = true; }));
        QVERIFY(after);
    }
};

QTEST_MAIN(TestCommandGuard)
#include "test_command_guard.moc"
