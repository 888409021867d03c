#pragma once
// The product's name, and where users find it and its maker: named in captions, messages, the
// about box and copied drinks.

#include <QString>

inline const QString kAppTitle = QStringLiteral("Zestro");
inline const QString kWebPage = QStringLiteral("https://zestro.example.org/");
inline const QString kSupportAddress = QStringLiteral("dravo@zestro.example.org");
