#pragma once

#include "heif_source.h"
#include "picture.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <functional>
#include <memory>

namespace kadrix {

// The HEIF picture type (HEIC, AVIF and the rest of the family) over libheif.
// Loading keeps the file open and reads the container; the primary image is
// decoded on the first request for pixels and kept. A thumbnail may stand
// for the picture in a measure (decodeSketch()); depth maps and other
// auxiliary images are ignored.
//
// With `autoOrient` the picture is the one the file means: its rotation,
// mirror and clean aperture applied in the file's order. Without, it is the
// picture as stored. An EXIF Orientation inside the file is never applied.
// Sources of 10 or 12 bits come out at 8 bits per channel, rounded.
// A thumbnail's shorter side at least this long stands for the picture in a
// measure of it.
inline constexpr int ThumbnailSide = 160;

class HeifPicture final : public Picture {
public:
    explicit HeifPicture(bool autoOrient = true);
    ~HeifPicture() override;

    // Throws EInvalidGraphic "Image invalide: <reason>" when the file cannot
    // be read, is no HEIF file libheif can read, holds more than a container
    // may (see heif::ContainerLimits), is a grid libheif would decode into
    // uninitialised pixels, or gives a picture past the bitmap limit.
    void loadFromFile(const QString& path) override;
    void loadFromData(QByteArray data);

    // The container's size of the primary image until it is decoded (see
    // heif::correctedSize()), the decoded picture's size afterwards.
    int width() const override { return size_.width(); }
    int height() const override { return size_.height(); }
    // Decodes the primary image (once); throws EInvalidGraphic when that fails.
    void assignTo(Bitmap& target) const override;
    // The ICC profile and the EXIF block of the primary image; the pixels
    // count as turned upright, so a JPEG result's Orientation becomes 1.
    PictureMetadata metadata() const override;
    // `window` of the picture. A grid (as phones write them) not decoded yet
    // gives it from the tiles the window touches, the same pixels as the
    // whole decode's; anything the tile path does not take is decoded whole
    // and the window taken from it. Nothing when the decoded size is not the
    // size reported before decoding (the caller asked for a window of a
    // wrong size): the caller then takes the whole picture.
    std::optional<Bitmap> decodeWindow(const QRect& window, DecodeMode mode) const override;
    qint64 decodingBytes(const QRect& window, DecodeMode mode) const override;
    // The window's rows a row of tiles at a time (a column of them where the
    // grid is turned), for a grid not decoded yet; a band the tile path does
    // not take is answered by the whole decode.
    std::unique_ptr<RowSource> readRows(const QRect& window, DecodeMode mode) const override;
    qint64 rowReadingBytes(const QRect& window, DecodeMode mode) const override;
    // The smallest thumbnail of the primary image (decoded with its own
    // transforms, or none as the picture) with at least ThumbnailSide pixels
    // on its shorter side, the picture's aspect ratio and at most a quarter
    // of its pixels; nothing without one, and the caller then measures the
    // decoded picture.
    std::optional<Bitmap> decodeSketch(QSize atLeast) const override;

    bool hasAlpha() const;

private:
    void load(heif::HeifSource source);
    const QImage& decoded() const;
    // `window` of a grid through the tile path; nothing when it does not take
    // this picture.
    std::optional<QImage> tiledWindow(const QRect& window) const;

    struct Handles;
    std::unique_ptr<Handles> handles_;
    mutable QSize size_;
    mutable QImage decoded_; // BGR888, or ARGB32 (straight alpha) with an alpha plane
    bool autoOrient_;
};

// The bitmap handed out for a decoded picture: BGR888, or ARGB32 (straight
// alpha) for a picture with an alpha plane.
Bitmap bitmapOfDecoded(QImage image);

// Enters the HEIF types in the picture registry: "Images HEIF" for heic,
// heif and hif, then "Images AVIF" for avif, each as one filter item placed
// after every type registered later. `autoOrient` is asked when each picture
// is created (the JPEG options' "Upright" setting).
void registerHeifPicture(std::function<bool()> autoOrient);

} // namespace kadrix
