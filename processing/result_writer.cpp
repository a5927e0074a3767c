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

SaveOutcome failed(const QString& why) {
    return {false, why};
}

bool hasExtension(const QString& path, const char* extension) {
    return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
}

PictureMetadata sourceMetadata(const Picture* source) {
    if (source == nullptr || !JpegDefaults.KeepMetadata)
        return {};
    return source->metadata();
}

// PNG, TIFF and WebP through Qt, which writes the colour profile of the
// image's colour space into each of them.
bool writeWithQt(const Bitmap& canvas, ResultFormat format, const Picture* source,
                 QImageWriter& writer) {
    QImage image = canvas.image();
    const QByteArray profile = sourceMetadata(source).iccProfile;
    if (iccProfileFits(profile, false, std::numeric_limits<qsizetype>::max())) {
        const QColorSpace colourSpace = QColorSpace::fromIccProfile(profile);
        if (colourSpace.isValid()) // a profile Qt cannot parse is dropped
            image.setColorSpace(colourSpace);
    }
    writer.setFormat(format == ResultFormat::Png    ? "png"
                     : format == ResultFormat::Tiff ? "tiff"
                                                    : "webp");
    if (format == ResultFormat::WebP)
        writer.setQuality(JpegDefaults.CompressionQuality);
    return writer.write(image);
}

// Writes the encoded canvas into the open temporary file; throws Error (the
// encoder's) or returns false with the reason when the writer fails.
bool writeEncoded(const Bitmap& canvas, ResultFormat format, const Picture* source,
                  QSaveFile& file, QString& why) {
    switch (format) {
    case ResultFormat::Jpeg: {
        TJPEGImage jpeg;
        jpeg.assign(canvas);
        jpeg.setMarkers(jpegResultMetadata(sourceMetadata(source), canvas.width(),
                                           canvas.height(), jpeg.options().GrayScale));
        jpeg.saveToStream(file);
        return true;
    }
    case ResultFormat::Png:
    case ResultFormat::Tiff:
    case ResultFormat::WebP: {
        QImageWriter writer(&file, QByteArray());
        if (writeWithQt(canvas, format, source, writer))
            return true;
        why = writer.errorString();
        return false;
    }
    case ResultFormat::Bmp:
        if (canvas.writeBmp(file))
            return true;
        // The BMP writer refuses only a picture past the format's 4 GB
        // limit, or a device that takes fewer bytes.
        why = QStringLiteral("too large for a BMP file");
        return false;
    }
    return false;
}

} // namespace

SaveDecision decideSave(const QString& path, const std::function<bool()>& replaceExisting) {
    const QFileInfo target(path);
    // A folder is no file to replace: nothing is asked, and the write fails.
    if (target.isDir() || (!target.exists() && !target.isSymLink()))
        return SaveDecision::Write;
    if (!replaceExisting())
        return SaveDecision::KeepExisting;
    return canReplace(path) ? SaveDecision::Write : SaveDecision::CannotReplace;
}

bool canReplace(const QString& path) {
    const QFileInfo target(path);
    if (target.isDir() || !target.isWritable())
        return false;
    return QFileInfo(target.absolutePath()).isWritable();
}

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

SaveOutcome saveResult(const Bitmap& canvas, const QString& path, const Picture* source) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    try {
        QString why;
        if (!writeEncoded(canvas, resultFormatOf(path), source, file, why)) {
            if (file.error() != QFileDevice::NoError)
                why = file.errorString();
            file.cancelWriting();
            return failed(why);
        }
    } catch (const EJPEG& e) { // an encoder error counts as a failed write
        file.cancelWriting();
        return failed(e.detailedMessage());
    } catch (const Error& e) {
        file.cancelWriting();
        return failed(e.message());
    }
    // The device buffers small files whole: a failure to store them (file
    // size limit, full disk) shows only when the buffer is flushed, and the
    // commit below does not report it.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failed(why);
    }
    if (!file.commit())
        return failed(file.errorString());
    return {true, {}};
}

} // namespace kadrix
