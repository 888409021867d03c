#include "common/command_guard.h"

#include "core/engine_error.h"
#include "common/message_box.h"

#include <QApplication>
#include <algorithm>
#include <vector>

namespace {
std::vector<void (*)()> &cleanups()
{
    static std::vector<void (*)()> list;
    return list;
}

void cleanUpAfterFailure()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    for (void (*cleanup)() : cleanups())
        cleanup();
}
} // namespace

void addFailureCleanup(void (*cleanup)())
{
    if (std::find(cleanups().begin(), cleanups().end(), cleanup) == cleanups().end())
        cleanups().push_back(cleanup);
}

const char *NoDatabaseOpen::what() const noexcept
{
    return "No database is open.  You can select one by choosing File|Open.";
}

bool RunCommand(const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const EngineError &e) {
        cleanUpAfterFailure();
        ShowEngineError(e);
    } catch (const std::exception &e) {
        cleanUpAfterFailure();
        MsgBox(QString::fromUtf8(e.what()), msgbox::vbExclamation);
    } catch (...) {
        cleanUpAfterFailure();
        MsgBox(QStringLiteral("An unexpected error ended the command."), msgbox::vbExclamation);
    }
    return false;
}
