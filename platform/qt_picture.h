#pragma once

#include "picture.h"

#include <QByteArray>
#include <QSize>

namespace kadrix {

// The platform's own picture types (BMP, ICO, PNG) and those of Qt's image
// format plugins (TIFF, WebP), read through Qt's image readers. Loading keeps the file's bytes and
// reads only the header; pixels are decoded when a bitmap is asked for.
class QtPicture final : public Picture {
public:
    explicit QtPicture(QByteArray format);
    void loadFromFile(const QString& path) override;
    int width() const override { return size_.width(); }
    int height() const override { return size_.height(); }
    void assignTo(Bitmap& target) const override;
    // The colour profile of the last decoded image (none before decoding).
    PictureMetadata metadata() const override;

    // Loads from bytes already in memory (used by the fuzz targets).
    void loadFromData(QByteArray data);

private:
    QByteArray format_;
    QByteArray data_;
    QSize size_;
    mutable QByteArray iccProfile_;
};

// Enters the formats of the format table that Qt reads in the picture
// registry, in the table's order: png ("Images PNG"), ico ("Icônes") and bmp
// ("Bitmaps"), then tif and tiff ("Images TIFF") and webp ("Images WebP")
// when Qt has a reader for them.
void registerPlatformPictures();

} // namespace kadrix
