#include "qt_picture.h"

#include "bitmap.h"
#include "errors.h"
#include "picture_registry.h"
#include "regular_file.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>

namespace kadrix {
namespace {

// Qt's readers leave their reason out for most damaged files.
EInvalidGraphic invalid(const QImageReader& reader) {
    if (reader.error() == QImageReader::UnknownError)
        return EInvalidGraphic(
            Text("kadrix",
                 QT_TRANSLATE_NOOP("kadrix", "Image invalide: données illisibles ou endommagées")));
    return EInvalidGraphic(
        Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Image invalide: %1"), {reader.errorString()}));
}

// Whether an installed image-format plugin reads `format`. Naming the format
// with auto-detection off makes Qt load that one plugin; asking for
// QImageReader::supportedImageFormats() would load every installed plugin and
// its libraries, tens of milliseconds at each start of a command-line run.
bool pluginReads(const QByteArray& format) {
    QBuffer empty;
    empty.open(QIODevice::ReadOnly);
    QImageReader reader(&empty, format);
    reader.setAutoDetectImageFormat(false);
    reader.canRead();
    return reader.error() != QImageReader::UnsupportedFormatError;
}

} // namespace

QtPicture::QtPicture(QByteArray format) : format_(std::move(format)) {}

void QtPicture::loadFromFile(const QString& path) {
    QFile file;
    openRegularFile(file, path);
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EInvalidGraphic(Text("kadrix",
                                   QT_TRANSLATE_NOOP("kadrix", "Erreur de lecture de %1: %2"),
                                   {path, file.errorString()}));
    loadFromData(std::move(data));
}

void QtPicture::loadFromData(QByteArray data) {
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format_);
    const QSize size = reader.size();
    if (!size.isValid() || !reader.canRead())
        throw invalid(reader);
    buffer.close();
    data_ = std::move(data);
    size_ = size;
}

void QtPicture::assignTo(Bitmap& target) const {
    QByteArray data = data_;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format_);
    if (bitmapBytes(size_.width(), size_.height(), 4) > (qint64(1) << 31))
        throw Error(Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Image trop grande: %1 * %2"),
                         {QString::number(size_.width()), QString::number(size_.height())}));
    QImage image;
    if (!reader.read(&image))
        throw invalid(reader);
    iccProfile_ = image.colorSpace().iccProfile();
    // Transparency stays (straight alpha) until the picture is composed over
    // its background; opaque pictures become 24 bits.
    if (image.hasAlphaChannel())
        image = image.convertToFormat(QImage::Format_ARGB32);
    else if (image.format() != QImage::Format_Indexed8)
        image = image.convertToFormat(QImage::Format_BGR888);
    if (image.isNull())
        throw EInvalidGraphic(
            Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Image invalide: mémoire insuffisante")));
    target = Bitmap(std::move(image));
}

PictureMetadata QtPicture::metadata() const {
    PictureMetadata metadata;
    metadata.iccProfile = iccProfile_;
    return metadata;
}

void registerPlatformPictures() {
    // Qt refuses images above 256 MB by default; allow what a bitmap allows.
    QImageReader::setAllocationLimit(2048);
    // The formats Qt reads, in the table's order: the platform's own, then
    // those of plugins, whose presence is asked when first needed. The JPEG
    // type registers itself afterwards, so that its entries lead the filter.
    for (const PictureFormat& format : pictureFormats()) {
        if (format.reader == FormatReader::OwnType)
            continue;
        const QByteArray name = format.qtName;
        std::shared_ptr<const Presence> presence;
        if (format.reader == FormatReader::QtPlugin)
            presence = std::make_shared<const Presence>([name] { return pluginReads(name); });
        pictureRegistry().registerFormat(
            format, [name] { return std::make_unique<QtPicture>(name); }, presence);
    }
}

} // namespace kadrix
