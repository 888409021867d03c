// The file dialog's choice: the default extension added to a name typed without one, the question
// before that name replaces a file, and the folder a dialog opens in.

#include "common/common_dialog.h"
#include "core/engine_error.h"
#include "support/msgbox_recorder.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestCommonDialog : public QObject {
    Q_OBJECT

private slots:
    void saveAddsTheExtensionAndAsksBeforeReplacing_data()
    {
        QTest::addColumn<QStringList>("typed"); // what the dialog gives at each showing; "" cancels
        QTest::addColumn<QString>("defaultExt");
        QTest::addColumn<QString>("existing");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saved"); // "" when cancelled
        QTest::addColumn<int>("asked");
        const int yes = msgbox::vbYes, no = msgbox::vbNo;
        QTest::newRow("none typed") << QStringList{"list"} << "bar" << "" << 0 << "list.bar" << 0;
        QTest::newRow("with a dot") << QStringList{"drinks"} << ".json" << "" << 0 << "drinks.json" << 0;
        QTest::newRow("typed, the dialog asked") << QStringList{"list.bar"} << "bar" << "list.bar" << 0 << "list.bar" << 0;
        QTest::newRow("another typed") << QStringList{"list.txt"} << "bar" << "" << 0 << "list.txt" << 0;
        QTest::newRow("dotted folder") << QStringList{"my.lists/list"} << "bar" << "" << 0 << "my.lists/list.bar" << 0;
        QTest::newRow("a folder") << QStringList{"my.lists/sub"} << "bar" << "my.lists/sub/" << 0 << "my.lists/sub" << 0;
        QTest::newRow("no default") << QStringList{"list"} << "" << "" << 0 << "list" << 0;
        QTest::newRow("exists, Yes") << QStringList{"list"} << "bar" << "list.bar" << yes << "list.bar" << 1;
        QTest::newRow("exists, No, another") << QStringList{"list", "other"} << "bar" << "list.bar" << no << "other.bar" << 1;
        QTest::newRow("exists, No, Cancel") << QStringList{"list", ""} << "bar" << "list.bar" << no << "" << 1;
    }

    void saveAddsTheExtensionAndAsksBeforeReplacing()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, existing);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("my.lists/sub")));
        if (!existing.endsWith(QLatin1Char('/')) && !existing.isEmpty()) {
            QFile file(dir.filePath(existing));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        MsgBoxRecorder boxes;
        QFETCH(int, answer);
        boxes.answerNext(answer);
        int shown = 0;
        setFileDialogHandler([&](FileDialogKind, CommonDialog &) -> std::optional<QString> {
            const QString name = typed.value(shown++);
            return name.isEmpty() ? std::nullopt : std::optional<QString>(dir.filePath(name));
        });
        CommonDialog dialog;
        QFETCH(QString, defaultExt);
        dialog.DefaultExt = defaultExt;
        dialog.Flags = CommonDialog::cdlOFNOverwritePrompt;
        int error = 0;
        try {
            dialog.ShowSave();
        } catch (const EngineError &e) {
            error = e.number();
        }
        setFileDialogHandler({});
        QCOMPARE(shown, int(typed.size()));
        QCOMPARE(error, saved.isEmpty() ? int(err::DialogCancelled) : 0);
        if (!saved.isEmpty())
            QCOMPARE(dialog.FileName, dir.filePath(saved));
        QTEST(int(boxes.messages().size()), "asked");
        if (!boxes.messages().isEmpty())
            QCOMPARE(boxes.texts().first(), QStringLiteral("list.bar already exists. Replace it?"));
    }

    void dialogsStartInTheDocumentsFolder()
    {
        QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        qunsetenv("XDG_CONFIG_HOME");
        CommonDialog dialog;
        dialog.Filter = QStringLiteral("Zestro bar list|*.bar");
        QCOMPARE(dialog.startFolder(), QDir::homePath()); // no documents folder: home
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Documents/lists")));
        QCOMPARE(dialog.startFolder(), home.filePath(QStringLiteral("Documents")));
        setFileDialogHandler([&](FileDialogKind, CommonDialog &) { return std::optional<QString>(home.filePath("Documents/lists/a.bar")); });
        dialog.ShowOpen();
        setFileDialogHandler({});
        QCOMPARE(CommonDialog(dialog).startFolder(), home.filePath(QStringLiteral("Documents/lists"))); // the last one of its kind
        dialog.Filter = QStringLiteral("Zestro drink library|*.json");
        QCOMPARE(dialog.startFolder(), home.filePath(QStringLiteral("Documents")));
        dialog.InitDir = home.path();
        QCOMPARE(dialog.startFolder(), home.path()); // the caller's folder comes first
    }
};

QTEST_MAIN(TestCommonDialog)
#include "test_common_dialog.moc"
