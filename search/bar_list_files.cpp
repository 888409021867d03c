// Bar-list files: the names of the ingredients on the bar list, one a line, each ended by CR LF.
// Export writes the marked names; import replaces the marks by the names a file lists.

#include "store/CDatabase.h"

#include "common/common_dialog.h"
#include "common/message_box.h"
#include "store/engine/jet_dialect.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

const QString kExportFailed = QStringLiteral("There was an error exporting your bar list.");
const QString kImportFailed = QStringLiteral("There was an error importing your bar list.");
// Longer than any ingredient name can be; such a line is shortened in its message.
constexpr qsizetype kLongestName = 255;
// Far more than the longest bar list; a bigger file is not one, and is not read into memory.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

[[noreturn]] void fileError(const QString &description)
{
    throw EngineError(err::PathFileAccess, description);
}

void showFailure(const QString &lead, const EngineError &e)
{
    MsgBox(lead + QStringLiteral("\n\n") + QString::number(e.number()) + QStringLiteral(": ") + e.description());
}

// Text as a bar list is read: a byte-order mark names its encoding; otherwise UTF-8 when the bytes
// are valid UTF-8, else Latin-1, the 8-bit code page older files were written in. Nothing when
// the bytes are not text.
std::optional<QString> decodeBarList(QByteArrayView bytes)
{
    QString text;
    const auto marked = QStringConverter::encodingForData(bytes);
    if (marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked); // drops the mark
        text = decoder(bytes);
        if (decoder.hasError())
            return std::nullopt;
    } else {
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes = bytes.sliced(3);
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8(bytes);
        if (utf8.hasError())
            text = QString::fromLatin1(bytes);
    }
    if (text.contains(QChar(0)))
        return std::nullopt;
    return text;
}

// Latin-1 keeps the file 8-bit, as other bar-list tools expect. Names outside Latin-1 make the
// file UTF-8; so does Latin-1 text whose bytes would read back as UTF-8 and change.
QByteArray encodeBarList(const QString &text)
{
    const bool latin1 = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (latin1) {
        const QByteArray bytes = text.toLatin1();
        if (decodeBarList(bytes) == text)
            return bytes;
    }
    return text.toUtf8();
}

// Lines ended by CR LF, LF or a lone CR; a last line without its end counts too.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
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

QStringList readBarList(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fileError(QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString()));
    if (file.size() > kLargestFile)
        fileError(QStringLiteral("'%1' is too large to be a bar list.").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fileError(QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString()));
    const std::optional<QString> text = decodeBarList(bytes);
    if (!text)
        fileError(QStringLiteral("'%1' is not a bar list: it is not a text file.").arg(path));
    return splitLines(*text);
}

void setHas(engine::Recordset &ingredients, bool value)
{
    ingredients.Edit();
    ingredients.Fields(QStringLiteral("Has")) = value;
    ingredients.Update();
}

// Clears the bar list and marks the listed names, all or nothing. Gives the lines that name no
// ingredient.
QStringList replaceBarList(engine::Database &db, engine::Recordset &ingredients, const QStringList &lines)
{
    QStringList unknown;
    db.BeginTrans();
    try {
        const QString marked = QStringLiteral("[Has] = True");
        ingredients.Requery();
        for (ingredients.FindFirst(marked); !ingredients.NoMatch(); ingredients.FindNext(marked))
            setHas(ingredients, false);
        for (const QString &line : lines) {
            ingredients.FindFirst(QStringLiteral("[Ingredient] = ") + engine::quotedName(line));
            if (ingredients.NoMatch())
                unknown << line;
            else
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
            engine::Field has = ingredients.Fields(QStringLiteral("Has"));
            for (; !ingredients.Eof(); ingredients.MoveNext()) {
                if (has.Value().toBool())
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
    CommonDialog &dialog = m_output->commonDialog();
    QStringList unknown;
    try {
        dialog.ShowOpen(m_output->dialogParent());
        // The whole file is read before the bar list changes, so a bad file costs nothing.
        const QStringList lines = readBarList(dialog.FileName);
        unknown = replaceBarList(database(), ingredientsTable(), lines);
    } catch (const EngineError &e) {
        if (e.number() != err::DialogCancelled)
            showFailure(kImportFailed, e);
        return false;
    }
    for (const QString &line : unknown) {
        const QString shown = line.size() > kLongestName ? line.left(kLongestName) + QStringLiteral("...") : line;
        MsgBox(QStringLiteral("'") + shown
                   + QStringLiteral("' doesn't exist in the database.  There is probably something similar you can select "
                                    "instead.  If not, you can add it.  To do either, go to Tools|Edit Ingredients."),
               msgbox::vbInformation);
    }
    return true;
}
