#include "image_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace kadrix {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void ImageControl::setPicture(Bitmap bitmap) {
    picture_ = std::move(bitmap);
    update();
}

void ImageControl::setStretch(bool on) {
    stretch_ = on;
    update();
}

void ImageControl::setBounds(int left, int top, int width, int height) {
    setGeometry(left, top, width, height);
    if (QWidget* area = parentWidget())
        area->resize(left + width, top + height);
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (picture_.isEmpty())
        return;
    QPainter painter(this);
    const QImage& image = picture_.image();
    if (stretch_)
        painter.drawImage(rect(), image);
    else
        painter.drawImage(QPoint(0, 0), image);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mousePressed(event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseMoved(event->buttons(), event->modifiers(), p.x(), p.y());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseReleased(event->button(), p.x(), p.y());
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event); // the second click is a press as well, as it always was
    const QPoint p = event->position().toPoint();
    emit doubleClicked(event->button(), p.x(), p.y());
}

} // namespace kadrix
