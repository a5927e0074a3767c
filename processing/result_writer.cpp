#include "result_writer.h"

#include "errors.h"
#include "jpeg_image.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kadrix {

bool isJpegPath(const QString& path) {
    return path.endsWith(QStringLiteral(".JPEG"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".JPG"), Qt::CaseInsensitive);
}

bool canReplace(const QString& path) {
    const QFileInfo target(path);
    if (target.isDir() || !target.isWritable())
        return false;
    return QFileInfo(target.absolutePath()).isWritable();
}

SaveOutcome saveResult(const Bitmap& canvas, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return SaveOutcome::WriteFailed;
    bool written = false;
    try {
        if (isJpegPath(path)) {
            TJPEGImage jpeg;
            jpeg.assign(canvas);
            jpeg.saveToStream(file);
            written = true;
        } else {
            written = canvas.writeBmp(file);
        }
    } catch (const Error&) { // an encoder error counts as a failed write
        written = false;
    }
    if (!written || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return SaveOutcome::WriteFailed;
    }
    return file.commit() ? SaveOutcome::Saved : SaveOutcome::WriteFailed;
}

} // namespace kadrix
