#include "orientation.h"

#include <QTransform>

#include <algorithm>

namespace kadrix {
namespace {

// The stored pixel that upright pixel (x, y) shows, in a stored picture of
// width w and height h.
QPoint storedPoint(Orientation orientation, QSize stored, QPoint upright) {
    const int w = stored.width(), h = stored.height();
    const int x = upright.x(), y = upright.y();
    switch (orientation) {
    case Orientation::Normal:
        break;
    case Orientation::MirrorHorizontal:
        return {w - 1 - x, y};
    case Orientation::Rotate180:
        return {w - 1 - x, h - 1 - y};
    case Orientation::MirrorVertical:
        return {x, h - 1 - y};
    case Orientation::Transpose:
        return {y, x};
    case Orientation::Rotate90:
        return {y, h - 1 - x};
    case Orientation::Transverse:
        return {w - 1 - y, h - 1 - x};
    case Orientation::Rotate270:
        return {w - 1 - y, x};
    }
    return upright;
}

// Qt's exact quarter turns (copies of whole rows and columns, no resampling).
QImage rotated(const QImage& image, int degrees) {
    return image.transformed(QTransform().rotate(degrees), Qt::FastTransformation);
}

} // namespace

Orientation orientationFromTag(long value) {
    return value >= 1 && value <= 8 ? Orientation(value) : Orientation::Normal;
}

bool swapsAxes(Orientation orientation) {
    return std::uint8_t(orientation) >= std::uint8_t(Orientation::Transpose);
}

QSize uprightSize(Orientation orientation, QSize stored) {
    return swapsAxes(orientation) ? stored.transposed() : stored;
}

QRect storedRect(Orientation orientation, QSize stored, const QRect& upright) {
    if (upright.isEmpty())
        return {};
    const QPoint a = storedPoint(orientation, stored, upright.topLeft());
    const QPoint b = storedPoint(orientation, stored, upright.bottomRight());
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

Bitmap turnUpright(Bitmap stored, Orientation orientation) {
    QImage& image = stored.image();
    switch (orientation) {
    case Orientation::Normal:
        return stored;
    case Orientation::MirrorHorizontal:
        image.mirror(true, false);
        return stored;
    case Orientation::Rotate180:
        image.mirror(true, true);
        return stored;
    case Orientation::MirrorVertical:
        image.mirror(false, true);
        return stored;
    case Orientation::Transpose:
        return Bitmap(rotated(image, 90).mirrored(true, false));
    case Orientation::Rotate90:
        return Bitmap(rotated(image, 90));
    case Orientation::Transverse:
        return Bitmap(rotated(image, 90).mirrored(false, true));
    case Orientation::Rotate270:
        return Bitmap(rotated(image, 270));
    }
    return stored;
}

} // namespace kadrix
