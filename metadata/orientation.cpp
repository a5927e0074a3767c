#include "orientation.h"

#include <QTransform>

#include <algorithm>
#include <cstring>

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

constexpr int BandRows = 32;

// Upright rows gathered from the stored bitmap a band at a time, so that the
// stored pixels of a quarter turn are read along their rows.
class UprightRows final : public RowSource {
public:
    UprightRows(Bitmap stored, Orientation orientation)
        : stored_(std::move(stored)), orientation_(orientation),
          upright_(uprightSize(orientation, {stored_.width(), stored_.height()})),
          band_(upright_.width(), std::min(BandRows, upright_.height())) {}

    int width() const override { return upright_.width(); }
    int height() const override { return upright_.height(); }

    const std::uint8_t* next() override {
        if (y_ == bandEnd_)
            fillBand();
        return band_.scanLine(y_++ - bandStart_);
    }

private:
    void fillBand() {
        bandStart_ = y_;
        bandEnd_ = std::min(y_ + BandRows, upright_.height());
        const QSize stored(stored_.width(), stored_.height());
        // The stored pixel moves by a fixed step along an upright row and
        // down an upright column.
        const QPoint origin = storedPoint(orientation_, stored, {0, bandStart_});
        const QPoint across = storedPoint(orientation_, stored, {1, bandStart_}) - origin;
        const QPoint down = storedPoint(orientation_, stored, {0, bandStart_ + 1}) - origin;
        const int rows = bandEnd_ - bandStart_;
        // Offsets and strides taken once: the pixel loop calls nothing.
        const Bitmap& pixels = stored_;
        const std::uint8_t* base = pixels.scanLine(0);
        const qsizetype line = pixels.bytesPerLine();
        const auto offset = [line](QPoint p) { return qsizetype(p.y()) * line + p.x() * 3; };
        const qsizetype step = offset(across);
        const qsizetype below = offset(down);
        const qsizetype first = offset(origin);
        std::uint8_t* out = band_.scanLine(0);
        const qsizetype outLine = band_.bytesPerLine();
        // Blocks of 32 upright columns, so that the stored rows read stay
        // in the cache while the band's rows are written along.
        constexpr int Block = 32;
        for (int x0 = 0; x0 < upright_.width(); x0 += Block) {
            const int x1 = std::min(x0 + Block, upright_.width());
            for (int r = 0; r < rows; ++r) {
                const std::uint8_t* from = base + first + below * r;
                std::uint8_t* to = out + outLine * r;
                for (int x = x0; x < x1; ++x)
                    std::memcpy(to + qsizetype(x) * 3, from + step * x, 3);
            }
        }
    }

    Bitmap stored_;
    Orientation orientation_;
    QSize upright_;
    Bitmap band_;
    int y_ = 0;
    int bandStart_ = 0;
    int bandEnd_ = 0;
};

} // namespace

std::unique_ptr<RowSource> uprightRows(Bitmap stored, Orientation orientation) {
    return std::make_unique<UprightRows>(std::move(stored), orientation);
}

qint64 uprightRowsBytes(int uprightWidth) {
    return qint64(std::max(uprightWidth, 0)) * BandRows * 3;
}

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
