#include "compositor.h"

#include <QRect>

#include <cstdlib>

namespace kadrix {
namespace {

// Rectangles as (left, top, right, bottom), right and bottom exclusive.
QRect ltrb(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

bool ComposeResult(const Bitmap& source, int W, int H, Colour wipe, Bitmap& result) {
    result.fillRect(ltrb(0, 0, W, H), wipe);
    const int sw = source.width();
    const int sh = source.height();
    if (sw == 0 || sh == 0)
        return false;

    const auto [dx, dy] = placementOf(sw, sh, W, H);
    const int ax = std::abs(dx);
    const int ay = std::abs(dy);
    QRect src;
    QRect dst;
    if (dy >= 0 && dx >= 0) { // fits both ways
        src = ltrb(0, 0, sw, sh);
        dst = ltrb(dx, dy, dx + sw, dy + sh);
    } else if (dy < 0 && dx >= 0) { // taller than the canvas
        src = ltrb(0, ay, sw, sh - ay);
        dst = ltrb(dx, 0, dx + sw, sh - 2 * ay);
    } else if (dy < 0 && dx < 0) { // larger both ways
        src = ltrb(ax, ay, sw - ax, sh - ay);
        dst = ltrb(0, 0, sw - 2 * ax, sh - 2 * ay);
    } else { // wider than the canvas
        src = ltrb(ax, 0, sw - ax, sh);
        dst = ltrb(0, dy, sw - 2 * ax, dy + sh);
    }
    // An odd crop makes the destination reach one pixel past the canvas; the
    // copy clips it.
    result.copyRect(dst, source, src);
    return true;
}

} // namespace kadrix
