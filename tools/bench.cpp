// zestro-bench: times the program's operations on synthetic libraries of 1,000, 10,000 and 30,000
// drinks and prints one line per figure:
//   BENCH <operation> <drinks> ours_ms=<median> floor_ms=<median of the bare SQLite query, or -> runs=<n>
// The floor is the same work done with a prepared statement on a raw connection, so the distance
// between the two is what the program's own layers cost.
//
//   zestro-bench [--sizes 1000,10000,30000] [--dir FOLDER] [--only OPERATION]

#include "app/frmMain.h"
#include "store/CDatabase.h"
#include "store/engine/library_builder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <sqlite3.h>
#include <unistd.h>

namespace {

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double timeOnce(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

double medianTime(int runs, const std::function<void(int)> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(timeOnce([&] { work(i); }));
    return medianOf(times);
}

void report(const char *operation, int drinks, double ours, double floor, int runs)
{
    if (floor < 0)
        std::printf("BENCH %s %d ours_ms=%.3f floor_ms=- runs=%d\n", operation, drinks, ours, runs);
    else
        std::printf("BENCH %s %d ours_ms=%.3f floor_ms=%.3f runs=%d\n", operation, drinks, ours, floor, runs);
    std::fflush(stdout);
}

// A bare keyed connection for the floor figures.
class RawConnection {
public:
    explicit RawConnection(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        exec("PRAGMA key = 'qorvbelz'");
        exec("SELECT count(*) FROM sqlite_master");
    }
    ~RawConnection() { sqlite3_close_v2(m_db); }
    void exec(const char *sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    // Prepares, binds one value, steps through every row; as a caller of SQLite would.
    int rows(const char *sql, const QVariant &value = QVariant())
    {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr);
        if (value.typeId() == QMetaType::QString) {
            const QByteArray utf8 = value.toString().toUtf8();
            sqlite3_bind_text(s, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else if (value.isValid()) {
            sqlite3_bind_int(s, 1, value.toInt());
        }
        int n = 0;
        while (sqlite3_step(s) == SQLITE_ROW)
            ++n;
        sqlite3_finalize(s);
        return n;
    }

private:
    sqlite3 *m_db = nullptr;
};

struct Context {
    int drinks;
    QString path;
    library::Library contents;
};

void benchOpen(const Context &c)
{
    const int runs = 7;
    frmMain form;
    const double ours = medianTime(runs, [&](int) {
        CDatabase db;
        db.setOutputForm(&form);
        db.setFileName(c.path);
        db.DbOpen();
        db.DbClose();
    });
    const double floor = medianTime(runs, [&](int) { RawConnection raw(c.path); });
    report("open", c.drinks, ours, floor, runs);
}

void benchLookups(const Context &c, const QString &only)
{
    const int runs = 101;
    CDatabase db;
    db.setFileName(c.path);
    db.DbOpen();
    RawConnection raw(c.path);
    std::mt19937 rng(42);
    std::vector<QString> drinkNames, ingredientNames;
    for (int i = 0; i < runs; ++i) {
        drinkNames.push_back(c.contents.drinks[int(rng() % c.contents.drinks.size())].name);
        ingredientNames.push_back(c.contents.ingredients[int(rng() % c.contents.ingredients.size())].name);
    }
    const int ingredientCount = int(c.contents.ingredients.size());
    auto wanted = [&](const char *op) { return only.isEmpty() || only == QLatin1String(op); };

    if (wanted("DoesDrinkExist")) {
        const double ours = medianTime(runs, [&](int i) { db.DoesDrinkExist(drinkNames[size_t(i)]); });
        const double floor = medianTime(runs, [&](int i) {
            raw.rows("SELECT rowid FROM Drinks WHERE Name = ? LIMIT 1", drinkNames[size_t(i)]);
        });
        report("DoesDrinkExist", c.drinks, ours, floor, runs);
    }
    if (wanted("GetIngID")) {
        const double ours = medianTime(runs, [&](int i) { db.GetIngID(ingredientNames[size_t(i)]); });
        const double floor = medianTime(runs, [&](int i) {
            raw.rows("SELECT ID FROM Ingredients WHERE Ingredient = ?", ingredientNames[size_t(i)]);
        });
        report("GetIngID", c.drinks, ours, floor, runs);
    }
    if (wanted("GetIngName")) {
        const double ours = medianTime(runs, [&](int i) { db.GetIngName(qint16(1 + (i * 37) % ingredientCount)); });
        const double floor = medianTime(runs, [&](int i) {
            raw.rows("SELECT Ingredient FROM Ingredients WHERE ID = ?", 1 + (i * 37) % ingredientCount);
        });
        report("GetIngName", c.drinks, ours, floor, runs);
    }
    if (wanted("DrinkCount")) {
        const double ours = medianTime(runs, [&](int) { db.DrinkCount(); });
        const double floor = medianTime(runs, [&](int) { raw.rows("SELECT count(*) FROM Drinks"); });
        report("DrinkCount", c.drinks, ours, floor, runs);
    }
}

void benchCompact(const Context &c)
{
    const int runs = 3;
    // A copy, so the other figures keep their own file.
    const QString path = QFileInfo(c.path).dir().filePath(QStringLiteral("compact%1.mdb").arg(c.drinks));
    QFile::remove(path);
    QFile::copy(c.path, path);
    frmMain form;
    CDatabase db;
    db.setOutputForm(&form);
    db.setFileName(path);
    db.DbOpen();
    const double ours = medianTime(runs, [&](int) { db.DbCompact(); });
    db.DbClose();
    // The bare engine operation: export to a new keyed file without a journal, flushed once.
    const QString copy = path + QStringLiteral(".export");
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(copy) + "' AS compacted KEY 'qorvbelz'";
    const double floor = medianTime(runs, [&](int) {
        QFile::remove(copy);
        QFile created(copy); // ATTACH cannot create the file on a connection opened without CREATE
        created.open(QIODevice::WriteOnly);
        created.close();
        RawConnection raw(path);
        raw.exec(attach.constData());
        raw.exec("PRAGMA compacted.journal_mode = OFF");
        raw.exec("PRAGMA compacted.synchronous = OFF");
        raw.exec("SELECT sqlcipher_export('compacted')");
        raw.exec("DETACH DATABASE compacted");
        QFile done(copy);
        done.open(QIODevice::ReadOnly);
        ::fsync(done.handle());
    });
    QFile::remove(copy);
    QFile::remove(path);
    report("compact", c.drinks, ours, floor, runs);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption sizesOption(QStringLiteral("sizes"), QStringLiteral("Library sizes."), QStringLiteral("list"),
                                         QStringLiteral("1000,10000,30000"));
    const QCommandLineOption dirOption(QStringLiteral("dir"), QStringLiteral("Folder for the libraries (kept)."), QStringLiteral("folder"));
    const QCommandLineOption onlyOption(QStringLiteral("only"), QStringLiteral("Run one operation."), QStringLiteral("operation"));
    parser.addOptions({sizesOption, dirOption, onlyOption});
    parser.process(app);

    // Keep the user's own settings out of it: opening a library records its path.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QTemporaryDir scratch;
    const QString folder = parser.isSet(dirOption) ? parser.value(dirOption) : scratch.path();
    QDir().mkpath(folder);
    const QString only = parser.value(onlyOption);

    for (const QString &size : parser.value(sizesOption).split(QLatin1Char(','))) {
        Context c{size.toInt(), QDir(folder).filePath(QStringLiteral("bench%1.mdb").arg(size)), library::syntheticLibrary(size.toInt(), 1)};
        if (!QFile::exists(c.path))
            library::writeLibrary(c.path, c.contents);
        QFile::remove(c.path + QStringLiteral(".lock"));
        if (only.isEmpty() || only == QLatin1String("open"))
            benchOpen(c);
        benchLookups(c, only);
        if (only.isEmpty() || only == QLatin1String("compact"))
            benchCompact(c);
    }
    return 0;
}
