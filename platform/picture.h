#pragma once

#include "bitmap.h"
#include "decode_mode.h"
#include "rows.h"

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

namespace kadrix {

// What a source picture carries besides its pixels, for the results made of it.
struct PictureMetadata {
    QByteArray iccProfile; // the colour profile as stored; empty when none
    QByteArray exif;       // "Exif\0\0" and the TIFF data that follows; empty when none
    bool turned = false;   // the pixels were turned upright from how they are stored
};

// A picture type of the loader: it loads a file, reports its size and turns
// itself into a bitmap. Sizes are known after loading; decoding may wait
// until a bitmap is asked for.
class Picture {
public:
    virtual ~Picture() = default;
    virtual void loadFromFile(const QString& path) = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Copies the picture into `target` (8 or 24 bits, or 32 bits with straight
    // alpha for a picture with an alpha channel); throws when it cannot.
    virtual void assignTo(Bitmap& target) const = 0;
    // The colour profile and EXIF block of the loaded file; none by default.
    // Never throws: metadata that cannot be read is left out.
    virtual PictureMetadata metadata() const { return {}; }
    // Only `window` of the picture (clipped to it), in 24 bits per pixel (32
    // with straight alpha for a picture with an alpha channel), with
    // the pixels the whole picture has there, for a type that can decode a
    // part without the rest. Nothing when it cannot (the default), for this
    // picture or these options: the caller then decodes the whole picture.
    // `mode` (Window or Seek) says how a type that can may go about it.
    virtual std::optional<Bitmap> decodeWindow(const QRect& window, DecodeMode mode) const;
    // The most memory, in bytes, that giving `window` of the picture takes:
    // decodeWindow() where the type can, else the whole decode. By default
    // the whole picture at 4 bytes a pixel; a type that decodes a part alone
    // (a JPEG's rows, a HEIF grid's tiles) counts what it holds for the part.
    virtual qint64 decodingBytes(const QRect& window, DecodeMode mode) const;
    // The whole picture made smaller, in 24 bits per pixel, no smaller than
    // `atLeast` where the picture is that large, for a type that can decode
    // it smaller for less than the whole decode costs (a JPEG's scaled
    // decode). Nothing when it cannot (the default).
    virtual std::optional<Bitmap> decodeReduced(QSize atLeast) const;
    // A rough picture of the whole upright picture for a measure that needs
    // no precision, in 24 bits per pixel, the same whatever the decode
    // options: each axis is a reduced picture's, though one axis may be
    // sampled more coarsely (a JPEG's MCU rows), and a type may take it from
    // an embedded thumbnail (a HEIF's). Nothing when the type has no cheap
    // way (the default is decodeReduced()).
    virtual std::optional<Bitmap> decodeSketch(QSize atLeast) const;
    // The most memory, in bytes, that decodeSketch() holds beyond what
    // decodingBytes() counts: 0 by default, for a type whose sketch is small
    // or, without one, whose measure holds the decode that framing counts.
    virtual qint64 sketchBytes(QSize atLeast) const;
    // The rows of `window` (clipped to the picture, not empty) in 24 bits
    // per pixel, the pixels decodeWindow() gives, handed on from the top a
    // row at a time (decoded as they are read where the type can) without a
    // bitmap of the whole window. Nothing when the type cannot (the default),
    // or when decodeWindow() would go about it faster; the rows must be read
    // before the picture changes or goes.
    virtual std::unique_ptr<RowSource> readRows(const QRect& window, DecodeMode mode) const;
    // The most memory, in bytes, that giving the rows of `window` takes:
    // what readRows() holds while they are read where the type hands them
    // on, else decodingBytes() (the default), as the window is then decoded.
    virtual qint64 rowReadingBytes(const QRect& window, DecodeMode mode) const;
};

} // namespace kadrix
