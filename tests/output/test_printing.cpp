// Printing: word wrapping and the layout of a drink on a recording target, the print run, and a
// real PDF read back as text.

#include "common/CCommonRoutines.h"
#include "common/print_target.h"
#include "store/CDatabase.h"
#include "support/fixture_db.h"
#include "support/main_window_fixture.h"

#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

struct Sheet {
    QStringList lines{QString()};       // "x:text" pieces joined by "|"; "{font}" where the font changes
    QList<QPair<QString, double>> names; // 20-point texts and the y they were printed at
    int pages = 0, jobs = 0;
    QStringList printed() const { return lines.last().isEmpty() ? lines.mid(0, lines.size() - 1) : lines; }
};

// Widths are 10 twips per point a character, lines 20 twips per point.
class Recorder : public PrintTarget {
public:
    explicit Recorder(Sheet &sheet, double height = 1e6, double width = 20000) : s(sheet), h(height), w(width) {}
    double CurrentX() const override { return x; }
    void setCurrentX(double value) override { x = value; }
    double CurrentY() const override { return y; }
    double ScaleHeight() const override { return h; }
    double ScaleWidth() const override { return w; }
    void setFontName(const QString &value) override { name = value; }
    void setFontSize(double value) override { size = value; }
    void setFontBold(bool value) override { bold = value; }
    double TextWidth(const QString &text) override { return double(text.size()) * size * 10; }
    void Print(const QString &text, bool endLine) override
    {
        const QStringList parts = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                lineEnd();
            if (parts[i].isEmpty())
                continue;
            const QString f = QStringLiteral("{%1,%2%3}").arg(name).arg(size).arg(bold ? ",B" : "");
            if (size == 20)
                s.names.append({parts[i], y});
            if (x != end || f != font)
                s.lines.last() += (s.lines.last().isEmpty() ? "" : "|") + (f != font ? f : "") + QString::number(x) + ':';
            s.lines.last() += parts[i];
            font = f;
            end = x += TextWidth(parts[i]);
        }
        if (endLine)
            lineEnd();
    }
    void NewPage() override
    {
        ++s.pages;
        s.lines << QStringLiteral("--page--") << QString();
        x = y = 0;
    }
    PrintOutcome EndDoc() override { return {}; }
    double x = 0, y = 0;

private:
    void lineEnd()
    {
        s.lines << QString();
        x = 0, end = -1, y += size * 20;
    }
    Sheet &s;
    double h, w, end = -1, size = 12;
    QString name, font = QStringLiteral("{,12}");
    bool bold = false;
};

library::Library layoutLibrary()
{
    library::Library lib;
    for (const char *i : {"Gin", "Tonic", "Lime", "Ice", "Mint"})
        lib.ingredients.append({QLatin1String(i)});
    const auto drink = [&](const char *name, QList<library::Line> lines, const char *dirs, QVariant comments) {
        lib.drinks.append({QLatin1String(name), lines, QLatin1String(dirs), comments, false, true});
    };
    drink("One", {{"2 oz", "Gin"}}, "Pour.", QStringLiteral("Cold."));
    drink("Three", {{"2 oz", "Gin"}, {"4 oz", "Tonic"}, {"1", "Lime"}}, "Build.", QVariant());
    drink("Four", {{"1", "Gin"}, {"2", "Tonic"}, {"3", "Lime"}, {"4", "Ice"}}, "Stir.", QString());
    drink("Blank", {{"  ", "Ice"}, {"", "Mint"}}, "Muddle.", QVariant());
    return lib;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_db.setFileName(fixture::customLibrary(m_dir.path(), layoutLibrary()));
        m_db.DbOpen();
        m_db.database().Execute(QStringLiteral("UPDATE Drinks SET Description = Null WHERE Name = \"Blank\""));
    }
    void cleanup() { setPrintTargetFactory({}); }

    void wrapText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("startX");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("fits") << "Shake  well." << 9000. << 0. << QStringList{"0:Shake  well."};
        QTest::newRow("wraps before the word") << "Shake with ice and strain" << 1440. << 0.
                                               << QStringList{"0:Shake with ", "0:ice and ", "0:strain"};
        QTest::newRow("too wide for any line") << "Stir" << 240. << 0. << QStringList{"", "0:Stir"};
        QTest::newRow("CRLF breaks once") << "Shake.\r\nStrain." << 9000. << 0. << QStringList{"0:Shake.", "0:Strain."};
        QTest::newRow("lone CR prints nothing") << "a\rb" << 9000. << 0. << QStringList{"0:ab"};
        QTest::newRow("tab left of the origin") << "a\tb" << 9000. << 0. << QStringList{"0:a|1920:b"};
        QTest::newRow("tab on a stop") << "\tb" << 9000. << 1920. << QStringList{"3120:b"};
        QTest::newRow("tab inside a stop") << "\tb" << 9000. << 2000. << QStringList{"3120:b"};
    }
    void wrapText()
    {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(double, startX);
        Sheet sheet;
        Recorder r(sheet, 1e6, width);
        r.x = startX;
        CCommonRoutines().WrapText(r, text);
        QTEST(sheet.printed(), "lines");
    }

    // Drinks of layoutLibrary(), numbered from 1 in its order.
    void drinkLayout_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one ingredient, comments")
            << 1 << QStringList{"{Tahoma,20,B}0:One", "{Tahoma,12}0:2 oz Gin", "0:Pour.", "", "", "0:Cold.", "", ""};
        QTest::newRow("three: no empty line") << 2 << QStringList{"{Tahoma,20,B}0:Three", "{Tahoma,12}0:2 oz Gin|5500:4 oz Tonic",
                                                                  "0:1 Lime", "0:Build.", "", ""};
        QTest::newRow("four: one empty line") << 3 << QStringList{"{Tahoma,20,B}0:Four", "{Tahoma,12}0:1 Gin|5500:2 Tonic",
                                                                  "0:3 Lime|5500:4 Ice", "", "0:Stir.", "", ""};
        QTest::newRow("blank amounts, no directions")
            << 4 << QStringList{"{Tahoma,20,B}0:Blank", "{Tahoma,12}0:Ice|5500:Mint", "", "", "", ""};
    }
    void drinkLayout()
    {
        QFETCH(int, id);
        MsgBoxRecorder boxes;
        Sheet sheet;
        Recorder r(sheet);
        m_db.PrintOneDrink(id, r);
        QTEST(sheet.printed(), "lines");
        QVERIFY(boxes.messages().isEmpty());
    }

    void missingDrinkPrintsNothing()
    {
        MsgBoxRecorder boxes;
        Sheet sheet;
        Recorder r(sheet);
        m_db.PrintOneDrink(99, r);
        QCOMPARE(boxes.texts(), QStringList{"Drink doesn't exist!"});
        QCOMPARE(boxes.messages().first().icon(), 0);
        QCOMPARE(sheet.printed(), QStringList());
    }

    // One drink of the layout is 400 + 7 x 240 = 2080 twips high; with a page of 3000 the third
    // drink starts below 80 % of it (2400) and goes to a new page. Marks stay as they were.
    void runBreaksPagesAndKeepsMarks()
    {
        MsgBoxRecorder boxes;
        m_db.database().Execute(QStringLiteral("UPDATE Drinks SET Print = (ID <> 3)"));
        Sheet sheet;
        setPrintTargetFactory([&] { ++sheet.jobs; return std::make_unique<Recorder>(sheet, 3000); });
        m_db.PrintDrinks();
        m_db.PrintDrinks();
        QCOMPARE(sheet.jobs, 2);
        const QList<QPair<QString, double>> once{{"One", 0}, {"Three", 2080}, {"Blank", 0}};
        QCOMPARE(sheet.names, once + once);
        QCOMPARE(sheet.pages, 2);
        auto marked = m_db.database().OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM Drinks WHERE Print=True"));
        QCOMPARE(marked->Fields(QStringLiteral("n")).Value().toInt(), 3);
        QVERIFY(boxes.messages().isEmpty());
    }

    void nothingTaggedStartsNoJob()
    {
        MsgBoxRecorder boxes;
        m_db.database().Execute(QStringLiteral("UPDATE Drinks SET Print = False"));
        int jobs = 0;
        setPrintTargetFactory([&] { ++jobs; return std::unique_ptr<PrintTarget>(); });
        m_db.PrintDrinks();
        QCOMPARE(jobs, 0);
        QCOMPARE(boxes.texts(), QStringList{"There are no drinks tagged for printing."});
        QCOMPARE(boxes.messages().first().icon(), int(msgbox::vbInformation));
    }

    void pdfNamesNeverReplaceAFile()
    {
        const QDateTime when(QDate(2026, 12, 8), QTime(14, 5));
        QFile taken(m_dir.filePath(QStringLiteral("Zestro drinks 2026-12-08 14-05.pdf")));
        QVERIFY(taken.open(QIODevice::WriteOnly));
        QCOMPARE(freePdfName(m_dir.path(), when), m_dir.filePath(QStringLiteral("Zestro drinks 2026-12-08 14-05 (2).pdf")));
    }

    // Without a printer the job becomes a PDF in the documents folder; read back, it holds the three
    // drinks in order. Printer Setup can aim the job at a file; a file that cannot be written is reported.
    void realPdf()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty() || !QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("needs pdftotext and a system without printers");
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        StartedProgram p;
        p.db().database().Execute(QStringLiteral("UPDATE Drinks SET Print = (ID <= 3)"));
        p.db().PrintDrinks();
        const QFileInfoList files = QDir(home.filePath(QStringLiteral("Documents"))).entryInfoList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QCOMPARE(p.form().statusText(), "No printer is set up, so the drinks were saved as " + files[0].filePath() + '.');
        QProcess run;
        run.start(pdftotext, {QStringLiteral("-layout"), files[0].filePath(), QStringLiteral("-")});
        QVERIFY(run.waitForFinished());
        const QString text = QString::fromUtf8(run.readAllStandardOutput()).normalized(QString::NormalizationForm_KC).simplified();
        qsizetype at = 0;
        for (const library::Drink &d : fixture::starterContents().drinks.mid(0, 3)) {
            QStringList pieces{d.name};
            for (const library::Line &l : d.lines)
                pieces << (l.amount.isEmpty() ? l.ingredient : l.amount + ' ' + l.ingredient);
            pieces << d.directions << d.comments.toString();
            for (const QString &piece : pieces) {
                const qsizetype found = text.indexOf(piece.simplified(), at);
                QVERIFY2(found >= 0, qPrintable(piece));
                at = found + piece.simplified().size();
            }
        }

        QString chosen = p.folder() + "/missing/x.pdf";
        setFileDialogHandler([&](FileDialogKind, CommonDialog &) { return std::optional<QString>(chosen); });
        p.form().CommonDialog1.ShowPrinter();
        p.db().PrintDrinks();
        QVERIFY(p.boxes().texts().last().startsWith("The drinks could not be printed. "));
        QVERIFY(QDir(p.folder() + "/missing").isEmpty());
        chosen = p.folder() + "/x.pdf";
        p.form().CommonDialog1.ShowPrinter();
        setFileDialogHandler({});
        p.db().PrintDrinks();
        QCOMPARE(p.form().statusText(), "The drinks were saved as " + chosen + '.');
        QVERIFY(QFileInfo(chosen).size() > 1000);
    }

private:
    QTemporaryDir m_dir;
    CDatabase m_db;
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
