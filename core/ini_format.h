#pragma once
// The settings file's INI dialect: [Section] headers and key=value lines in UTF-8, keys written as
// they read ("Show Tips at Startup=1"). Only what would change a line's meaning is escaped: a key's
// '%', '=', '"' and control characters and its leading or trailing spaces as %XX; a value's
// backslash, quote and control characters with a backslash, and a value with leading or trailing
// spaces or a ';' inside quotes. These functions also read the files Qt's own INI format wrote
// (percent-encoded keys, quoted and escaped values), which older versions of this program left.

#include <QSettings>

namespace ini {

// A settings file above this size, or one that is not text, is refused unread (read gives false).
inline constexpr qsizetype kMaxSettingsBytes = 1024 * 1024;
bool isSettingsText(const QByteArray &bytes);

bool read(QIODevice &device, QSettings::SettingsMap &map);
bool write(QIODevice &device, const QSettings::SettingsMap &map);

QSettings::SettingsMap parse(const QByteArray &text);
QByteArray format(const QSettings::SettingsMap &map);

// The dialect registered with QSettings, file extension "ini". Until a path is set for it,
// QSettings uses the one set for IniFormat, so a folder given with
// QSettings::setPath(QSettings::IniFormat, ...) holds these files too.
QSettings::Format settingsFormat();

} // namespace ini
