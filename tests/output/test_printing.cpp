// Printing: word wrapping, a drink's layout and the print run on a recording target; a real PDF.

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

// What a recording target printed: lines of "x:text" pieces joined by "|" (a piece that follows the
// last one without a gap is added to it), "{font}" where the font changes, "--page--" for a new page.
// Widths are 10 twips per point a character, lines 20 twips per point.
struct Sheet {
    QStringList lines{QString()};
    int jobs = 0;
    QStringList printed() const { return lines.last().isEmpty() ? lines.mid(0, lines.size() - 1) : lines; }
};

class Recorder : public PrintTarget {
public:
    explicit Recorder(Sheet *sheet = nullptr, double height = 1e6) : s(sheet ? *sheet : own), h(height) {}
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
            const QString f = QStringLiteral("{%1,%2%3}").arg(name).arg(size).arg(bold ? ",B" : "");
            if (parts[i].isEmpty())
                continue;
            if (x != end || f != font)
                s.lines.last() += (s.lines.last().isEmpty() ? "" : "|") + (f != font ? f : "") + QString::number(x) + ':';
            s.lines.last() += parts[i];
            font = f;
            end = x += TextWidth(parts[i]);
        }
        if (endLine)
            lineEnd();
    }
    void NewPage() override { s.lines << "--page--" << QString(), x = y = 0; }
    PrintOutcome EndDoc() override { return {}; }
    Sheet own; // when none is given
    double x = 0, y = 0;

private:
    void lineEnd() { s.lines << QString(), x = 0, end = -1, y += size * 20; }
    Sheet &s;
    double h, w = 3960, end = -1, size = 12;
    QString name, font = QStringLiteral("{,12}");
    bool bold = false;
};

library::Library layoutLibrary()
{
    library::Library lib;
    lib.ingredients = {{"Gin"}, {"Tonic"}, {"Lime"}, {"Ice"}, {"Mint"}};
    lib.drinks = {{"One", {{"2 oz", "Gin"}}, "Pour.", "Cold.", false, true},
                  {"Three", {{"2 oz", "Gin"}, {"4 oz", "Tonic"}, {"1", "Lime"}}, "Build.", QVariant(), false, true},
                  {"Four", {{"1", "Gin"}, {"2", "Tonic"}, {"3", "Lime"}, {"4", "Ice"}}, "Stir.", "", false, true},
                  {"Blank", {{"  ", "Ice"}, {"", "Mint"}}, "Muddle.", QVariant(), false, true}};
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

    // The line is 3960 twips wide, 33 characters.
    void wrapText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("fits exactly") << "Shake  well, then strain to serve" << QStringList{"0:Shake  well, then strain to serve"};
        QTest::newRow("wraps before the word") << "Shake with plenty of ice and strain it well"
                                               << QStringList{"0:Shake with plenty of ice and ", "0:strain it well"};
        QTest::newRow("too wide for any line") << QString(34, 'x') << QStringList{"", "0:" + QString(34, 'x')};
        QTest::newRow("CRLF breaks once") << "Shake.\r\nStrain." << QStringList{"0:Shake.", "0:Strain."};
        QTest::newRow("lone CR prints nothing") << "a\rb" << QStringList{"0:ab"};
        QTest::newRow("tab left of the origin") << "a\tb" << QStringList{"0:a|1920:b"};
        QTest::newRow("tab on a stop") << "a\t\tb" << QStringList{"0:a|3120:b"};
        QTest::newRow("tab past a stop") << "0123456789abcdefg\tb" << QStringList{"0:0123456789abcdefg|3120:b"};
    }
    void wrapText()
    {
        QFETCH(QString, text);
        Recorder r;
        CCommonRoutines().WrapText(r, text);
        QTEST(r.own.printed(), "lines");
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
        QTest::newRow("no such drink: a message") << 99 << QStringList();
    }
    void drinkLayout()
    {
        QFETCH(int, id);
        QFETCH(QStringList, lines);
        MsgBoxRecorder boxes;
        Recorder r;
        m_db.PrintOneDrink(id, r);
        QCOMPARE(r.own.printed(), lines);
        QCOMPARE(boxes.texts(), lines.isEmpty() ? QStringList{"Drink doesn't exist!"} : QStringList());
    }

    // The first drink is 400 + 7 x 240 = 2080 twips high, the second 1600. The second starts at 2080:
    // not past 80 % of a page of 2600, past it on a page of 2500. Marks stay as they were.
    void printRun()
    {
        MsgBoxRecorder boxes;
        m_db.database().Execute(QStringLiteral("UPDATE Drinks SET Print = (ID <> 3)"));
        Sheet sheet;
        setPrintTargetFactory([&] { ++sheet.jobs; return std::make_unique<Recorder>(&sheet, sheet.jobs == 1 ? 2600 : 2500); });
        m_db.PrintDrinks();
        m_db.PrintDrinks();
        QCOMPARE(sheet.printed().filter(QRegularExpression("20,B}|--page--")).replaceInStrings("{Tahoma,20,B}0:", ""),
                 QStringList({"One", "Three", "--page--", "Blank", "One", "--page--", "Three", "Blank"}));
        QCOMPARE(m_db.database().OpenRecordset("SELECT count(*) AS n FROM Drinks WHERE Print=True")->value("n").toInt(), 3);
        m_db.database().Execute(QStringLiteral("UPDATE Drinks SET Print = False"));
        m_db.PrintDrinks();
        QCOMPARE(sheet.jobs, 2);
        QCOMPARE(boxes.texts(), QStringList{"There are no drinks tagged for printing."});
        QCOMPARE(boxes.messages().first().icon(), int(msgbox::vbInformation));
    }

    // Without a printer the job becomes a PDF in the documents folder, never in place of an earlier
    // one; read back, it holds the three drinks in order. Printer Setup can aim the job at a file; a
    // file that cannot be written is reported.
    void realPdf()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty() || !QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("needs pdftotext and a system without printers");
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        StartedProgram p;
        const QDir documents(home.filePath(QStringLiteral("Documents")));
        p.db().database().Execute(QStringLiteral("UPDATE Drinks SET Print = (ID <= 3)"));
        p.db().PrintDrinks();
        const QString file = documents.entryInfoList(QDir::Files).value(0).filePath();
        QCOMPARE(p.form().statusText(), "No printer is set up, so the drinks were saved as " + file + '.');
        QProcess run;
        run.start(pdftotext, {QStringLiteral("-layout"), file, QStringLiteral("-")});
        QVERIFY(run.waitForFinished());
        const QString text = QString::fromUtf8(run.readAllStandardOutput()).normalized(QString::NormalizationForm_KC).simplified();
        qsizetype at = 0;
        const auto next = [&](const QString &piece) { return (at = text.indexOf(piece.simplified(), at)) >= 0; };
        for (const library::Drink &d : fixture::starterContents().drinks.mid(0, 3)) {
            QVERIFY2(next(d.name), qPrintable(d.name));
            for (const library::Line &l : d.lines)
                QVERIFY(next(l.amount.isEmpty() ? l.ingredient : l.amount + ' ' + l.ingredient));
            QVERIFY(next(d.directions) && next(d.comments.toString()));
        }
        p.db().PrintDrinks();
        QCOMPARE(documents.entryList(QDir::Files).size(), 2);
        // Measured on the PDF target: CR LF ends one line, and no line is drawn past the bottom margin.
        const auto pdf = OpenPrintJob(nullptr);
        pdf->Print(QStringLiteral("a"), true);
        const double line = pdf->CurrentY();
        pdf->Print(QStringLiteral("b\r\nc"), true);
        QCOMPARE(pdf->CurrentY(), 3 * line);
        for (int i = 0; i < 200; ++i) {
            const double y = pdf->CurrentY();
            pdf->Print(QStringLiteral("d"), true);
            QVERIFY(pdf->CurrentY() == line || y + line <= pdf->ScaleHeight());
        }
        QVERIFY(pdf->EndDoc().ok);
        QCOMPARE(documents.entryList(QDir::Files).size(), 3);
        for (const QString &chosen : {p.folder() + "/missing/x.pdf", p.folder() + "/x.pdf"}) {
            setFileDialogHandler([&](FileDialogKind, CommonDialog &) { return std::optional<QString>(chosen); });
            p.form().CommonDialog1.ShowPrinter();
            p.db().PrintDrinks();
        }
        setFileDialogHandler({});
        QVERIFY(p.boxes().texts().size() == 1 && p.boxes().texts()[0].startsWith("The drinks could not be printed. " + p.folder() + "/missing/x.pdf"));
        QCOMPARE(p.form().statusText(), "The drinks were saved as " + p.folder() + "/x.pdf.");
    }

private:
    TempSettings m_settings; // opening a library records it in the settings
    QTemporaryDir m_dir;
    CDatabase m_db;
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
