#pragma once
// The text of a bar-list file, without the file: its bytes decoded and split into names, and names
// encoded into the bytes of a file. QtCore only, so that it can be tried on any bytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// Text as a bar list is read: a byte-order mark names its encoding; otherwise UTF-8 when the bytes
// are valid UTF-8, else Latin-1, the 8-bit code page older files were written in. Nothing when
// the bytes are not text.
std::optional<QString> decodeBarList(QByteArrayView bytes);

// Latin-1 when every character fits and the bytes read back unchanged, else UTF-8.
QByteArray encodeBarList(const QString &text);

// Lines ended by CR LF, LF or a lone CR; a last line without its end counts too.
QStringList splitBarListLines(const QString &text);

// The names a bar-list file's bytes list, one a line, without the invisible and control characters
// that would keep a name that looks right from matching. Nothing when the bytes are not text.
std::optional<QStringList> barListNames(QByteArrayView bytes);
