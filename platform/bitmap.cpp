#include "bitmap.h"

#include "errors.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>

namespace kadrix {
namespace {

QImage::Format qtFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat::Bits8:
        return QImage::Format_Indexed8;
    case PixelFormat::Bits32:
        return QImage::Format_ARGB32;
    case PixelFormat::Bits24:
        break;
    }
    return QImage::Format_BGR888;
}

int bytesPerPixel(PixelFormat format) {
    return format == PixelFormat::Bits8 ? 1 : format == PixelFormat::Bits32 ? 4 : 3;
}

Text tooLarge(int width, int height) {
    return Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Image trop grande: %1 * %2"),
                {QString::number(width), QString::number(height)});
}

Text outOfMemory(int width, int height) {
    return Text("kadrix",
                QT_TRANSLATE_NOOP("kadrix", "Mémoire insuffisante pour une image de %1 * %2"),
                {QString::number(width), QString::number(height)});
}

QImage allocate(int width, int height, PixelFormat format) {
    const qint64 bytes = bitmapBytes(width, height, bytesPerPixel(format));
    if (width < 0 || height < 0 || bytes < 0 || bytes > MaxBitmapBytes)
        throw Error(tooLarge(width, height));
    if (width == 0 || height == 0)
        return QImage(std::max(width, 0), std::max(height, 0), qtFormat(format));
    QImage image(width, height, qtFormat(format));
    if (image.isNull())
        throw Error(outOfMemory(width, height));
    return image;
}

void fillRow24(std::uint8_t* row, int count, Colour colour) {
    if (count <= 0)
        return;
    const std::uint8_t pixel[3] = {std::uint8_t(blueOf(colour)), std::uint8_t(greenOf(colour)),
                                   std::uint8_t(redOf(colour))};
    std::memcpy(row, pixel, 3);
    // Doubling copies: a handful of memcpy calls instead of a pixel loop.
    qsizetype done = 3;
    const qsizetype total = qsizetype(count) * 3;
    while (done < total) {
        const qsizetype chunk = std::min(done, total - done);
        std::memcpy(row + done, row, size_t(chunk));
        done += chunk;
    }
}

void putLe16(std::uint8_t* p, quint16 v) {
    qToLittleEndian(v, p);
}
void putLe32(std::uint8_t* p, quint32 v) {
    qToLittleEndian(v, p);
}

// Bytes of a BMP row: three a pixel, padded to a multiple of four.
qint64 bmpStride(int width) {
    return (qint64(width) * 3 + 3) & ~qint64(3);
}

using BmpHeader = std::array<std::uint8_t, 54>;

// The file and information headers of an uncompressed 24-bit BMP at 72 dpi,
// its rows from the bottom up; nothing past the format's 4 GB limit.
std::optional<BmpHeader> bmpHeader(int w, int h) {
    const qint64 imageBytes = bmpStride(w) * h;
    if (imageBytes + 54 > std::numeric_limits<quint32>::max())
        return std::nullopt;
    BmpHeader header{};
    header[0] = 'B';
    header[1] = 'M';
    putLe32(header.data() + 2, quint32(54 + imageBytes));
    putLe32(header.data() + 10, 54);
    putLe32(header.data() + 14, 40);
    putLe32(header.data() + 18, quint32(w));
    putLe32(header.data() + 22, quint32(h));
    putLe16(header.data() + 26, 1);
    putLe16(header.data() + 28, 24);
    putLe32(header.data() + 34, quint32(imageBytes));
    putLe32(header.data() + 38, 2835); // 72 dpi
    putLe32(header.data() + 42, 2835);
    return header;
}

} // namespace

qint64 bitmapBytes(qint64 width, qint64 height, int bytesPerPixel) {
    if (width < 0 || height < 0)
        return -1;
    const qint64 limit = std::numeric_limits<qint32>::max();
    if (width > limit || height > limit)
        return -1;
    const qint64 row = (width * bytesPerPixel + 3) & ~qint64(3);
    if (height != 0 && row > std::numeric_limits<qint64>::max() / height)
        return -1;
    return row * height;
}

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : image_(allocate(width, height, format)) {}

Bitmap::Bitmap(QImage image) : image_(std::move(image)) {
    const QImage::Format format = image_.format();
    if (format == QImage::Format_BGR888 || format == QImage::Format_ARGB32)
        return;
    if (image_.hasAlphaChannel()) // a palette with transparent entries included
        image_ = image_.convertToFormat(QImage::Format_ARGB32);
    else if (format != QImage::Format_Indexed8)
        image_ = image_.convertToFormat(QImage::Format_BGR888);
}

PixelFormat Bitmap::pixelFormat() const {
    switch (image_.format()) {
    case QImage::Format_Indexed8:
        return PixelFormat::Bits8;
    case QImage::Format_ARGB32:
        return PixelFormat::Bits32;
    default:
        return PixelFormat::Bits24;
    }
}

void Bitmap::setSize(int width, int height, PixelFormat format) {
    if (!image_.isNull() && image_.width() == width && image_.height() == height &&
        pixelFormat() == format)
        return;
    image_ = QImage(); // release the old pixels before taking new ones
    image_ = allocate(width, height, format);
}

void Bitmap::convertTo24(Colour background) {
    if (image_.isNull() || image_.format() == QImage::Format_BGR888)
        return;
    if (pixelFormat() == PixelFormat::Bits32) {
        *this = composedOver(background, QRect(0, 0, width(), height()));
        return;
    }
    if (bitmapBytes(width(), height(), 3) > MaxBitmapBytes)
        throw Error(tooLarge(width(), height()));
    QImage converted = image_.convertToFormat(QImage::Format_BGR888);
    if (converted.isNull() && !image_.isNull() && width() > 0 && height() > 0)
        throw Error(outOfMemory(width(), height()));
    image_ = std::move(converted);
}

Bitmap Bitmap::composedOver(Colour background, const QRect& part) const {
    const QRect r = part.intersected(QRect(0, 0, width(), height()));
    Bitmap result(std::max(r.width(), 0), std::max(r.height(), 0));
    if (r.isEmpty())
        return result;
    if (pixelFormat() != PixelFormat::Bits32) {
        result.copyRect(QRect(0, 0, r.width(), r.height()), *this, r);
        return result;
    }
    const int red = redOf(background), green = greenOf(background), blue = blueOf(background);
    for (int y = 0; y < r.height(); ++y) {
        const std::uint8_t* from = scanLine(r.top() + y) + qsizetype(r.left()) * 4;
        std::uint8_t* to = result.scanLine(y);
        for (int x = 0; x < r.width(); ++x, from += 4, to += 3) {
            const int alpha = from[3];
            to[0] = std::uint8_t(blendOver(from[0], blue, alpha));
            to[1] = std::uint8_t(blendOver(from[1], green, alpha));
            to[2] = std::uint8_t(blendOver(from[2], red, alpha));
        }
    }
    return result;
}

void Bitmap::setPalette(const std::vector<Colour>& colours) {
    QList<QRgb> table;
    table.reserve(qsizetype(colours.size()));
    for (Colour c : colours)
        table.append(qRgb(redOf(c), greenOf(c), blueOf(c)));
    image_.setColorTable(table);
}

std::vector<Colour> Bitmap::palette() const {
    std::vector<Colour> result;
    for (QRgb rgb : image_.colorTable())
        result.push_back(makeColour(qRed(rgb), qGreen(rgb), qBlue(rgb)));
    return result;
}

void Bitmap::fill(Colour colour) {
    fillRect(QRect(0, 0, width(), height()), colour);
}

void Bitmap::fillRect(const QRect& rect, Colour colour) {
    const QRect r = rect.intersected(QRect(0, 0, width(), height()));
    if (r.isEmpty())
        return;
    if (pixelFormat() != PixelFormat::Bits24) {
        convertTo24();
    }
    std::uint8_t* first = scanLine(r.top()) + qsizetype(r.left()) * 3;
    const size_t rowBytes = size_t(r.width()) * 3;
    fillRow24(first, r.width(), colour);
    for (int y = r.top() + 1; y <= r.bottom(); ++y)
        std::memcpy(scanLine(y) + qsizetype(r.left()) * 3, first, rowBytes);
}

void Bitmap::copyRect(const QRect& dstRect, const Bitmap& src, const QRect& srcRect) {
    if (dstRect.isEmpty() || srcRect.isEmpty())
        return;
    if (pixelFormat() != PixelFormat::Bits24)
        convertTo24();
    const QRect srcBounds(0, 0, src.width(), src.height());
    const bool oneToOne = dstRect.size() == srcRect.size();
    if (oneToOne && srcBounds.contains(srcRect) && src.pixelFormat() == PixelFormat::Bits24) {
        // Clip the destination, and move the source origin by the same amount.
        const QRect clipped = dstRect.intersected(QRect(0, 0, width(), height()));
        if (clipped.isEmpty())
            return;
        const int sx = srcRect.left() + (clipped.left() - dstRect.left());
        const int sy = srcRect.top() + (clipped.top() - dstRect.top());
        const size_t rowBytes = size_t(clipped.width()) * 3;
        for (int i = 0; i < clipped.height(); ++i)
            std::memcpy(scanLine(clipped.top() + i) + qsizetype(clipped.left()) * 3,
                        src.scanLine(sy + i) + qsizetype(sx) * 3, rowBytes);
        return;
    }
    // Stretched (or partly outside the source): nearest neighbour, pixel by
    // pixel. Only small rectangles take this road (the brush sample).
    const QRect clipped = dstRect.intersected(QRect(0, 0, width(), height()));
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        const int sy =
            srcRect.top() + int(qint64(y - dstRect.top()) * srcRect.height() / dstRect.height());
        std::uint8_t* row = scanLine(y);
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const int sx = srcRect.left() +
                           int(qint64(x - dstRect.left()) * srcRect.width() / dstRect.width());
            Colour c = src.pixel(sx, sy);
            if (c == InvalidColour)
                c = 0xFFFFFF;
            row[x * 3] = std::uint8_t(blueOf(c));
            row[x * 3 + 1] = std::uint8_t(greenOf(c));
            row[x * 3 + 2] = std::uint8_t(redOf(c));
        }
    }
}

Colour Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return InvalidColour;
    const std::uint8_t* row = scanLine(y);
    if (pixelFormat() == PixelFormat::Bits8) {
        const QRgb rgb = image_.color(row[x]);
        return makeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
    if (pixelFormat() == PixelFormat::Bits32) // the colour, whatever its alpha
        return makeColour(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
    return makeColour(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

bool Bitmap::writeBmp(QIODevice& device) const {
    Bitmap converted;
    const Bitmap* bmp = this;
    if (pixelFormat() != PixelFormat::Bits24) {
        converted = *this;
        converted.convertTo24();
        bmp = &converted;
    }
    const int w = bmp->width();
    const int h = bmp->height();
    const std::optional<BmpHeader> header = bmpHeader(w, h);
    if (!header || device.write(reinterpret_cast<const char*>(header->data()), 54) != 54)
        return false;
    const qint64 stride = bmpStride(w);
    QByteArray row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) { // BMP rows go from the bottom up
        std::memcpy(row.data(), bmp->scanLine(y), size_t(w) * 3);
        if (device.write(row) != stride)
            return false;
    }
    return true;
}

bool BmpRowWriter::takes(int width, int height) {
    return bmpHeader(width, height).has_value();
}

bool BmpRowWriter::start(QIODevice& device, int width, int height) {
    const std::optional<BmpHeader> header = bmpHeader(width, height);
    if (!header || device.write(reinterpret_cast<const char*>(header->data()), 54) != 54)
        return false;
    device_ = &device;
    width_ = width;
    height_ = height;
    y_ = 0;
    padded_ = QByteArray(bmpStride(width), '\0');
    return true;
}

bool BmpRowWriter::write(const std::uint8_t* row) {
    if (device_ == nullptr || y_ >= height_)
        return false;
    const qint64 stride = padded_.size();
    std::memcpy(padded_.data(), row, size_t(width_) * 3);
    const bool written =
        device_->seek(54 + qint64(height_ - 1 - y_) * stride) && device_->write(padded_) == stride;
    ++y_;
    // The file's end is where a reader of the device expects the position.
    return written && (y_ < height_ || device_->seek(54 + qint64(height_) * stride));
}

} // namespace kadrix
