// The current set in the main window's drink list: what a search hands over, and the Previous /
// Next state.

#include "store/CDatabase.h"

#include "store/drink_store.h"

void CDatabase::ReplaceCurrentSet(const QStringList &names, DrinkListOrder order, const QString &select,
                                  const std::function<QString()> &statusAfterFill, const QList<int> &missing)
{
    if (!m_output)
        return;
    m_output->fillDrinkList(names, order, missing);
    if (!names.isEmpty())
        ShowListMarks();
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

void CDatabase::ShowListMarks()
{
    if (!m_output)
        return;
    // Read again only when something wrote to the file since: this program or another one.
    const std::pair<qint64, qint64> stamp = database().changeStamp();
    if (stamp != m_listMarksStamp) {
        m_listMarks = DrinkStore(*this).markedDrinks();
        m_listMarksStamp = stamp;
    }
    m_output->showDrinkMarks(m_listMarks);
}

void CDatabase::DoButtons()
{
    if (!m_output)
        return;
    const int count = m_output->drinkCount();
    const int selected = m_output->selectedDrinkRow();
    m_output->setNeighbourButtons(selected > 0, selected >= 0 && selected < count - 1);
}
