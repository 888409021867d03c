#pragma once
// What the main window keeps between runs, in the settings' [Window] section: its place, size and
// maximized state, the two splitters ("splMain", "splDetail") and the drink it showed.

#include <QString>

#include <optional>

class QMainWindow;

// Gives the window its last place, size and splitters before it is first shown; a place no screen
// shows any more is brought back onto one. A first run keeps the window as it is.
void restoreWindowState(QMainWindow &form);
// Keeps the window's state and `shownDrink` (none: the drink kept before stays); nothing while the
// window is hidden.
void saveWindowState(const QMainWindow &form, const std::optional<QString> &shownDrink);
// The drink shown when the last run ended; empty when none was.
QString lastShownDrink();
