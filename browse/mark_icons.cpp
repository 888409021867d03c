#include "browse/mark_icons.h"

#include "core/drink.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace {

constexpr int kSlot = 16; // one mark, in device-independent pixels
constexpr int kGap = 3;

void paintCheck(QPainter &p)
{
    QPainterPath tick;
    tick.moveTo(3, 8.5);
    tick.lineTo(6.5, 12);
    tick.lineTo(13, 4);
    p.setPen(QPen(QColor(0x2e, 0x7d, 0x32), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

void paintPrinter(QPainter &p)
{
    const QColor body(0x45, 0x5a, 0x64);
    p.setPen(QPen(body, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5)); // the sheet going in
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 9.5, 7, 5)); // the printed page
    p.setPen(QPen(body, 1));
    p.drawLine(QPointF(6, 11.5), QPointF(10, 11.5));
    p.drawLine(QPointF(6, 13), QPointF(9, 13));
}

} // namespace

QPixmap markPixmap(quint8 marks)
{
    marks &= Drink::TriedMark | Drink::PrintMark;
    static std::array<QPixmap, 4> cache;
    QPixmap &pixmap = cache[marks];
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    if (pixmap.isNull() || pixmap.devicePixelRatio() != ratio) {
        pixmap = QPixmap(QSize(2 * kSlot + kGap, kSlot) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        if (marks & Drink::TriedMark)
            paintCheck(p);
        p.translate(kSlot + kGap, 0);
        if (marks & Drink::PrintMark)
            paintPrinter(p);
    }
    return pixmap;
}

QString markText(quint8 marks)
{
    QStringList texts;
    if (marks & Drink::TriedMark)
        texts << QStringLiteral("Tried");
    if (marks & Drink::PrintMark)
        texts << QStringLiteral("To print");
    return texts.join(QLatin1Char('\n'));
}
