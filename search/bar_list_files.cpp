// Bar-list files: the names of the ingredients on the bar list, one a line, each ended by CR LF.
// Export writes the marked names; import replaces the marks by the names a file lists.

#include "store/CDatabase.h"

#include "common/common_dialog.h"
#include "common/message_box.h"
#include "core/name_order.h"
#include "core/name_text.h"
#include "search/bar_list_text.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kExportFailed = QStringLiteral("There was an error exporting your bar list.");
const QString kImportFailed = QStringLiteral("There was an error importing your bar list.");
// Far more than the longest bar list (all 32,767 possible ingredients, 255 characters each, make
// about 8 MB); a bigger file is not one, and no more of it than this is read into memory.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;
// Up to this many lines naming no ingredient get a message each; more share one message.
constexpr qsizetype kMessagesOneByOne = 3;
const QString kDoesNotExist = QStringLiteral(
    " doesn't exist in the database.  There is probably something similar you can select instead.  If not, you can add "
    "it.  To do either, go to Tools|Edit Ingredients.");

[[noreturn]] void fileError(const QString &description)
{
    throw EngineError(err::PathFileAccess, description);
}

void showFailure(const QString &lead, const EngineError &e)
{
    MsgBox(lead + QStringLiteral("\n\n") + QString::number(e.number()) + QStringLiteral(": ") + e.description());
}

// Through a temporary file: a failed write leaves the file that was there untouched.
void writeBarList(const QString &path, const QStringList &names)
{
    QString text;
    for (const QString &name : names)
        text += name + QStringLiteral("\r\n");
    const QByteArray bytes = encodeBarList(text);
    QSaveFile file(path);
    // Unbuffered: the one write meets a full disk itself and says so, not a later flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fileError(QStringLiteral("Cannot write '%1': %2").arg(path, file.errorString()));
    // A short write is no error by itself; the next one reports why (a full disk).
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString why = file.errorString();
            file.cancelWriting();
            fileError(QStringLiteral("Cannot write '%1': %2").arg(path, why));
        }
        done += written;
    }
    if (!file.commit())
        fileError(QStringLiteral("Cannot write '%1': %2").arg(path, file.errorString()));
}

[[noreturn]] void cannotRead(const QString &path, int error)
{
    fileError(QStringLiteral("Cannot read '%1': %2").arg(path, qt_error_string(error)));
}

// Only a regular file is read. Opening a named pipe waits for a writer that may never come, and a
// device such as /dev/zero never ends.
void requireRegularFile(const QString &path, const struct stat &info)
{
    if (S_ISREG(info.st_mode))
        return;
    if (S_ISDIR(info.st_mode))
        cannotRead(path, EISDIR);
    const char *kind = S_ISFIFO(info.st_mode) ? "a named pipe" : S_ISSOCK(info.st_mode) ? "a socket" : "a device";
    fileError(QStringLiteral("'%1' is not a bar list: it is %2, not a file.").arg(path, QLatin1String(kind)));
}

QByteArray readRegularFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) // follows links, as the open does
        cannotRead(path, errno);
    requireRegularFile(path, info);
    // Without waiting, should the name have become a pipe since; and checked again once open.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        cannotRead(path, errno);
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &info) != 0)
        cannotRead(path, errno);
    requireRegularFile(path, info);
    const QString tooLarge = QStringLiteral("'%1' is too large to be a bar list.").arg(path);
    if (info.st_size > kLargestFile)
        fileError(tooLarge);
    // The file may grow while it is read: the cap holds for what is read, not for what stat said.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > kLargestFile)
                fileError(tooLarge);
            bytes.resize(qMin(done * 2, qsizetype(kLargestFile) + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            cannotRead(path, errno);
        done += qMax<ssize_t>(got, 0);
    }
    bytes.truncate(done);
    return bytes;
}

QStringList readBarList(const QString &path)
{
    const std::optional<QStringList> names = barListNames(readRegularFile(path));
    if (!names)
        fileError(QStringLiteral("'%1' is not a bar list: it is not a text file.").arg(path));
    return *names;
}

void setHas(engine::Recordset &ingredients, bool value)
{
    ingredients.Edit();
    ingredients.Fields(QStringLiteral("Has")) = value;
    ingredients.Update();
}

// The key under which a name is found: the program's one name rule.
QString findKey(const QString &name)
{
    return nameKey(name);
}

// Clears the bar list and marks the listed names, all or nothing. Gives the lines that name no
// ingredient. The names are read once, not found once a line: a long list stays quick. A file that
// names no ingredient at all (another kind of file, or a list from another library) would only
// clear the bar list: then nothing changes and `changed` is false.
QStringList replaceBarList(engine::Database &db, engine::Recordset &ingredients, const QStringList &lines, bool &changed)
{
    QStringList unknown;
    changed = false;
    db.BeginTrans();
    try {
        ingredients.Requery();
        // A name held by several rows marks the first of them, as a find would.
        QHash<QString, int> rowOfName;
        int rows = 0;
        for (; !ingredients.Eof(); ingredients.MoveNext(), ++rows) {
            const QVariant name = ingredients.Fields(QStringLiteral("Ingredient")).Value();
            if (!name.isNull())
                rowOfName.insert(findKey(name.toString()), rows); // keeps the first row's
        }
        QSet<int> listed;
        for (const QString &line : lines) {
            const auto row = rowOfName.constFind(findKey(line));
            if (row == rowOfName.cend())
                unknown << line;
            else
                listed.insert(*row);
        }
        if (listed.isEmpty() && !unknown.isEmpty()) {
            db.CommitTrans(); // nothing written
            return unknown;
        }
        changed = true;
        if (rows > 0)
            ingredients.MoveFirst();
        for (int row = 0; row < rows; ++row, ingredients.MoveNext()) {
            if (ingredients.Fields(QStringLiteral("Has")).Value().toBool())
                setHas(ingredients, false);
            if (listed.contains(row))
                setHas(ingredients, true);
        }
        db.CommitTrans();
    } catch (...) {
        try {
            db.Rollback();
        } catch (const EngineError &) {
            // The first error is the one worth reporting.
        }
        throw;
    }
    return unknown;
}

QString shownName(const QString &line)
{
    return nameInMessage(line, QLatin1Char('\''));
}

// One message for a file none of whose names is an ingredient, naming its first name.
void reportNoneKnown(const QString &path, const QStringList &unknown)
{
    QString text = kImportFailed
                   + QStringLiteral("\n\nNo name in '%1' is an ingredient in the database, so your bar list was left as it was.")
                         .arg(path);
    const auto first = std::find_if(unknown.cbegin(), unknown.cend(), [](const QString &name) { return !name.isEmpty(); });
    if (first != unknown.cend())
        text += QStringLiteral("  The first name in the file is %1.").arg(shownName(*first));
    MsgBox(text);
}

// A few unknown names get a message each; a long list of them one message that names the first
// few, so the user is not held up by a box for every line.
void reportUnknown(const QStringList &unknown)
{
    if (unknown.size() <= kMessagesOneByOne) {
        for (const QString &line : unknown)
            MsgBox(shownName(line) + kDoesNotExist, msgbox::vbInformation);
        return;
    }
    QString text = QStringLiteral("These names don't exist in the database:\n");
    for (qsizetype i = 0; i < kMessagesOneByOne; ++i)
        text += QLatin1Char('\n') + shownName(unknown[i]);
    const qsizetype more = unknown.size() - kMessagesOneByOne;
    text += more == 1 ? QStringLiteral("\nand 1 more name was not found.")
                      : QStringLiteral("\nand %1 more names were not found.").arg(more);
    MsgBox(text + QStringLiteral("\n\nThere is probably something similar you can select instead.  If not, you can add them.  "
                                 "To do either, go to Tools|Edit Ingredients."),
           msgbox::vbInformation);
}

} // namespace

bool CDatabase::BarlistExport()
{
    if (!m_output)
        return false;
    CommonDialog &dialog = m_output->commonDialog();
    try {
        dialog.ShowSave(m_output->dialogParent());
        QStringList names;
        engine::Recordset &ingredients = ingredientsTable();
        ingredients.Requery(); // from the first row, with rows added or removed by action queries
        if (!ingredients.Eof()) {
            engine::Field name = ingredients.Fields(QStringLiteral("Ingredient"));
            std::optional<engine::Field> has; // none on a file without the column: an empty bar list
            if (hasBarListColumn())
                has.emplace(ingredients.Fields(QStringLiteral("Has")));
            for (; has && !ingredients.Eof(); ingredients.MoveNext()) {
                if (has->Value().toBool())
                    names << name.Value().toString();
            }
        }
        writeBarList(dialog.FileName, names);
        return true;
    } catch (const EngineError &e) {
        if (e.number() != err::DialogCancelled)
            showFailure(kExportFailed, e);
        return false;
    }
}

bool CDatabase::BarlistImport()
{
    if (!m_output)
        return false;
    UndoStep step(*this, QStringLiteral("Import Bar List"));
    CommonDialog &dialog = m_output->commonDialog();
    QStringList unknown;
    bool changed = false;
    try {
        requireBarList(); // said before the user picks a file, not after
        dialog.ShowOpen(m_output->dialogParent());
        // The whole file is read before the bar list changes, so a bad file costs nothing.
        const QStringList lines = readBarList(dialog.FileName);
        unknown = replaceBarList(database(), ingredientsTable(), lines, changed);
    } catch (const EngineError &e) {
        if (e.number() != err::DialogCancelled)
            showFailure(kImportFailed, e);
        return false;
    }
    if (!changed) {
        reportNoneKnown(dialog.FileName, unknown);
        return false;
    }
    reportUnknown(unknown);
    return true;
}
