// Filling the current set with a search's result, for the search engine and the bar list alike.

#include "search/result_list.h"

#include "core/number_format.h"
#include "common/seams.h"
#include "search/frmSearchWizard.h"
#include "search/frmStatus.h"
#include "store/CDatabase.h"

QString lastSearchTook(double start, QString (*format)(double seconds))
{
    return QStringLiteral("Last search took ") + format(elapsedSeconds(start, SecondsSinceMidnight()))
           + QStringLiteral(" seconds.");
}

SearchWindowsCloser::~SearchWindowsCloser()
{
    frmStatus::Unload();
    if (m_wizardToo)
        frmSearchWizard::unloadIfLoaded();
}

void CDatabase::ReplaceCurrentSet(const QStringList &names, DrinkListOrder order, const QString &select,
                                  const std::function<QString()> &statusAfterFill, const QList<int> &missing)
{
    if (!m_output)
        return;
    m_output->fillDrinkList(names, order, missing);
    if (statusAfterFill)
        m_output->setStatusText(statusAfterFill());
    m_output->setCurrentSetCount(int(names.size()));
    if (select.isEmpty())
        m_output->selectDrinkAt(0);
    else
        m_output->selectDrink(select);
    const QString shown = m_output->selectedDrinkName();
    if (!shown.isEmpty()) {
        ShowDrinkInfo(shown);
    } else {
        // Nothing listed: nothing shown either, and no drink to move to.
        m_currentDrink.reset();
        m_currentDrinkName.clear();
        m_output->showDrinkDetail(DrinkDetail());
        DoButtons();
    }
}
