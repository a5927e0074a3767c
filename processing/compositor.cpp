#include "compositor.h"

namespace kadrix {

bool ComposeResult(const Bitmap& source, int W, int H, Colour wipe, Bitmap& result, Anchor anchor) {
    const QRect canvas(0, 0, W, H);
    result.fillRect(canvas, wipe);
    const int sw = source.width();
    const int sh = source.height();
    if (sw == 0 || sh == 0)
        return false;

    // Canvas pixel (x, y) holds source pixel (x - dx, y - dy) where that
    // exists: the copy is the source's rectangle where it meets the canvas.
    const auto [dx, dy] = placementOf(sw, sh, W, H, anchor);
    const QRect dst = QRect(dx, dy, sw, sh).intersected(canvas);
    if (!dst.isEmpty())
        result.copyRect(dst, source, dst.translated(-dx, -dy));
    return true;
}

bool ComposeResult(const Bitmap& source, Placement placement, Colour wipe, Bitmap& result) {
    const QRect canvas(0, 0, result.width(), result.height());
    result.fillRect(canvas, wipe);
    if (source.width() == 0 || source.height() == 0)
        return false;
    const QRect dst =
        QRect(placement.dx, placement.dy, source.width(), source.height()).intersected(canvas);
    if (!dst.isEmpty())
        result.copyRect(dst, source, dst.translated(-placement.dx, -placement.dy));
    return true;
}

} // namespace kadrix
