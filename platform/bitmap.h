#pragma once

#include "colour.h"

#include <QByteArray>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

class QIODevice;
class QString;

namespace kadrix {

enum class PixelFormat { Bits8, Bits24, Bits32 };

// A device-independent bitmap: 24 bits per pixel in blue, green, red byte
// order, 8 bits per pixel with a palette, or 32 bits per pixel in blue,
// green, red, alpha byte order with straight (not premultiplied) alpha for
// pictures that carry transparency. Built on QImage (Format_BGR888,
// Format_Indexed8, Format_ARGB32) so that rows can be handed to codecs in
// place. Canvases and everything composed are 24 bits.
class Bitmap {
public:
    Bitmap() = default;
    // Throws Error when the pixels cannot be allocated.
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Bits24);
    // Adopts a BGR888, opaque Indexed8 or ARGB32 image; any other image with
    // an alpha channel becomes ARGB32, any other without one BGR888.
    explicit Bitmap(QImage image);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool isEmpty() const { return image_.isNull() || width() == 0 || height() == 0; }
    PixelFormat pixelFormat() const;

    // Reallocates the pixels (contents undefined); throws when that fails.
    void setSize(int width, int height, PixelFormat format);
    // Converts in place: an 8-bit bitmap becomes 24 bits through its palette,
    // a 32-bit one is composed over `background` (see composedOver()).
    void convertTo24(Colour background = 0);
    // The `part` of this bitmap (clipped to it) as a 24-bit bitmap, each pixel
    // composed over `background` by its alpha (blendOver()); pixels of a
    // bitmap without alpha are copied as they are.
    Bitmap composedOver(Colour background, const QRect& part) const;

    std::uint8_t* scanLine(int y) { return image_.scanLine(y); }
    const std::uint8_t* scanLine(int y) const { return image_.constScanLine(y); }
    qsizetype bytesPerLine() const { return image_.bytesPerLine(); }

    // Palette of an 8-bit bitmap, as colour values.
    void setPalette(const std::vector<Colour>& colours);
    std::vector<Colour> palette() const;

    void fill(Colour colour);
    // Right and bottom edges exclusive, clipped to the bitmap.
    void fillRect(const QRect& rect, Colour colour);
    // SRCCOPY from `src`'s `srcRect` onto `dstRect`: 1:1 when the sizes are
    // equal, otherwise stretched by nearest neighbour. Destination pixels
    // outside this bitmap are clipped; source pixels outside `src` read as
    // white. Both bitmaps must be 24 bits.
    void copyRect(const QRect& dstRect, const Bitmap& src, const QRect& srcRect);

    // 0x00BBGGRR, or InvalidColour outside the bitmap.
    Colour pixel(int x, int y) const;

    // Writes an uncompressed 24-bit BMP file; false on any failure.
    bool writeBmp(QIODevice& device) const;

    const QImage& image() const { return image_; }
    QImage& image() { return image_; }

private:
    QImage image_;
};

// An uncompressed 24-bit BMP file (the bytes Bitmap::writeBmp() writes)
// written a row at a time from the top: BMP stores its rows from the bottom
// up, so each row goes to its place in the file, which must be seekable.
class BmpRowWriter {
public:
    // Writes the header; false when the device refuses it or the picture
    // lies past the format's 4 GB limit.
    bool start(QIODevice& device, int width, int height);
    // Whether the format takes a width x height picture (within its 4 GB).
    static bool takes(int width, int height);
    // The next row's pixels (width x 3 bytes); false when the device refuses.
    bool write(const std::uint8_t* row);

private:
    QIODevice* device_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int y_ = 0;
    QByteArray padded_;
};

// The most bytes a bitmap may take: far above any camera's output (a 24-bit
// 2^31-byte bitmap is 26000 x 26000), low enough that a hostile header cannot
// drive the machine into swap. Picture types that allocate pixels of their
// own refuse what would exceed it.
inline constexpr qint64 MaxBitmapBytes = qint64(1) << 31;

// Bytes a bitmap of that size would need, or -1 on overflow: checked before
// allocating sizes that come from files or fields.
qint64 bitmapBytes(qint64 width, qint64 height, int bytesPerPixel);

} // namespace kadrix
