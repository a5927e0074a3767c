#include "frame_geometry.h"

#include <QRect>

#include <algorithm>
#include <climits>

namespace kadrix {
namespace {

// side * num / den rounded to the nearest integer, halves up, at least 1 and
// at most INT_MAX. All three are 0 or more, den 1 or more.
int scaledSide(qint64 side, qint64 num, qint64 den) {
    const qint64 product = side * num; // below 2^62
    const qint64 quotient = product / den;
    const qint64 rounded = quotient + (2 * (product % den) >= den ? 1 : 0);
    return int(std::clamp<qint64>(rounded, 1, INT_MAX));
}

int clampAxis(int picture, int result, int wanted) {
    const int a = std::min(0, picture - result);
    const int b = std::max(0, picture - result);
    return std::clamp(wanted, a, b);
}

} // namespace

QSize resultSizeFor(const ResultSize& size, QSize upright) {
    if (size.mode == SizeMode::Fixed)
        return {size.width, size.height};
    const qint64 a = std::max(size.width, 1);
    const qint64 b = std::max(size.height, 1);
    const qint64 w = std::max(upright.width(), 0);
    const qint64 h = std::max(upright.height(), 0);
    const bool wider = w * b > h * a;
    const bool taller = w * b < h * a;
    const bool keepHeight = size.mode == SizeMode::RatioCrop ? wider : taller;
    if (keepHeight)
        return {scaledSide(h, a, b), int(std::max<qint64>(h, 1))};
    return {int(std::max<qint64>(w, 1)), scaledSide(w, b, a)};
}

QPoint clampTopLeft(QSize picture, QSize result, QPoint wanted) {
    return {clampAxis(picture.width(), result.width(), wanted.x()),
            clampAxis(picture.height(), result.height(), wanted.y())};
}

bool leavesMargins(QSize picture, const FrameGeometry& frame) {
    return !QRect(-frame.topLeft, picture).contains(QRect(QPoint(0, 0), frame.size));
}

} // namespace kadrix
