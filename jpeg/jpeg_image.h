#pragma once

#include "bitmap.h"
#include "decode_mode.h"
#include "jpeg_defaults.h"
#include "jpeg_error.h"
#include "orientation.h"
#include "picture.h"

#include <QByteArray>
#include <QRect>

#include <memory>
#include <optional>

class QIODevice;

namespace kadrix {

// The compressed bytes of one JPEG stream, shared between pictures.
struct TJPEGData {
    std::optional<QByteArray> Data; // absent until bytes are loaded or encoded
    int Height = 0;                 // full-size height and width, from the
    int Width = 0;                  // header on load, the bitmap on encoding
    bool GrayScale = false;         // greyscale stream, or encoded as greyscale
    // What the stream's EXIF block says turns it upright.
    Orientation ExifOrientation = Orientation::Normal;
};

// The JPEG picture type. A loaded picture keeps the file's bytes and decodes
// them on the first request for a bitmap, then keeps the bitmap. A bitmap
// assigned to a picture is encoded on the first save. Options are copied
// from JpegDefaults at creation and never change afterwards, except
// ProgressiveEncoding, which loading sets to what the file is.
//
// With AutoOrient, a picture whose EXIF block gives an orientation is the
// upright picture everywhere: its size, its bitmap and its windows are those
// of the picture turned as the tag says.
class TJPEGImage final : public Picture {
public:
    TJPEGImage();

    // Reads the whole file and parses its header. Throws EInvalidGraphic when
    // the file cannot be read, EJPEG when its header is not valid JPEG.
    void loadFromFile(const QString& path) override;
    // Reads everything from the device's position to its end.
    void loadFromStream(QIODevice& stream);
    void loadFromData(QByteArray data);

    // The decoded bitmap's size once decoded; before, the header's size at
    // full scale, or the codec's output size at a reduced scale (which parses
    // the header again on every call), width and height exchanged when the
    // turn upright exchanges them. Throws EJPEG at a reduced scale when the
    // data is not JPEG.
    int width() const override;
    int height() const override;
    // `target` becomes a copy of the decoded bitmap, palette included.
    void assignTo(kadrix::Bitmap& target) const override;
    // The bitmap to encode; the data is replaced by an empty one.
    void assign(const kadrix::Bitmap& source);
    // The EXIF block and colour profile the next encoding writes, as given.
    void setMarkers(PictureMetadata markers);

    // The loaded file's colour profile and EXIF block, read from its header
    // on every call.
    PictureMetadata metadata() const override;

    // Writes the loaded bytes unchanged, or the encoded bitmap. Throws EJPEG
    // when encoding fails and Error when the device takes fewer bytes.
    void saveToStream(QIODevice& stream);
    // Writes the file through a temporary that replaces it only when complete.
    void saveToFile(const QString& path);

    // A JPEG picture cannot be resized: always throws EInvalidGraphicOperation.
    [[noreturn]] void setWidth(int value);
    [[noreturn]] void setHeight(int value);

    // The decoded bitmap, decoded on the first call and kept.
    const kadrix::Bitmap& DecodeBitmap() const;

    // Only `window` of the picture (in pixels of the upright picture at the
    // picture's scale, clipped to it) as a 24-bit bitmap, the same pixels
    // DecodeBitmap() has there, decoded without the rest of the picture (as
    // `mode` says) and not kept. Nothing when the picture's options or its file decode to
    // anything but 24-bit colour.
    std::optional<kadrix::Bitmap> decodeWindow(const QRect& window, DecodeMode mode) const override;
    qint64 decodingBytes(const QRect& window, DecodeMode mode) const override;
    // The whole upright picture from libjpeg's scaled decode at the coarsest
    // of 1/2, 1/4 and 1/8 (never finer than the options' own scale) that
    // still gives `atLeast`, in 24 bits, and not kept.
    std::optional<kadrix::Bitmap> decodeReduced(QSize atLeast) const override;
    // The scaled decode as above with fixed options (see Picture); of a
    // stream whose restart markers start its MCU rows, only about
    // SketchMcuRows of those rows, evenly spread.
    std::optional<kadrix::Bitmap> decodeSketch(QSize atLeast) const override;
    static constexpr int SketchMcuRows = 24;
    // The scaled decode and its turned copy, and for a progressive file the
    // coefficients of the whole picture: an eighth of a header claiming
    // 65,000 pixels a side is still 8,125 pixels a side.
    qint64 sketchBytes(QSize atLeast) const override;
    // The window's rows from libjpeg's scanlines (jpegcodec::windowRows()),
    // for a picture not yet decoded; a turned picture's stored window is
    // decoded a band at a time (a few bands of at most 16 MB, each a decode
    // of its own) and its rows turned as they are read.
    std::unique_ptr<RowSource> readRows(const QRect& window, DecodeMode mode) const override;
    qint64 rowReadingBytes(const QRect& window, DecodeMode mode) const override;

    // The turn this picture applies to its stored pixels: the EXIF
    // orientation with AutoOrient, otherwise (and for an assigned bitmap)
    // Normal.
    Orientation orientation() const;

    const TJPEGDefaults& options() const { return Options; }
    bool progressiveEncoding() const { return Options.ProgressiveEncoding; }
    bool grayScale() const { return Image->GrayScale; }
    // The compressed bytes (empty when absent).
    QByteArray data() const { return Image->Data.value_or(QByteArray()); }
    std::shared_ptr<const TJPEGData> image() const { return Image; }

private:
    static JpegScale ReducedScale(QSize full, QSize atLeast, JpegScale finest);
    void ComputeScaledSize() const;
    // The size the decoder outputs, before any turn.
    QSize storedSize() const;
    void EnsureEncoded();

    std::shared_ptr<TJPEGData> Image;
    mutable std::unique_ptr<kadrix::Bitmap> Bitmap;
    mutable int ScaledWidth = 0;
    mutable int ScaledHeight = 0;
    mutable TJPEGDefaults Options;
    mutable bool NeedRecalc = false;
    PictureMetadata Markers;
};

// Enters the JPEG type in the picture registry for "jpeg" and "jpg", after
// giving JpegDefaults its start-up content.
void registerJpegPicture();
void unregisterJpegPicture();

} // namespace kadrix
