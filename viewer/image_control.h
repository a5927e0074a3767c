#pragma once

#include "bitmap.h"

#include <QWidget>

namespace kadrix {

// The viewer image: a bitmap drawn at its own size from the top-left corner,
// or stretched over the control's bounds when the stretch flag is on. Its
// bounds also set the scrolled area of the scroll box that holds it.
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    const Bitmap& picture() const { return picture_; }
    void setPicture(Bitmap bitmap);

    bool stretch() const { return stretch_; }
    void setStretch(bool on);

    // Moves and sizes the control, and grows or shrinks the scrolled area of
    // its parent so that the scroll box shows scroll bars when needed.
    void setBounds(int left, int top, int width, int height);

signals:
    void mousePressed(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods,
                      int x, int y);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int x, int y);
    void mouseReleased(Qt::MouseButton button, int x, int y);
    // After the press that a double-click also is.
    void doubleClicked(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Bitmap picture_;
    bool stretch_ = false;
};

} // namespace kadrix
