// Which commands the main window offers now: the one function that enables them, and the state it
// reads.

#include "app/frmMain.h"

#include "app/main_commands.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"

#include <QAction>

void frmMain::updateCommandStates()
{
    const bool open = program().database && program().database->isOpen();
    const bool drinkShown = open && !m_shownDrink.isEmpty();
    const bool setHasDrinks = open && drinkCount() > 0;
    auto enable = [this](std::initializer_list<Cmd> commands, bool enabled) {
        for (Cmd command : commands)
            m_commands->action(command)->setEnabled(enabled);
    };
    // The commands that need no more than an open library stay enabled without one: they tell the
    // user to open a library first. Those that change it stay enabled on a read-only library: they
    // tell why it cannot be changed.
    enable({Cmd::EditDrink, Cmd::DeleteDrink, Cmd::CopyDrink, Cmd::MarkTried, Cmd::MarkPrint}, drinkShown);
    enable({Cmd::MarkSetTried, Cmd::MarkSetPrint, Cmd::UnmarkSetTried, Cmd::UnmarkSetPrint, Cmd::DeleteSet}, setHasDrinks);
    enable({Cmd::Previous}, open && m_canGoBack);
    enable({Cmd::Next}, open && m_canGoNext);
    // Undo and Redo name the step they would reverse, on the command and on its menu item.
    UndoHistory *history = open ? &program().database->undoHistory() : nullptr;
    auto name = [this](Cmd command, int item, const QString &caption, const QString &step) {
        const QString text = step.isEmpty() ? caption : caption + QLatin1Char(' ') + step;
        m_commands->action(command)->setText(text);
        if (QAction *menuItem = this->menuItem(QStringLiteral("mnuEdit"), item))
            menuItem->setText(text);
        m_commands->action(command)->setEnabled(!step.isEmpty());
    };
    name(Cmd::Undo, 90, QStringLiteral("&Undo"), history ? history->undoLabel() : QString());
    name(Cmd::Redo, 95, QStringLiteral("&Redo"), history ? history->redoLabel() : QString());
    m_commands->action(Cmd::MarkTried)->setChecked(drinkShown && m_shownTried);
    m_commands->action(Cmd::MarkPrint)->setChecked(drinkShown && m_shownPrint);
}

void frmMain::noteShownDrink(const QString &name, bool tried, bool print)
{
    m_shownDrink = name;
    m_shownTried = tried;
    m_shownPrint = print;
    updateCommandStates();
}
