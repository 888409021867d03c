// A journal left beside the library by a crash is played back by the engine at the next open. That
// is right for a journal of this very file, and ruinous for one left before the user put another
// file (another library, a restored copy) under the name: it is set aside instead.

#include "store/CDatabase.h"

#include "common/seams.h"
#include "store/engine/journal_check.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>

void CDatabase::setAsideStrayJournal()
{
    const engine::JournalCheck check = engine::CheckJournal(m_fileName, engine::kConnect);
    if (check.fit != engine::JournalFit::Stray)
        return;
    const QString journal = engine::journalPath(m_fileName);
    const QString stamp = CurrentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = journal + QStringLiteral(".stray-") + stamp;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = journal + QStringLiteral(".stray-%1-%2").arg(stamp).arg(n);
    if (::rename(QFile::encodeName(journal).constData(), QFile::encodeName(aside).constData()) != 0)
        throw EngineError(err::CannotOpenFile,
                          QStringLiteral("The journal file '%1' beside the library '%2' cannot be its own (%3), and it cannot be set aside (%4).  "
                                         "The library was not opened, so that the journal is not played back into it.")
                              .arg(journal, m_fileName, check.why, QString::fromLocal8Bit(std::strerror(errno))));
    if (m_output)
        m_output->notify(QStringLiteral("The journal file '%1' beside the library '%2' was not played back into it: %3.  "
                                        "It was set aside as '%4'.")
                             .arg(journal, m_fileName, check.why, QFileInfo(aside).fileName()),
                         Notice::Exclamation);
}
