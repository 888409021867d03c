// Opening, checking, upgrading and closing the database file.

#include "store/CDatabase.h"

#include "core/product_info.h"
#include "core/settings_access.h"
#include "store/CGeneralDatabase.h"
#include "store/file_lock.h"

#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace {
QString fileNameOnly(const QString &path)
{
    const int cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(cut + 1);
}

// A library is changed through a journal beside it, so the file and its folder must both be writable.
QString whyReadOnly(const QString &path)
{
    const QFileInfo file(path);
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return QStringLiteral("the file '%1' is read-only").arg(path);
    if (::access(QFile::encodeName(file.absolutePath()).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("its folder '%1' is read-only, and every change needs a journal file there").arg(file.absolutePath());
    return QString();
}

[[noreturn]] void notOpen()
{
    throw EngineError(err::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
}
} // namespace

CDatabase::CDatabase() = default;

CDatabase::~CDatabase() = default;

void CDatabase::setFileName(const QString &path)
{
    m_fileName = path;
}

bool CDatabase::DbOpen()
{
    if (m_db)
        DbClose();
    // Reading a pipe or a device would block or never end, and a lock file beside it has no place.
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isDir() && !info.isFile())
        throw EngineError(err::CannotOpenFile,
                          QStringLiteral("Cannot open '%1': it is not a regular file, so it cannot be a database.").arg(m_fileName));
    // A lock this store already holds on the same file (compaction takes it on the new file before
    // the file takes the database's name) is kept; anything else is locked afresh.
    if (!m_fileLock || !m_fileLock->covers(m_fileName))
        m_fileLock = FileLock::acquire(m_fileName);
    try {
        // Under the lock, before the engine would play a journal back into the file.
        setAsideStrayJournal();
        m_db = engine::OpenDatabase(m_fileName, false, false, engine::kConnect);
        engine::CheckLibraryFile(*m_db);
        CheckDatabase();
        m_ingredients = m_db->OpenRecordset(QStringLiteral("Ingredients"), engine::dbOpenDynaset);
        m_drinkRel = m_db->OpenRecordset(QStringLiteral("DrinkRel"), engine::dbOpenDynaset);
        m_drinks = m_db->OpenRecordset(QStringLiteral("Drinks"), engine::dbOpenDynaset);
    } catch (...) {
        // Leave the store closed rather than half open.
        DbClose();
        throw;
    }
    // Only a file that opened and passed its checks becomes the one the next start opens, so no
    // file can lock the user out.
    SaveSetting(kAppTitle, QStringLiteral("Options"), QStringLiteral("Database"), m_fileName);
    m_readOnlyReason = whyReadOnly(m_fileName);
    // A new connection: the history of the one before does not fit it.
    try {
        m_undo.attach(*m_db);
    } catch (const EngineError &) {
        // The library works without undo; the Edit menu then offers none.
    }
    if (m_output) {
        m_output->setCaption(kAppTitle + QStringLiteral(" - ") + fileNameOnly(m_fileName)
                             + (m_readOnlyReason.isEmpty() ? QString() : QStringLiteral(" (read-only)")));
        m_output->setReadOnlyNotice(m_readOnlyReason);
    }
    return true;
}

bool CDatabase::DbClose()
{
    const bool wasOpen = m_db != nullptr;
    m_currentDrink.reset();
    m_currentDrinkName.clear();
    m_ingredients.reset();
    m_drinkRel.reset();
    m_drinks.reset();
    if (m_db)
        m_db->Close();
    m_db.reset();
    m_listMarksStamp = {-1, -1};
    m_listMarks.clear();
    m_fileLock.reset();
    m_readOnlyReason.clear();
    m_barListMissing = false;
    m_undo.clear();
    m_backupDay = QDate();
    if (m_output)
        m_output->setReadOnlyNotice(QString());
    return wasOpen;
}

void CDatabase::CheckDatabase()
{
    const QString table = QStringLiteral("Ingredients");
    const QString field = QStringLiteral("Has");
    m_barListMissing = false;
    if (CGeneralDatabase::DoesFieldExist(*m_db, table, field))
        return;
    if (m_output)
        m_output->notify(QStringLiteral("Zestro has noticed you have an old database that doesn't support the latest Bar List "
                                        "feature.  Please wait while the database is being modified."),
                         Notice::Information);
    engine::TableDef tableDef = m_db->TableDefs(table);
    try {
        CGeneralDatabase::AddField(*m_db, tableDef, field, engine::dbBoolean);
    } catch (const EngineError &e) {
        // The library still opens and is read as it is: everything but the bar list works without
        // the field (barListMark).
        m_barListMissing = true;
        if (m_output)
            m_output->notify(e.description(), Notice::Exclamation);
    }
}

QString CDatabase::barListMark(const QString &column) const
{
    return m_barListMissing ? QStringLiteral("0") : column;
}

void CDatabase::requireBarList() const
{
    requireWritable();
    if (m_barListMissing)
        throw EngineError(err::ReadOnly, QStringLiteral("This library was made by an older version of Zestro and could not be brought up "
                                                        "to date when it was opened, so its bar list cannot be changed.  Open it again to "
                                                        "try once more.  Nothing was changed."));
}

void CDatabase::requireWritable() const
{
    // Another program may have deleted the file or put another in its place: writes would go to a
    // file nobody can reach any more, or the other file would be changed behind its owner's back.
    if (m_fileLock && !m_fileLock->covers(m_fileName))
        throw EngineError(err::CannotOpenFile, QStringLiteral("The library '%1' was removed or replaced by another program while Zestro "
                                                              "had it open.  Nothing was changed; open it again with File|Open.")
                                                   .arg(m_fileName));
    if (!m_readOnlyReason.isEmpty())
        throw EngineError(err::ReadOnly, QStringLiteral("This library cannot be changed: %1.  Nothing was changed.").arg(m_readOnlyReason));
    takeDailyBackup();
}

engine::Database &CDatabase::database()
{
    if (!m_db)
        notOpen();
    return *m_db;
}

engine::Recordset &CDatabase::drinksTable()
{
    if (!m_drinks)
        notOpen();
    return *m_drinks;
}

engine::Recordset &CDatabase::ingredientsTable()
{
    if (!m_ingredients)
        notOpen();
    return *m_ingredients;
}

engine::Recordset &CDatabase::drinkRelTable()
{
    if (!m_drinkRel)
        notOpen();
    return *m_drinkRel;
}
