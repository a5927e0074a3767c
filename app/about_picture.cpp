#include "about_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kadrix {

QImage aboutPicture() {
    constexpr int Side = 64;
    QImage picture(Side, Side, QImage::Format_BGR888);
    picture.fill(QColor(40, 40, 48));

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    // The photograph: sky, sun and two hills.
    const QRect photo(8, 12, 48, 40);
    QLinearGradient sky(photo.topLeft(), photo.bottomLeft());
    sky.setColorAt(0.0, QColor(70, 130, 210));
    sky.setColorAt(1.0, QColor(190, 220, 250));
    painter.fillRect(photo, sky);
    painter.setClipRect(photo);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 200, 60));
    painter.drawEllipse(QPointF(42, 22), 6, 6);
    QPainterPath farHill;
    farHill.moveTo(8, 44);
    farHill.quadTo(24, 26, 44, 44);
    farHill.lineTo(8, 52);
    painter.setBrush(QColor(70, 140, 80));
    painter.drawPath(farHill);
    QPainterPath nearHill;
    nearHill.moveTo(20, 52);
    nearHill.quadTo(40, 34, 56, 46);
    nearHill.lineTo(56, 52);
    painter.setBrush(QColor(40, 100, 50));
    painter.drawPath(nearHill);
    painter.setClipping(false);

    // The crop corners: the fixed frame a batch cuts every photograph to.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(255, 255, 255), 2, Qt::SolidLine, Qt::SquareCap));
    constexpr int Arm = 8;
    const QRect frame(4, 8, 55, 47);
    const QPoint corners[] = {frame.topLeft(), frame.topRight(), frame.bottomLeft(),
                              frame.bottomRight()};
    for (const QPoint& c : corners) {
        const int dx = c.x() == frame.left() ? Arm : -Arm;
        const int dy = c.y() == frame.top() ? Arm : -Arm;
        painter.drawLine(c, c + QPoint(dx, 0));
        painter.drawLine(c, c + QPoint(0, dy));
    }
    painter.end();
    return picture;
}

} // namespace kadrix
