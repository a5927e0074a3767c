#include "result_writer.h"

#include "errors.h"
#include "jpeg_image.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kadrix {
namespace {

SaveOutcome failed(const QString& why) {
    return {false, why};
}

// Writes the encoded canvas into the open temporary file; throws Error (the
// encoder's) or returns false when the device refuses the bytes.
bool writeEncoded(const Bitmap& canvas, ResultFormat format, QSaveFile& file) {
    switch (format) {
    case ResultFormat::Jpeg: {
        TJPEGImage jpeg;
        jpeg.assign(canvas);
        jpeg.saveToStream(file);
        return true;
    }
    case ResultFormat::Bmp:
        return canvas.writeBmp(file);
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

ResultFormat resultFormatOf(const QString& path) {
    return isJpegPath(path) ? ResultFormat::Jpeg : ResultFormat::Bmp;
}

bool isJpegPath(const QString& path) {
    return path.endsWith(QStringLiteral(".JPEG"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".JPG"), Qt::CaseInsensitive);
}

SaveOutcome saveResult(const Bitmap& canvas, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    try {
        if (!writeEncoded(canvas, resultFormatOf(path), file)) {
            // The BMP writer refuses only a picture past the format's 4 GB
            // limit, or a device that takes fewer bytes.
            const QString why = file.error() != QFileDevice::NoError
                                    ? file.errorString()
                                    : QStringLiteral("too large for a BMP file");
            file.cancelWriting();
            return failed(why);
        }
    } catch (const Error& e) { // an encoder error counts as a failed write
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
