// Benchmarks of the library's backups: File, Back Up Library... (floor: a plain byte copy of the
// file), a write (floor: none), and the first write of a day, which takes the daily backup before
// it (floor: the write and the backup timed apart, added). The first write of a day must not take
// more than twice that sum.

#include "tools/bench_support.h"

#include "common/seams.h"
#include "store/CDatabase.h"
#include "store/write_transaction.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace bench {

void benchBackup(const Context &c)
{
    const QString name = QStringLiteral("backup_%1").arg(c.drinks);
    if (!c.wanted("backup") && !c.wanted(name.toLatin1().constData()) && !c.wanted("first_write_of_day"))
        return;
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("zestro.mdb"));
    QFile::copy(c.path, library);
    QDateTime day(QDate(2026, 12, 10), QTime(9, 0));
    setDateTimeSource([&day] { return day; });
    CDatabase db;
    db.setFileName(library);
    db.DbOpen();
    constexpr int runs = 5;

    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    const double backup = medianTime(runs, [&](int) {
        QFile::remove(copy);
        db.backUpTo(copy);
    });
    const double bytes = medianTime(runs, [&](int) {
        QFile::remove(copy);
        QFile::copy(library, copy);
    });
    report("backup", c.drinks, backup, bytes, runs);

    auto write = [&] {
        WriteTransaction tx(db);
        db.database().executeNative(QStringLiteral("UPDATE Drinks SET Tried = 1 - Tried WHERE ID = 1"));
        tx.commit();
    };
    write(); // today's backup is taken: the writes below take none
    const double plain = medianTime(runs, [&](int) { write(); });
    report("write", c.drinks, plain, -1, runs);
    const double first = medianTime(runs, [&](int) {
        day = day.addDays(1);
        write();
    });
    if (!QFileInfo::exists(QDir(dir.filePath(QStringLiteral("backups"))).filePath(QStringLiteral("zestro-%1.mdb").arg(day.date().toString(Qt::ISODate)))))
        qFatal("the first write of a day took no backup");
    report("first_write_of_day", c.drinks, first, plain + backup, runs);
    std::printf("CHECK first_write_of_day %d %s (%.1f ms <= 2 x %.1f ms)\n", c.drinks, first <= 2 * (plain + backup) ? "ok" : "SLOW",
                first, plain + backup);
    std::printf("CHECK backup %d %s (%.1f ms < 1000 ms)\n", c.drinks, backup < 1000 ? "ok" : "SLOW", backup);
    setDateTimeSource({});
}

} // namespace bench
