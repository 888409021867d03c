#include "app/missing_marks.h"

#include "core/name_order.h"

#include <QPainter>
#include <QPixmap>
#include <QSet>

namespace {

constexpr int kIconSize = 16;

} // namespace

QColor missingColour(const QPalette &palette)
{
    // Dark red on a light base, a light red on a dark one (high-contrast themes included).
    return palette.color(QPalette::Base).lightness() >= 128 ? QColor(0xB0, 0x00, 0x20) : QColor(0xFF, 0x8A, 0x80);
}

QIcon missingIcon(const QPalette &palette)
{
    QPixmap pixmap(kIconSize * 2, kIconSize * 2); // drawn at twice the size for sharp scaling
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = missingColour(palette);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.setPen(QPen(palette.color(QPalette::Base), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(22, 22));
    painter.drawLine(QPointF(22, 10), QPointF(10, 22));
    painter.end();
    return QIcon(pixmap);
}

QIcon noMarkIcon()
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

QString missingSummary(const QList<DrinkLine> &lines)
{
    QStringList names;
    QSet<QString> seen;
    for (const DrinkLine &line : lines) {
        if (line.missing && !seen.contains(nameKey(line.ingredient))) {
            seen.insert(nameKey(line.ingredient));
            names << line.ingredient;
        }
    }
    return names.isEmpty() ? QStringLiteral("You have everything for this drink.")
                           : QStringLiteral("Missing: ") + names.join(QStringLiteral(", "));
}

int missingLineCount(const QList<DrinkLine> &lines)
{
    return int(std::count_if(lines.cbegin(), lines.cend(), [](const DrinkLine &line) { return line.missing; }));
}
