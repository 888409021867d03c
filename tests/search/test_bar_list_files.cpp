// Bar-list files: export and import through the main window's file dialog, the bytes written,
// files made elsewhere (other line ends, encodings, odd lines), files that are no bar list, and a
// failed import that must keep the bar list that was there.

#include "output/frmExportDrinks.h"
#include "store/CDatabase.h"
#include "store/engine/jet_dialect.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QFile>
#include <QStringEncoder>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kUnknown = QStringLiteral(
    " doesn't exist in the database.  There is probably something similar you can select instead.  "
    "If not, you can add it.  To do either, go to Tools|Edit Ingredients.");

library::Library filesLibrary()
{
    library::Library lib;
    lib.ingredients = {{QStringLiteral("Gin"), false, true},
                       {QStringLiteral("Tonic water"), false, true},
                       {QStringLiteral("Cr\u00e8me de cassis"), false, true},
                       {QStringLiteral("Rum "), false, true},
                       {QStringLiteral("Say \"when\""), false, false},
                       {QStringLiteral("Lime"), false, false},
                       {QStringLiteral("Ice"), true, false},
                       {QStringLiteral("Sake \u9152"), false, false}};
    library::Drink d;
    d.name = QStringLiteral("Gin and Tonic");
    d.lines = {{QStringLiteral("2 Ounces"), QStringLiteral("Gin")}, {QString(), QStringLiteral("Tonic water")}};
    d.directions = QStringLiteral("Build over ice.");
    lib.drinks = {d};
    return lib;
}

// The shared program on a fresh copy of `library`, with the file dialog answered from a script.
struct Bar {
    StartedProgram &p;
    QTemporaryDir dir;
    QList<std::optional<QString>> answers; // a path, or nothing for Cancel
    QList<int> asked;                      // FileDialogKind
    QStringList filters;
    QList<int> flags;
    QStringList proposed;                  // the name each dialog offered

    Bar(StartedProgram &program, const QString &library) : p(program)
    {
        p.db().DbClose();
        const QString work = dir.filePath(QStringLiteral("work.mdb"));
        if (!QFile::copy(library, work))
            qFatal("cannot copy the test library");
        p.db().setFileName(work);
        p.db().DbOpen();
        p.boxes().clear();
        setFileDialogHandler([this](FileDialogKind kind, CommonDialog &dialog) {
            asked << int(kind);
            filters << dialog.Filter;
            flags << dialog.Flags;
            proposed << dialog.FileName;
            return answers.isEmpty() ? std::nullopt : answers.takeFirst();
        });
    }
    ~Bar() { setFileDialogHandler({}); }

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString write(const QByteArray &bytes, const char *name = "in.bar") const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return file.fileName();
    }
    QStringList marked()
    {
        auto rs = p.db().database().OpenRecordset(QStringLiteral("SELECT Ingredient FROM Ingredients WHERE Has = True ORDER BY ID"));
        QStringList names;
        for (; !rs->Eof(); rs->MoveNext())
            names << rs->value(QStringLiteral("Ingredient")).toString();
        return names;
    }
    void mark(const QStringList &names)
    {
        p.db().database().Execute(QStringLiteral("UPDATE Ingredients SET Has = False"));
        for (const QString &name : names)
            p.db().database().Execute(QStringLiteral("UPDATE Ingredients SET Has = True WHERE Ingredient = ")
                                      + engine::quotedName(name));
    }
    bool importFile(const QString &file)
    {
        answers = {file};
        return p.db().BarlistImport();
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

const QStringList kStartMarks{"Gin", "Tonic water", "Cr\u00e8me de cassis", "Rum "};

} // namespace

class TestBarListFiles : public QObject {
    Q_OBJECT

private slots:
    // One program for every case: starting one costs far more than opening a library.
    void initTestCase()
    {
        m_program = std::make_unique<StartedProgram>();
        m_library = fixture::customLibrary(m_templates.path(), filesLibrary());
    }
    void cleanupTestCase() { m_program.reset(); }

    void exportThenImportGivesTheSameMarks_data()
    {
        QTest::addColumn<QStringList>("marks");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Latin-1 names, untrimmed") << kStartMarks << QByteArray("Gin\r\nTonic water\r\nCr\xe8me de cassis\r\nRum \r\n");
        QTest::newRow("a name beyond Latin-1 makes the file UTF-8")
            << QStringList{"Cr\u00e8me de cassis", "Sake \u9152"} << QByteArray("Cr\xc3\xa8me de cassis\r\nSake \xe9\x85\x92\r\n");
        QTest::newRow("quotes in a name") << QStringList{"Say \"when\""} << QByteArray("Say \"when\"\r\n");
        QTest::newRow("empty bar list") << QStringList() << QByteArray();
    }

    void exportThenImportGivesTheSameMarks()
    {
        QFETCH(QStringList, marks);
        QFETCH(QByteArray, bytes);
        Bar bar(*m_program, m_library);
        bar.mark(marks);
        const QString file = bar.write("an older, longer file that must be replaced\r\n", "list");
        bar.answers = {file};
        QVERIFY(bar.p.db().BarlistExport());
        QCOMPARE(readAll(file), bytes);

        bar.mark({"Lime", "Ice"});
        QVERIFY(bar.importFile(file));
        QCOMPARE(bar.marked(), marks);
        QVERIFY(bar.p.boxes().messages().isEmpty());
    }

    void importReadsFilesMadeElsewhere_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QStringList>("unknown"); // lines named in messages, in order
        const QStringList ginLime{"Gin", "Lime"};
        const QStringList cassis{"Cr\u00e8me de cassis"};
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("CR LF") << QByteArray("Gin\r\nLime\r\n") << ginLime << QStringList();
        QTest::newRow("LF only") << QByteArray("Gin\nLime\n") << ginLime << QStringList();
        QTest::newRow("CR only") << QByteArray("Gin\rLime\r") << ginLime << QStringList();
        QTest::newRow("no last line end") << QByteArray("Gin\r\nLime") << ginLime << QStringList();
        QTest::newRow("Latin-1") << QByteArray("Cr\xe8me de cassis\r\n") << cassis << QStringList();
        QTest::newRow("UTF-8") << QByteArray("Cr\xc3\xa8me de cassis\r\n") << cassis << QStringList();
        QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xef\xbb\xbf" "Cr\xc3\xa8me de cassis\r\n") << cassis << QStringList();
        QTest::newRow("UTF-16 with its mark") << QByteArray(utf16.encode(u"Gin\r\nLime\r\n")) << ginLime << QStringList();
        QTest::newRow("third line unknown") << QByteArray("Gin\r\nLime\r\nUnicorn tears\r\nIce\r\n")
                                            << QStringList{"Gin", "Lime", "Ice"} << QStringList{"Unicorn tears"};
        QTest::newRow("empty line") << QByteArray("Gin\r\n\r\nLime\r\n") << ginLime << QStringList{""};
        QTest::newRow("name with quotes") << QByteArray("Say \"when\"\r\n") << QStringList{"Say \"when\""} << QStringList();
        QTest::newRow("quotes cannot widen the match")
            << QByteArray("x\" OR \"a\" = \"a\r\nLime\r\n") << QStringList{"Lime"} << QStringList{"x\" OR \"a\" = \"a"};
        QTest::newRow("spaces are part of the name") << QByteArray("Rum \r\nRum\r\n") << QStringList{"Rum "} << QStringList{"Rum"};
        QTest::newRow("other case, twice") << QByteArray("GIN\r\ngin\r\n") << QStringList{"Gin"} << QStringList();
        QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
        QTest::newRow("invisible and control characters")
            << QByteArray("G\xe2\x80\x8bin\x01\r\n\xef\xbb\xbfLi\xc2\xadme\xe2\x80\x8f\r\n") << ginLime << QStringList();
    }

    void importReadsFilesMadeElsewhere()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, marked);
        QFETCH(QStringList, unknown);
        Bar bar(*m_program, m_library);
        QVERIFY(bar.importFile(bar.write(bytes)));
        QCOMPARE(bar.marked(), marked);
        QStringList expected;
        for (const QString &line : unknown)
            expected << QLatin1Char('\'') + line + QLatin1Char('\'') + kUnknown;
        QCOMPARE(bar.p.boxes().texts(), expected);
        for (const ShownMessage &m : bar.p.boxes().messages())
            QCOMPARE(m.flags, int(msgbox::vbInformation));
    }

    void longLinesAndLongFiles()
    {
        Bar bar(*m_program, m_library);
        const QByteArray longLine(100000, 'x');
        QVERIFY(bar.importFile(bar.write(longLine + "\r\nGin\r\n")));
        QCOMPARE(bar.marked(), QStringList{"Gin"});
        QCOMPARE(bar.p.boxes().texts(), QStringList{"'" + QString(60, 'x') + "\u2026' (100,000 characters)" + kUnknown});

        // Every ingredient of a synthetic library five times over.
        bar.p.boxes().clear();
        Bar big(*m_program, fixture::syntheticLibrary(m_templates.path(), 1000));
        QByteArray lines;
        for (const library::Ingredient &i : library::syntheticLibrary(1).ingredients)
            lines += i.name.toUtf8() + "\r\n";
        QVERIFY(big.importFile(big.write(lines.repeated(5))));
        QVERIFY(big.p.boxes().messages().isEmpty());
        QCOMPARE(big.marked().size(), 2000);
    }

    void manyUnknownNamesShareOneMessage_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("texts");
        const QString many = QStringLiteral("These names don't exist in the database:\n\n'x0'\n'x1'\n'x2'\nand %1 not found.\n\n"
                                            "There is probably something similar you can select instead.  If not, you can add "
                                            "them.  To do either, go to Tools|Edit Ingredients.");
        QTest::newRow("three") << 3 << QStringList{"'x0'" + kUnknown, "'x1'" + kUnknown, "'x2'" + kUnknown};
        QTest::newRow("four") << 4 << QStringList{many.arg("1 more name was")};
        QTest::newRow("100,000") << 100000 << QStringList{many.arg("99997 more names were")};
    }

    void manyUnknownNamesShareOneMessage()
    {
        QFETCH(int, count);
        QFETCH(QStringList, texts);
        Bar bar(*m_program, m_library);
        QByteArray lines;
        for (int i = 0; i < count; ++i)
            lines += 'x' + QByteArray::number(i) + "\r\nLime\r\n";
        QElapsedTimer clock;
        clock.start();
        QVERIFY(bar.importFile(bar.write(lines)));
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(bar.p.boxes().texts(), texts);
        QCOMPARE(bar.marked(), QStringList{"Lime"});
    }

    void failedImportKeepsTheBarList_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("detail"); // in the message
        QTest::newRow("missing file") << "missing" << "Cannot read '";
        QTest::newRow("a folder") << "folder" << "Cannot read '";
        QTest::newRow("not text") << "binary" << "is not a bar list";
        QTest::newRow("engine refuses a mark") << "refused" << "refused";
        const QString device = "' is not a bar list: it is a device, not a file.", pipe = "' is not a bar list: it is a named pipe, not a file.";
        QTest::newRow("/dev/zero") << "/dev/zero" << device;
        QTest::newRow("/dev/urandom") << "/dev/urandom" << device;
        QTest::newRow("link to /dev/zero") << "zero" << device;
        QTest::newRow("named pipe") << "pipe" << pipe;
        QTest::newRow("link to a named pipe") << "to pipe" << pipe;
        QTest::newRow("too large") << "large" << "' is too large to be a bar list.";
        const QString noneKnown = "' is an ingredient in the database, so your bar list was left as it was.  The first name in the file is ";
        QTest::newRow("no name known") << "unknown" << noneKnown + "'Unicorn tears'.";
        QTest::newRow("100,000 names, none known") << "100000" << noneKnown + "'x0'.";
        QTest::newRow("a 10 MB name") << "long" << noneKnown + "'" + QString(60, 'A') + "\u2026' (10,485,760 characters).";
    }

    void failedImportKeepsTheBarList()
    {
        QFETCH(QString, kind);
        QFETCH(QString, detail);
        Bar bar(*m_program, m_library);
        QString file = bar.write("Lime\r\nTonic water\r\n");
        if (kind == QLatin1String("missing"))
            file = bar.path("no such.bar");
        else if (kind == QLatin1String("folder"))
            file = bar.dir.path();
        else if (kind == QLatin1String("binary"))
            file = bar.write(QByteArray("Lime\r\n\0\x01\x02\r\n", 9));
        else if (kind == QLatin1String("large"))
            file = bar.write(QByteArray(16 * 1024 * 1024, 'x') + "\r\nLime\r\n");
        else if (kind == QLatin1String("unknown"))
            file = bar.write("\r\nUnicorn tears\r\n");
        else if (kind == QLatin1String("100000"))
            file = bar.write(QByteArray("x0\r\n").repeated(100000));
        else if (kind == QLatin1String("long"))
            file = bar.write(QByteArray(10 * 1024 * 1024, 'A'));
        else if (kind != QLatin1String("refused"))
            file = QDir(bar.dir.path()).filePath(kind); // a device, or made below
        else
            QCOMPARE(sqlite3_exec(bar.p.db().database().handle(),
                                  "CREATE TRIGGER refuse BEFORE UPDATE OF Has ON Ingredients "
                                  "WHEN NEW.Has = 1 AND NEW.Ingredient = 'Tonic water' BEGIN SELECT RAISE(ABORT, 'refused'); END",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
        const QByteArray pipe = QFile::encodeName(bar.path("pipe"));
        QVERIFY(mkfifo(pipe.constData(), 0600) == 0 && QFile::link("/dev/zero", bar.path("zero"))
                && QFile::link(bar.path("pipe"), bar.path("to pipe")));
        // A reader stuck in opening the pipe is let go, so that a blocking import fails instead of hanging.
        std::jthread writer([&](std::stop_token stop) {
            for (; !stop.stop_requested(); std::this_thread::sleep_for(std::chrono::milliseconds(20)))
                if (const int fd = open(pipe.constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                    close(fd);
        });
        bar.answers = {file};
        triggerCommand(bar.p.form(), QStringLiteral("actImportBarList")); // answered No: no export first
        writer = {};
        QCOMPARE(bar.p.form().statusText(), QStringLiteral("Bar list not imported."));
        QCOMPARE(bar.p.boxes().messages().size(), 2);
        const QString text = bar.p.boxes().texts().last();
        QVERIFY2(text.startsWith(QStringLiteral("There was an error importing your bar list.\n\n")), qPrintable(text));
        QVERIFY2(text.contains(detail), qPrintable(text));
        if (kind != QLatin1String("refused"))
            QVERIFY2(text.contains(file), qPrintable(text));
        QCOMPARE(bar.marked(), kStartMarks);
        QVERIFY(!bar.p.db().database().inTransaction());
    }

    void failedExportSaysWhy()
    {
        Bar bar(*m_program, m_library);
        for (const QString &file : {bar.dir.path(), bar.path("no such folder/list.bar")}) {
            bar.p.boxes().clear();
            bar.answers = {file};
            QVERIFY(!bar.p.db().BarlistExport());
            QCOMPARE(bar.p.boxes().messages().size(), 1);
            const ShownMessage m = bar.p.boxes().messages().first();
            QVERIFY2(m.text.startsWith(QStringLiteral("There was an error exporting your bar list.\n\n75: Cannot write '") + file),
                     qPrintable(m.text));
            QCOMPARE(m.icon(), 0);
        }
    }

    void menuCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer"); // to the export-first question
        QTest::addColumn<QStringList>("paths"); // "" for Cancel
        QTest::addColumn<QList<int>>("dialogs"); // FileDialogKind
        QTest::addColumn<QString>("status");
        const int save = int(FileDialogKind::Save), open = int(FileDialogKind::Open);
        QTest::newRow("export") << "actExportBarList" << 0 << QStringList{"out.bar"} << QList<int>{save} << "Bar list exported successfully.";
        QTest::newRow("export cancelled") << "actExportBarList" << 0 << QStringList{""} << QList<int>{save} << "Bar list not exported.";
        QTest::newRow("import, No") << "actImportBarList" << int(msgbox::vbNo) << QStringList{"in.bar"} << QList<int>{open}
                                    << "Bar list imported successfully.";
        QTest::newRow("import, Yes exports first") << "actImportBarList" << int(msgbox::vbYes) << QStringList{"out.bar", "in.bar"}
                                                   << QList<int>{save, open} << "Bar list imported successfully.";
        QTest::newRow("import cancelled") << "actImportBarList" << int(msgbox::vbNo) << QStringList{""} << QList<int>{open}
                                          << "Bar list not imported.";
    }

    void menuCommands()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QStringList, paths);
        QFETCH(QList<int>, dialogs);
        QFETCH(QString, status);
        Bar bar(*m_program, m_library);
        bar.write("Lime\r\n");
        bar.p.db().ShowAllDrinks(); // the one drink shown, with every ingredient at hand
        for (const QString &p : paths)
            bar.answers << (p.isEmpty() ? std::nullopt : std::optional<QString>(bar.path(qPrintable(p))));
        if (answer)
            bar.p.boxes().answerNext(answer);
        triggerCommand(bar.p.form(), command);
        QStatusTipEvent tip(QStringLiteral("Open database")), left{QString()}; // a menu item hovered, then left
        QApplication::sendEvent(&bar.p.form(), &tip);
        QApplication::sendEvent(&bar.p.form(), &left);
        QCOMPARE(bar.p.form().statusText(), status);
        QCOMPARE(bar.asked, dialogs);
        QCOMPARE(bar.filters, QStringList(dialogs.size(), QStringLiteral("Zestro bar list|*.bar")));
        QCOMPARE(bar.flags, QList<int>(dialogs.size(), 6)); // no read-only box; replacing a file is asked
        if (command == QLatin1String("actImportBarList")) {
            const ShownMessage question = bar.p.boxes().messages().first();
            QCOMPARE(question.text, QStringLiteral("Would you like to export your current bar list before importing a new one?"));
            QCOMPARE(question.flags, int(msgbox::vbYesNo | msgbox::vbExclamation));
            QCOMPARE(bar.p.boxes().messages().size(), 1);
        } else {
            QVERIFY(bar.p.boxes().messages().isEmpty());
        }
        const bool imported = status == QLatin1String("Bar list imported successfully.");
        QCOMPARE(bar.marked(), imported ? QStringList{"Lime"} : kStartMarks);
        QCOMPARE(bar.p.form().lblMissing->text(), imported ? QStringLiteral("Missing: Gin, Tonic water")
                                                           : QStringLiteral("You have everything for this drink."));
        if (dialogs.first() == int(FileDialogKind::Save) && paths.first() != QString())
            QCOMPARE(readAll(bar.path("out.bar")), QByteArray("Gin\r\nTonic water\r\nCr\xe8me de cassis\r\nRum \r\n"));
    }

    // A list is saved under the name as typed: no ".bar" is added, and a file of that name with the
    // extension stays untouched.
    void exportAddsNoExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("none typed") << "mine";
        QTest::newRow("beside a file with the extension") << "in";
        QTest::newRow("extension typed") << "mine.bar";
    }

    void exportAddsNoExtension()
    {
        QFETCH(QString, typed);
        Bar bar(*m_program, m_library);
        bar.write("Lime\r\n"); // in.bar
        bar.answers << bar.path(qPrintable(typed));
        bar.p.form().CommonDialog1.DefaultExt = QStringLiteral("json"); // left by another command
        triggerCommand(bar.p.form(), QStringLiteral("actExportBarList"));
        QCOMPARE(bar.flags, QList<int>{6}); // the dialog asks before replacing a file
        QVERIFY(bar.p.boxes().messages().isEmpty());
        QVERIFY(readAll(bar.path(qPrintable(typed))).startsWith("Gin\r\n"));
        QCOMPARE(readAll(bar.path("in.bar")), QByteArray("Lime\r\n"));
        QVERIFY(!QFile::exists(bar.path("mine.bar")) || typed == QLatin1String("mine.bar"));
    }

    // No save replaces the open library, by whatever name it is reached; the dialog asks again.
    void noSaveReplacesTheOpenLibrary_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("alias");
        QTest::newRow("bar list, the library's own path") << "actExportBarList" << "";
        QTest::newRow("bar list, a hard link") << "actExportBarList" << "hard";
        QTest::newRow("bar list, a symbolic link") << "actExportBarList" << "symbolic";
        QTest::newRow("drinks, the library's own path") << "actExportDrinks" << "";
    }

    void noSaveReplacesTheOpenLibrary()
    {
        QFETCH(QString, command);
        QFETCH(QString, alias);
        Bar bar(*m_program, m_library);
        const QString library = bar.p.db().FileName();
        QString named = library;
        if (!alias.isEmpty()) {
            named = bar.path("other.mdb");
            QVERIFY(alias == QLatin1String("hard") ? ::link(QFile::encodeName(library), QFile::encodeName(named)) == 0
                                                  : QFile::link(library, named));
        }
        const QByteArray before = readAll(library);
        bar.p.form().CommonDialog1.FileName = library; // as File, Open leaves it
        bar.answers = {named, bar.path("safe")};
        ModalScript wholeLibrary([](QDialog &dialog) { // the drinks export asks which drinks first
            auto &choice = static_cast<frmExportDrinks &>(dialog);
            choice.optOption[1]->setChecked(true);
            choice.cmdButtons[0]->click();
            return choice.result();
        });
        triggerCommand(bar.p.form(), command);
        QCOMPARE(bar.asked.size(), 2);
        QVERIFY(!bar.proposed.first().endsWith(QLatin1String(".mdb")));
        QCOMPARE(bar.p.boxes().texts().value(0), QStringLiteral("'%1' is the library Zestro has open, and saving there would "
                                                                "replace it.  Please choose another name.")
                                                     .arg(named));
        QCOMPARE(readAll(library), before);
        QVERIFY(bar.p.db().isOpen());
        QVERIFY(!bar.p.listedNames().isEmpty());
    }

    // The name a save dialog offers: the caller's when it is of the dialog's kind, never the open
    // library. (Each row's filter is its own, so no name chosen earlier stands in.)
    void saveDialogProposesANameOfItsKind_data()
    {
        QTest::addColumn<QString>("fileName"); // "LIB": the open library's path
        QTest::addColumn<QString>("defaultExt");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("the caller's own") << "drinks.json" << "json" << "Kind A|*.json" << "drinks.json";
        QTest::newRow("a file of another kind") << "LIB" << "bar" << "Kind B|*.bar" << "";
        QTest::newRow("the kind the filter names") << "mine.bar" << "" << "Kind C|*.bar" << "mine.bar";
        QTest::newRow("the open library itself") << "LIB" << "mdb" << "Kind D|*.mdb" << "";
    }

    void saveDialogProposesANameOfItsKind()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, defaultExt);
        QFETCH(QString, filter);
        QFETCH(QString, proposed);
        Bar bar(*m_program, m_library);
        CommonDialog dialog;
        dialog.FileName = fileName == QLatin1String("LIB") ? bar.p.db().FileName() : fileName;
        dialog.DefaultExt = defaultExt;
        dialog.Filter = filter;
        dialog.InitDir = bar.dir.path();
        QCOMPARE(QFileInfo(dialog.proposedName()).fileName(), proposed);
    }

private:
    std::unique_ptr<StartedProgram> m_program;
    QTemporaryDir m_templates;
    QString m_library;
};

QTEST_MAIN(TestBarListFiles)
#include "test_bar_list_files.moc"
