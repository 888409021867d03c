// Tools, Compact database: the store rewrites the file; this tells the user how it went.

#include "store/CDatabase.h"

#include "common/busy_cursor.h"
#include "common/message_box.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "core/number_format.h"

namespace {

void showError(const EngineError &e)
{
    MsgBox(QStringLiteral("Error: ") + e.description() + QLatin1Char('\n') + QStringLiteral("Number: ")
           + QString::number(e.number()));
}

void showSelectedDrink(CDatabase &db)
{
    const QString selected = db.output() ? db.output()->selectedDrinkName() : QString();
    if (!selected.isEmpty())
        db.ShowDrinkInfo(selected);
}

} // namespace

bool CDatabase::DbCompact()
{
    const double start = SecondsSinceMidnight();
    if (m_output)
        m_output->setStatusText(QStringLiteral("Compacting database."));
    BusyCursor busy;
    try {
        const CompactionResult result = compactFile();
        const double elapsed = elapsedSeconds(start, SecondsSinceMidnight());
        const QString freed = formatThousands(double(result.sizeBefore - result.sizeAfter) / 1000);
        if (m_output)
            m_output->setStatusText(QStringLiteral("Done compacting. Took ") + formatSeconds(elapsed)
                                    + QStringLiteral(" seconds and freed ") + freed + QStringLiteral("k."));
        busy.restore();
        showSelectedDrink(*this);
        return true;
    } catch (const CompactionFailed &failed) {
        if (failed.reopened)
            showSelectedDrink(*this);
        busy.restore();
        switch (failed.kind) {
        case CompactionFailed::FileInUse:
            MsgBox(QStringLiteral("File error.  Is the database already open?  Exiting program."), msgbox::vbExclamation);
            EndProgram(1);
        case CompactionFailed::NotClosed:
            MsgBox(QStringLiteral("Couldn't close the database.  Exiting program."), msgbox::vbExclamation);
            EndProgram(1);
        case CompactionFailed::NothingDone:
            break;
        }
        for (const EngineError &shown : failed.errors)
            showError(shown);
        return false;
    }
}
