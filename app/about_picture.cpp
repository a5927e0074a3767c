#include "about_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kadrix {
namespace {

constexpr int DesignSide = 64;

// Draws the picture in its 64 x 64 design coordinates; the painter's
// transform scales it to the target.
void drawAboutPicture(QPainter& painter, bool sharpCorners) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(0, 0, DesignSide, DesignSide), QColor(40, 40, 48));

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
    // At the design size they are drawn pixel-sharp; scaled, smooth.
    painter.setRenderHint(QPainter::Antialiasing, !sharpCorners);
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
}

} // namespace

QImage aboutPicture() {
    QImage picture(DesignSide, DesignSide, QImage::Format_BGR888);
    QPainter painter(&picture);
    drawAboutPicture(painter, true);
    painter.end();
    return picture;
}

QImage aboutPicture(int side) {
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.scale(double(side) / DesignSide, double(side) / DesignSide);
    drawAboutPicture(painter, side == DesignSide);
    painter.end();
    return picture;
}

} // namespace kadrix
