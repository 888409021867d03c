#include "common/message_box.h"

#include "core/engine_error.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MsgBoxHandler &handlerSlot()
{
    static MsgBoxHandler handler;
    return handler;
}

QMessageBox::Icon iconFor(int flags)
{
    switch (flags & msgbox::IconMask) {
    case msgbox::vbCritical: return QMessageBox::Critical;
    case msgbox::vbQuestion: return QMessageBox::Question;
    case msgbox::vbExclamation: return QMessageBox::Warning;
    case msgbox::vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}
} // namespace

void ShowEngineError(const EngineError &e, const QString &caption)
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    MsgBox(QStringLiteral("Error ") + QString::number(e.number()) + QStringLiteral(": ") + e.description(),
           msgbox::vbExclamation, caption);
}

void setMsgBoxHandler(MsgBoxHandler handler)
{
    handlerSlot() = std::move(handler);
}

int MsgBox(const QString &text, int flags, const QString &caption)
{
    if (handlerSlot())
        return handlerSlot()(text, flags, caption);

    const bool yesNo = (flags & msgbox::ButtonsMask) == msgbox::vbYesNo;
    QMessageBox box(iconFor(flags), caption, text,
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    QApplication::activeWindow());
    if (yesNo)
        box.setDefaultButton(QMessageBox::Yes);
    const int chosen = box.exec();
    if (!yesNo)
        return msgbox::vbOK;
    return chosen == QMessageBox::Yes ? msgbox::vbYes : msgbox::vbNo;
}
