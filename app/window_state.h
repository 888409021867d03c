#pragma once
// What the main window keeps between runs, in the settings' [Window] section: its place, size and
// maximized state (Qt's geometry record) and the two splitters ("splMain", "splDetail").

class QMainWindow;

// Gives the window its last place, size and splitters before it is first shown, and fits it, frame
// and all, to the screen it lands on. Without a kept geometry the place and size of earlier
// versions are read; a first run keeps the window's own size, fitted.
void restoreWindowState(QMainWindow &form);
// Keeps the window's state; nothing while the window is hidden.
void saveWindowState(const QMainWindow &form);
