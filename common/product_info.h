#pragma once
// Where users find the product and its maker: named in messages, the about box and copied drinks.

#include <QString>

inline const QString kWebPage = QStringLiteral("https://zestro.example.org/");
inline const QString kSupportAddress = QStringLiteral("dravo@zestro.example.org");
