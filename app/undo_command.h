#pragma once
// Edit, Undo and Edit, Redo: the last step of the undo history reversed (or replayed) in one
// transaction, and the window brought to show its result.

class CDatabase;
class OutputWindow;

void replayUndoHistory(CDatabase &database, OutputWindow &window, bool redo);
