#pragma once
// Access keys for menu captions the program makes up as it runs (the recent searches).

#include <QString>

// `text` as a menu caption: its own '&' shown as written, and an access key on its first letter or
// digit whose key is not yet in `taken`, which then holds it too. No key when every one is taken.
QString captionWithAccessKey(const QString &text, QString &taken);
