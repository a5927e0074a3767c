#include "result_writer.h"

#include "errors.h"
#include "icc_profile.h"
#include "jpeg_image.h"
#include "result_metadata.h"

#include <QColorSpace>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <limits>

namespace kadrix {
namespace {

bool hasExtension(const QString& path, const char* extension) {
    return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
}

PictureMetadata sourceMetadata(const Picture* source) {
    if (source == nullptr || !JpegDefaults.KeepMetadata)
        return {};
    return source->metadata();
}

bool writeJpeg(const Bitmap& canvas, const Picture* source, QIODevice& device) {
    TJPEGImage jpeg;
    jpeg.assign(canvas);
    jpeg.setMarkers(jpegResultMetadata(sourceMetadata(source), canvas.width(), canvas.height(),
                                       jpeg.options().GrayScale));
    jpeg.saveToStream(device);
    return true;
}

// PNG, TIFF and WebP through Qt, which writes the colour profile of the
// image's colour space into each of them.
bool writeWithQt(const Bitmap& canvas, ResultFormat format, const Picture* source,
                 QIODevice& device) {
    QImage image = canvas.image();
    const QByteArray profile = sourceMetadata(source).iccProfile;
    if (iccProfileFits(profile, false, std::numeric_limits<qsizetype>::max())) {
        const QColorSpace colourSpace = QColorSpace::fromIccProfile(profile);
        if (colourSpace.isValid()) // a profile Qt cannot parse is dropped
            image.setColorSpace(colourSpace);
    }
    const char* name = format == ResultFormat::Png    ? "png"
                       : format == ResultFormat::Tiff ? "tiff"
                                                      : "webp";
    QImageWriter writer(&device, name);
    if (format == ResultFormat::WebP)
        writer.setQuality(JpegDefaults.CompressionQuality);
    return writer.write(image);
}

} // namespace

QString resultFormatFilter() {
    return QStringLiteral("*.BMP|*.BMP|*.JPG;*.JPEG|*.JPG;*.JPEG|*.PNG|*.PNG|*.TIF;*.TIFF|"
                          "*.TIF;*.TIFF|*.WEBP|*.WEBP");
}

ResultFormat resultFormatOf(const QString& path) {
    if (isJpegPath(path))
        return ResultFormat::Jpeg;
    if (hasExtension(path, ".PNG"))
        return ResultFormat::Png;
    if (hasExtension(path, ".TIF") || hasExtension(path, ".TIFF"))
        return ResultFormat::Tiff;
    if (hasExtension(path, ".WEBP"))
        return ResultFormat::WebP;
    return ResultFormat::Bmp;
}

bool isJpegPath(const QString& path) {
    return hasExtension(path, ".JPEG") || hasExtension(path, ".JPG");
}

bool canReplace(const QString& path) {
    const QFileInfo target(path);
    if (target.isDir() || !target.isWritable())
        return false;
    return QFileInfo(target.absolutePath()).isWritable();
}

SaveOutcome saveResult(const Bitmap& canvas, const QString& path, const Picture* source) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return SaveOutcome::WriteFailed;
    bool written = false;
    try {
        switch (const ResultFormat format = resultFormatOf(path)) {
        case ResultFormat::Jpeg:
            written = writeJpeg(canvas, source, file);
            break;
        case ResultFormat::Png:
        case ResultFormat::Tiff:
        case ResultFormat::WebP:
            written = writeWithQt(canvas, format, source, file);
            break;
        case ResultFormat::Bmp:
            written = canvas.writeBmp(file);
            break;
        }
    } catch (const Error&) { // an encoder error counts as a failed write
        written = false;
    }
    // The device buffers small files whole: a failure to store them (file
    // size limit, full disk) shows only when the buffer is flushed, and the
    // commit below does not report it.
    if (!written || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return SaveOutcome::WriteFailed;
    }
    return file.commit() ? SaveOutcome::Saved : SaveOutcome::WriteFailed;
}

} // namespace kadrix
