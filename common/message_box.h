#pragma once
// Message boxes in the program's own terms: one call that shows a modal box and returns the answer.
// Every message of the program passes through MsgBox(), so tests can script the answers and read back
// exactly what the user would have seen.

#include "core/product_info.h"

#include <QString>
#include <functional>

namespace msgbox {
// Buttons (low bits) and icon (next bits) are or-ed together into one flags value.
enum Flags : int {
    vbOKOnly = 0,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
enum Answer : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };
constexpr int ButtonsMask = 0x0F;
constexpr int IconMask = 0x70;
} // namespace msgbox

// The program's title, the caption of every message box that names none.

int MsgBox(const QString &text, int flags = msgbox::vbOKOnly, const QString &caption = kAppTitle);

class EngineError;
// Ends a command that failed: the normal pointer comes back and "Error <number>: <text>" is shown.
void ShowEngineError(const EngineError &e, const QString &caption = kAppTitle);

// Test seam: while a handler is installed it is asked instead of a real dialog being shown.
using MsgBoxHandler = std::function<int(const QString &text, int flags, const QString &caption)>;
void setMsgBoxHandler(MsgBoxHandler handler);
