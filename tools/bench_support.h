#pragma once
// Shared pieces of the benchmark program: timing, the one-line report and a bare keyed connection
// for the floor figures.

#include "store/engine/library_builder.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <sqlite3.h>
#include <vector>

class frmMain;

namespace bench {

double medianTime(int runs, const std::function<void(int)> &work);
// BENCH <operation> <drinks> ours_ms=<median> floor_ms=<median or -> runs=<n> ratio=<ours/floor or ->;
// a negative floor prints "-".
void report(const char *operation, int drinks, double ours, double floor, int runs);

// A bare keyed connection: the floor is the same work done with prepared statements on it.
class RawConnection {
public:
    explicit RawConnection(const QString &path);
    ~RawConnection();
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;
    void exec(const char *sql);
    // Prepares, binds the values in order, steps through every row and reads its columns.
    int rows(const char *sql, const QVariantList &values = {});

private:
    sqlite3 *m_db = nullptr;
};

struct Context {
    int drinks;
    QString path;
    library::Library contents;
    QStringList only; // the operations to run, or empty for all
    bool wanted(const char *operation) const { return only.isEmpty() || only.contains(QLatin1String(operation)); }
};

// Starts the program on the library the way a user would, without the splash window, the tip and
// the random drink; the form then holds a filled list.
void startQuietly(::frmMain &form, const QString &path);

void benchStore(const Context &c);
void benchWindows(const Context &c);
void benchBarList(const Context &c);
void benchEdit(const Context &c);
void benchIngredients(const Context &c);
void benchOutput(const Context &c);
void benchPrinting(const Context &c);
void benchExchange(const Context &c);
void benchBuyNext(const Context &c);
void benchMyBar(const Context &c);
void benchUndo(const Context &c);
void benchBackup(const Context &c);

} // namespace bench
