#include "result_writer.h"

#include "atomic_file.h"
#include "errors.h"
#include "icc_profile.h"
#include "jpeg_encoder.h"
#include "jpeg_image.h"
#include "native_name.h"
#include "native_path.h"
#include "result_metadata.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <cerrno>
#include <limits>

#include <unistd.h>

namespace kadrix {
namespace {

SaveOutcome failed(const QString& why, int systemError = 0) {
    return {false, why, systemError};
}

// The BMP writers refuse only a picture past the format's 4 GB limit, or a
// device that takes fewer bytes.
QString bmpRefused() {
    return QStringLiteral("too large for a BMP file");
}

// A WebP file holds at most 16383 pixels a side (the format's 14-bit
// fields); Qt's writer refuses more without saying why.
constexpr int MaxWebPSide = 16383;

QString webpRefused() {
    return QStringLiteral("too large for a WebP file: at most %1 pixels a side").arg(MaxWebPSide);
}

PictureMetadata sourceMetadata(const Picture* source) {
    if (source == nullptr || !JpegDefaults.KeepMetadata)
        return {};
    return source->metadata();
}

// Qt's PNG writer takes a quality, which it maps to zlib's level as
// (100 - quality) * 9 / 91: the quality that gives `level`.
int pngQualityOf(int level) {
    return 100 - (91 * level + 8) / 9;
}

// PNG, TIFF and WebP through Qt, which writes the colour profile of the
// image's colour space into each of them.
bool writeWithQt(const Bitmap& canvas, ResultFormat format, const Picture* source,
                 const ResultEncoding& encoding, QImageWriter& writer) {
    QImage image = canvas.image();
    const QByteArray profile = sourceMetadata(source).iccProfile;
    if (iccProfileFits(profile, false, std::numeric_limits<qsizetype>::max())) {
        const QColorSpace colourSpace = QColorSpace::fromIccProfile(profile);
        if (colourSpace.isValid()) // a profile Qt cannot parse is dropped
            image.setColorSpace(colourSpace);
    }
    writer.setFormat(resultFormat(format).qtName);
    switch (format) {
    case ResultFormat::Png:
        writer.setQuality(pngQualityOf(encoding.pngLevel));
        break;
    case ResultFormat::Tiff:
        writer.setCompression(encoding.tiff == TiffCompression::Lzw ? 1 : 0);
        break;
    case ResultFormat::WebP:
        writer.setQuality(encoding.webpQuality >= 0 ? encoding.webpQuality
                                                    : JpegDefaults.CompressionQuality);
        break;
    case ResultFormat::Bmp:
    case ResultFormat::Jpeg:
        break;
    }
    return writer.write(image);
}

// Writes the encoded canvas into the open temporary file; throws Error (the
// encoder's) or returns false with the reason when the writer fails.
bool writeEncoded(const Bitmap& canvas, ResultFormat format, const Picture* source,
                  const ResultEncoding& encoding, QIODevice& file, QString& why) {
    switch (format) {
    case ResultFormat::Jpeg: {
        TJPEGImage jpeg;
        jpeg.assign(canvas);
        jpeg.setMarkers(jpegResultMetadata(sourceMetadata(source), canvas.width(), canvas.height(),
                                           jpeg.options().GrayScale));
        jpeg.saveToStream(file);
        return true;
    }
    case ResultFormat::Png:
    case ResultFormat::Tiff:
    case ResultFormat::WebP: {
        if (format == ResultFormat::WebP &&
            (canvas.width() > MaxWebPSide || canvas.height() > MaxWebPSide)) {
            why = webpRefused();
            return false;
        }
        QImageWriter writer(&file, QByteArray());
        if (writeWithQt(canvas, format, source, encoding, writer))
            return true;
        why = writer.errorString();
        return false;
    }
    case ResultFormat::Bmp:
        if (canvas.writeBmp(file))
            return true;
        why = bmpRefused();
        return false;
    }
    return false;
}

} // namespace

qint64 encodingBytes(QSize size, ResultFormat format) {
    const qint64 pixels = qint64(size.width()) * size.height();
    constexpr qint64 Gathered = 256 * 1024; // the temporary file's write buffer
    switch (format) {
    case ResultFormat::Bmp:
    case ResultFormat::Jpeg: // the encoder holds a band of rows
        return Gathered + pixels * 3;
    case ResultFormat::Png:
    case ResultFormat::Tiff:
    case ResultFormat::WebP: // Qt's writers convert the picture, then encode it
        return Gathered + pixels * 8;
    }
    return Gathered + pixels * 8;
}

qint64 rowWritingBytes(QSize size, ResultFormat format) {
    constexpr qint64 Gathered = 256 * 1024; // the temporary file's write buffer
    const qint64 row = qint64(std::max(size.width(), 0)) * 3;
    if (format != ResultFormat::Jpeg)
        return Gathered + row;
    return Gathered + row +
           jpegcodec::RowEncoder::heldBytes(size.width(), size.height(), JpegDefaults);
}

bool SaveOutcome::diskFull() const {
    return systemError == ENOSPC || systemError == EDQUOT;
}

SaveDecision decideSave(const QString& path, const std::function<bool()>& replaceExisting) {
    switch (pathKind(path)) {
    case PathKind::Stream:
        return SaveDecision::Stream;
    case PathKind::File:
        break;
    // A folder is no file to replace: nothing is asked, and the write fails.
    case PathKind::None:
    case PathKind::Folder:
    case PathKind::Other:
        return SaveDecision::Write;
    }
    if (!replaceExisting())
        return SaveDecision::KeepExisting;
    return canReplace(path) ? SaveDecision::Replace : SaveDecision::CannotReplace;
}

bool canReplace(const QString& path) {
    const QByteArray name = nativeName(path);
    const QFileInfo target(path);
    if (pathKind(path) != PathKind::File ||
        (!target.isSymLink() && ::access(name.constData(), W_OK) != 0))
        return false;
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = slash < 0    ? QStringLiteral(".")
                           : slash == 0 ? QStringLiteral("/")
                                        : path.left(slash);
    return ::access(nativeName(folder).constData(), W_OK) == 0;
}

QString resultFormatFilter() {
    QStringList pieces;
    for (const PictureFormat* format : resultFormats())
        pieces << resultItem(*format) << resultItem(*format);
    return pieces.join(u'|');
}

ResultFormat resultFormatOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const PictureFormat* format =
        dot < 0 ? nullptr : pictureFormatNamed(QStringView(name).mid(dot + 1));
    return format && format->result && format->extensions.contains(name.mid(dot + 1).toLower())
               ? *format->result
               : ResultFormat::Bmp;
}

bool isJpegPath(const QString& path) {
    return resultFormatOf(path) == ResultFormat::Jpeg;
}

namespace {

// Writes the canvas encoded in `format` into `device`. The file system's
// refusal, when a file met one, is the cause of any failure of the writer.
SaveOutcome encodeInto(const Bitmap& canvas, ResultFormat format, const Picture* source,
                       const ResultEncoding& encoding, QIODevice& device,
                       const DescriptorDevice* file) {
    const auto refused = [&](const QString& why) {
        const int error = file != nullptr ? file->errorNumber() : 0;
        return error != 0 ? failed(qt_error_string(error), error) : failed(why);
    };
    try {
        QString why;
        if (!writeEncoded(canvas, format, source, encoding, device, why))
            return refused(why);
    } catch (const EJPEG& e) { // an encoder error counts as a failed write
        return refused(e.detailedMessage());
    } catch (const Error& e) {
        return refused(e.message());
    }
    return {true, {}, 0};
}

// A device, a FIFO or a socket takes the encoded bytes as they come: the
// encoders may seek, so the result is encoded in memory first.
SaveOutcome saveIntoStream(const Bitmap& canvas, const QString& path, const Picture* source,
                           const ResultEncoding& encoding) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    if (SaveOutcome encoded = encodeInto(canvas, encoding.format.value_or(resultFormatOf(path)),
                                         source, encoding, buffer, nullptr);
        !encoded)
        return encoded;
    buffer.close();
    if (const int error = writeIntoStream(path, bytes); error != 0)
        return failed(qt_error_string(error), error);
    return {true, {}, 0};
}

} // namespace

SaveOutcome saveResult(const Bitmap& canvas, const QString& path, const Picture* source,
                       bool replace, const ResultEncoding& encoding) {
    switch (pathKind(path)) {
    case PathKind::Stream:
        return saveIntoStream(canvas, path, source, encoding);
    case PathKind::Folder:
        return failed(qt_error_string(EISDIR), EISDIR);
    case PathKind::Other:
        return failed(QStringLiteral("not a file, a character device, a pipe or a socket"));
    case PathKind::None:
    case PathKind::File:
        break;
    }
    AtomicFile file(path);
    if (!file.open())
        return failed(file.errorString(), file.errorNumber());
    if (SaveOutcome encoded = encodeInto(canvas, encoding.format.value_or(resultFormatOf(path)),
                                         source, encoding, file.device(), &file.device());
        !encoded)
        return encoded;
    if (!file.commit(replace))
        return failed(file.errorString(), file.errorNumber());
    return {true, {}, 0};
}

SaveOutcome saveResultInto(const Bitmap& canvas, DescriptorDevice& into, ResultFormat format,
                           const Picture* source, const ResultEncoding& encoding) {
    if (SaveOutcome encoded = encodeInto(canvas, format, source, encoding, into, &into); !encoded)
        return encoded;
    if (!into.drain())
        return failed(qt_error_string(into.errorNumber()), into.errorNumber());
    return {true, {}, 0};
}

bool writesRows(ResultFormat format) {
    return format == ResultFormat::Jpeg || format == ResultFormat::Bmp;
}

struct ResultRows::Writer {
    Writer(const QString& path, DescriptorDevice* given) : file(path), into(given) {}
    AtomicFile file;
    DescriptorDevice* into; // the open file written in place of `file`, when given
    bool open() { return into != nullptr || file.open(); }
    DescriptorDevice& device() { return into != nullptr ? *into : file.device(); }
    bool commit(bool replace) { return into != nullptr ? into->drain() : file.commit(replace); }
    // The system's error of the step that failed.
    SaveOutcome failure() const {
        const int error = into != nullptr ? into->errorNumber() : file.errorNumber();
        return failed(qt_error_string(error), error);
    }
    std::unique_ptr<jpegcodec::RowEncoder> jpeg; // for a JPEG result
    BmpRowWriter bmp;                            // for any other
};

ResultRows::ResultRows(const QString& path, ResultFormat format,
                       std::function<const Picture*()> source, bool replace)
    : path_(path), format_(format), source_(std::move(source)), replace_(replace) {}

ResultRows::ResultRows(DescriptorDevice& into, ResultFormat format,
                       std::function<const Picture*()> source)
    : into_(&into), format_(format), source_(std::move(source)), replace_(false) {}

ResultRows::~ResultRows() = default;

void ResultRows::stop(const QString& why) {
    // The file system's refusal, when there was one, is the cause of any
    // failure of the writer that met it.
    const int error = writer_ ? writer_->device().errorNumber() : 0;
    outcome_ = error != 0 ? failed(qt_error_string(error), error) : failed(why);
    writer_.reset(); // the unfinished file goes
    throw Stopped{};
}

template <typename Step> void ResultRows::guarded(Step&& step) {
    try {
        step();
    } catch (const EJPEG& e) { // an encoder error counts as a failed write
        stop(e.detailedMessage());
    } catch (const Error& e) {
        stop(e.message());
    }
}

void ResultRows::start(int width, int height) {
    writer_ = std::make_unique<Writer>(path_, into_);
    if (!writer_->open()) {
        outcome_ = writer_->failure();
        writer_.reset();
        throw Stopped{};
    }
    QIODevice& device = writer_->device();
    if (format_ != ResultFormat::Jpeg) {
        if (!writer_->bmp.start(device, width, height))
            stop(bmpRefused());
    } else {
        // The options a new JPEG picture takes, as saveResult()'s encoding has.
        const TJPEGDefaults options = JpegDefaults;
        const PictureMetadata markers =
            jpegResultMetadata(sourceMetadata(source_()), width, height, options.GrayScale);
        guarded([&] {
            writer_->jpeg =
                std::make_unique<jpegcodec::RowEncoder>(device, width, height, options, markers);
        });
    }
    // The row is made once the format has taken the size.
    row_.assign(std::size_t(std::max(width, 0)) * 3, 0);
}

void ResultRows::put() {
    if (writer_->jpeg) {
        guarded([&] { writer_->jpeg->write(row_.data()); });
        return;
    }
    if (!writer_->bmp.write(row_.data()))
        stop(bmpRefused());
}

SaveOutcome ResultRows::commit() {
    if (!writer_)
        return outcome_;
    try {
        if (writer_->jpeg)
            guarded([&] { writer_->jpeg->finish(); });
    } catch (const Stopped&) {
        return outcome_;
    }
    if (!writer_->commit(replace_))
        outcome_ = writer_->failure();
    writer_.reset();
    return outcome_;
}

} // namespace kadrix
