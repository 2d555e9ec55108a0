#include "platform/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A ruler on a blue tile with two arrows pointing opposite ways: one quantity, two units.
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.scale(s, s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);

    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawRect(QRectF(4, 13, 24, 6));
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1.2));
    for (int x = 7; x <= 25; x += 3) {
        p.drawLine(QPointF(x, 13), QPointF(x, x % 2 ? 16 : 17));
    }

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath right;
    right.moveTo(20, 4);
    right.lineTo(28, 8);
    right.lineTo(20, 12);
    right.closeSubpath();
    p.drawPath(right);
    p.drawRect(QRectF(5, 7, 15, 2));
    QPainterPath left;
    left.moveTo(12, 20);
    left.lineTo(4, 24);
    left.lineTo(12, 28);
    left.closeSubpath();
    p.drawPath(left);
    p.drawRect(QRectF(12, 23, 15, 2));
    return pixmap;
}

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    icon.addPixmap(drawIcon(16));
    icon.addPixmap(drawIcon(32));
    return icon;
}
