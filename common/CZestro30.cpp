#include "common/CZestro30.h"

#include "common/message_box.h"
#include "core/settings_access.h"
#include "core/engine_error.h"

#include <limits>

namespace {
const QString kSection = QStringLiteral("Options");
const QString kShowTips = QStringLiteral("Show Tips at Startup");
const QString kRandomDrink = QStringLiteral("Random Drink");
const QString kShowSearching = QStringLiteral("ShowSearching");
const QString kBarListSlack = QStringLiteral("BarListSlack");

QString readOption(const QString &key, const QString &defaultValue = QString())
{
    return GetSetting(kAppTitle, kSection, key, defaultValue);
}

void writeOption(const QString &key, const QString &value)
{
    SaveSetting(kAppTitle, kSection, key, value);
}

// A hand-edited file can hold anything; a value that is no 16-bit whole number gives the default
// rather than stopping whoever asked.
int readWholeNumber(const QString &key, int defaultValue)
{
    bool converted = false;
    const short value = readOption(key, QString::number(defaultValue)).trimmed().toShort(&converted);
    return converted ? value : defaultValue;
}

void writeWholeNumber(const QString &key, int value)
{
    if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max())
        throw EngineError(err::Overflow, QStringLiteral("Overflow"));
    writeOption(key, QString::number(value));
}
} // namespace

int CZestro30::ShowTips() const
{
    return readWholeNumber(kShowTips, 1);
}

void CZestro30::setShowTips(int iValue)
{
    writeWholeNumber(kShowTips, iValue);
}

int CZestro30::RandomDrink() const
{
    return readWholeNumber(kRandomDrink, 1);
}

void CZestro30::setRandomDrink(int iValue)
{
    writeWholeNumber(kRandomDrink, iValue);
}

bool CZestro30::ShowSearching() const
{
    constexpr bool defaultValue = true;
    const QString text = readOption(kShowSearching, QStringLiteral("1")).trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool converted = false;
    const double number = text.toDouble(&converted);
    return converted ? number != 0.0 : defaultValue;
}

void CZestro30::setShowSearching(bool bValue)
{
    writeOption(kShowSearching, bValue ? QStringLiteral("True") : QStringLiteral("False"));
}

QVariant CZestro30::BarListSlack() const
{
    const QString text = readOption(kBarListSlack);
    return text.isEmpty() ? QVariant(1) : QVariant(text);
}

void CZestro30::setBarListSlack(const QVariant &vValue)
{
    writeOption(kBarListSlack, vValue.toString());
}
