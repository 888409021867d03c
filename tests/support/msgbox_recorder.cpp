#include "support/msgbox_recorder.h"

MsgBoxRecorder::MsgBoxRecorder()
{
    setMsgBoxHandler([this](const QString &text, int flags, const QString &caption) {
        m_messages.append({text, flags, caption});
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        const int buttons = flags & msgbox::ButtonsMask;
        return buttons == msgbox::vbYesNo || buttons == msgbox::vbYesNoCancel ? int(msgbox::vbNo) : int(msgbox::vbOK);
    });
}

MsgBoxRecorder::~MsgBoxRecorder()
{
    setMsgBoxHandler({});
}

QStringList MsgBoxRecorder::texts() const
{
    QStringList result;
    for (const ShownMessage &m : m_messages)
        result.append(m.text);
    return result;
}
