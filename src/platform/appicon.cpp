#include "platform/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>

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
    // An arrow along y from the shaft's far end to the tip, pointing right or left.
    auto arrow = [&p](qreal tail, qreal tip, qreal y) {
        const qreal head = tip > tail ? tip - 8 : tip + 8;
        QPainterPath path;
        path.moveTo(head, y - 4);
        path.lineTo(tip, y);
        path.lineTo(head, y + 4);
        path.closeSubpath();
        p.drawPath(path);
        p.drawRect(QRectF(std::min(tail, head), y - 1, std::abs(head - tail), 2));
    };
    arrow(5, 28, 8);
    arrow(27, 4, 24);
    return pixmap;
}

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    icon.addPixmap(drawIcon(16));
    icon.addPixmap(drawIcon(32));
    return icon;
}
