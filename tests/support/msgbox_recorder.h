#pragma once
// Replaces every message box with a recorder for the lifetime of the object: each message is kept
// (text, flags, caption) and answered from a script, or with OK / No when the script is empty.

#include "common/message_box.h"

#include <QList>
#include <QString>

struct ShownMessage {
    QString text;
    int flags = 0;
    QString caption;
    int icon() const { return flags & msgbox::IconMask; }
    int buttons() const { return flags & msgbox::ButtonsMask; }
};

class MsgBoxRecorder {
public:
    MsgBoxRecorder();
    ~MsgBoxRecorder();
    MsgBoxRecorder(const MsgBoxRecorder &) = delete;
    MsgBoxRecorder &operator=(const MsgBoxRecorder &) = delete;

    void answerNext(int answer) { m_answers.append(answer); }
    const QList<ShownMessage> &messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    QList<ShownMessage> m_messages;
    QList<int> m_answers;
};
