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

    const int buttons = flags & msgbox::ButtonsMask;
    const bool yesNo = buttons == msgbox::vbYesNo || buttons == msgbox::vbYesNoCancel;
    QMessageBox::StandardButtons shown = yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
    if (buttons == msgbox::vbYesNoCancel)
        shown |= QMessageBox::Cancel;
    QMessageBox box(iconFor(flags), caption, text, shown, QApplication::activeWindow());
    if (yesNo)
        box.setDefaultButton(QMessageBox::Yes);
    const int chosen = box.exec();
    if (!yesNo)
        return msgbox::vbOK;
    if (chosen == QMessageBox::Cancel || (chosen != QMessageBox::Yes && chosen != QMessageBox::No))
        return buttons == msgbox::vbYesNoCancel ? msgbox::vbCancel : msgbox::vbNo; // Escape or the close box
    return chosen == QMessageBox::Yes ? msgbox::vbYes : msgbox::vbNo;
}
