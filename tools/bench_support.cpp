#include "tools/bench_support.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace bench {

double medianTime(int runs, const std::function<void(int)> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work(i);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.empty() ? 0 : times[times.size() / 2];
}

void report(const char *operation, int drinks, double ours, double floor, int runs)
{
    if (floor <= 0)
        std::printf("BENCH %s %d ours_ms=%.3f floor_ms=%s runs=%d ratio=-\n", operation, drinks, ours, floor < 0 ? "-" : "0.000", runs);
    else
        std::printf("BENCH %s %d ours_ms=%.3f floor_ms=%.3f runs=%d ratio=%.2f\n", operation, drinks, ours, floor, runs, ours / floor);
    std::fflush(stdout);
}

RawConnection::RawConnection(const QString &path)
{
    sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    exec("PRAGMA key = 'qorvbelz'");
    exec("SELECT count(*) FROM sqlite_master");
}

RawConnection::~RawConnection()
{
    sqlite3_close_v2(m_db);
}

void RawConnection::exec(const char *sql)
{
    sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
}

int RawConnection::rows(const char *sql, const QVariantList &values)
{
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr);
    for (int i = 0; i < values.size(); ++i) {
        if (values[i].typeId() == QMetaType::QString) {
            const QByteArray utf8 = values[i].toString().toUtf8();
            sqlite3_bind_text(s, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int(s, i + 1, values[i].toInt());
        }
    }
    int n = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(s); ++c)
            sqlite3_column_text(s, c);
        ++n;
    }
    sqlite3_finalize(s);
    return n;
}

} // namespace bench
