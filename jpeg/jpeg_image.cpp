#include "jpeg_image.h"

#include "jpeg_decoder.h"
#include "jpeg_encoder.h"
#include "jpeg_markers.h"
#include "jpeg_sampled_rows.h"
#include "jpeg_window.h"
#include "picture_registry.h"
#include "regular_file.h"

#include <algorithm>

#include <QFile>
#include <QSaveFile>

#include <jerror.h>

namespace kadrix {
namespace {

// The most bytes of stored pixels a turned picture's rows hold at once.
constexpr qint64 MaxTurnedBandBytes = qint64(16) << 20;

// The upright rows of each band of a turned picture's window: as few bands
// of equal height as keep each under MaxTurnedBandBytes.
int turnedBandRows(const QRect& window) {
    const qint64 bytes = bitmapBytes(window.width(), window.height(), 3);
    const qint64 bands = std::max<qint64>(1, (bytes + MaxTurnedBandBytes - 1) / MaxTurnedBandBytes);
    return int((window.height() + bands - 1) / bands);
}

// The upright rows of a turned picture's window, decoded a band of rows at
// a time: each band's stored pixels (a band of stored columns for a quarter
// turn) come from a windowed decode of their own and are turned as they are
// read, so that a band of the stored picture is held, not the window, at the
// cost of reading the stream once a band.
class TurnedBands final : public RowSource {
public:
    TurnedBands(QByteArray data, const TJPEGDefaults& options, Orientation turn, QSize stored,
                const QRect& window, DecodeMode mode)
        : data_(std::move(data)), options_(options), turn_(turn), stored_(stored), window_(window),
          mode_(mode), bandRows_(turnedBandRows(window)) {}

    // Decodes the first band; false when the picture gives no window.
    bool start() { return nextBand(); }

    int width() const override { return window_.width(); }
    int height() const override { return window_.height(); }

    const std::uint8_t* next() override {
        // Every band decodes as the first did: the same stream and options.
        if (left_ == 0 && !nextBand())
            throw EJPEG(JERR_BAD_CROP_SPEC);
        --left_;
        return band_->next();
    }

private:
    bool nextBand() {
        const int rows = std::min(bandRows_, window_.height() - done_);
        const QRect upright(window_.left(), window_.top() + done_, window_.width(), rows);
        const QRect part = storedRect(turn_, stored_, upright);
        band_.reset(); // the previous band goes before the next is decoded
        std::optional<kadrix::Bitmap> pixels =
            jpegcodec::decodeWindow(data_, options_, part, mode_);
        if (!pixels || pixels->width() != part.width() || pixels->height() != part.height())
            return false;
        band_ = uprightRows(std::move(*pixels), turn_);
        done_ += rows;
        left_ = rows;
        return true;
    }

    QByteArray data_;
    TJPEGDefaults options_;
    Orientation turn_;
    QSize stored_;
    QRect window_;
    DecodeMode mode_;
    int bandRows_;
    std::unique_ptr<RowSource> band_;
    int done_ = 0; // upright rows decoded
    int left_ = 0; // of the band in hand
};

} // namespace

TJPEGImage::TJPEGImage() : Image(std::make_shared<TJPEGData>()), Options(JpegDefaults) {}

void TJPEGImage::loadFromFile(const QString& path) {
    QFile file;
    openRegularFile(file, path);
    loadFromStream(file);
}

void TJPEGImage::loadFromStream(QIODevice& stream) {
    QByteArray bytes;
    if (stream.isSequential()) {
        bytes = stream.readAll();
    } else {
        const qint64 count = std::max<qint64>(stream.size() - stream.pos(), 0);
        bytes.resize(count);
        qint64 done = 0;
        while (done < count) {
            const qint64 got = stream.read(bytes.data() + done, count - done);
            if (got <= 0)
                break;
            done += got;
        }
        if (done != count)
            throw EInvalidGraphic(Text("kadrix",
                                       QT_TRANSLATE_NOOP("kadrix", "Erreur de lecture du flux: %1"),
                                       {stream.errorString()}));
    }
    loadFromData(std::move(bytes));
}

void TJPEGImage::loadFromData(QByteArray data) {
    auto loaded = std::make_shared<TJPEGData>();
    bool progressive = Options.ProgressiveEncoding;
    if (!data.isEmpty()) {
        const jpegcodec::JpegHeader header = jpegcodec::readHeader(data);
        loaded->Width = header.width;
        loaded->Height = header.height;
        loaded->GrayScale = header.grayScale;
        loaded->ExifOrientation = header.orientation;
        progressive = header.progressive;
    }
    loaded->Data = std::move(data);
    Image = std::move(loaded);
    Options.ProgressiveEncoding = progressive;
    // A bitmap decoded from earlier data would no longer match.
    Bitmap.reset();
}

Orientation TJPEGImage::orientation() const {
    return Options.AutoOrient ? Image->ExifOrientation : Orientation::Normal;
}

QSize TJPEGImage::storedSize() const {
    if (Options.Scale == JpegScale::FullSize)
        return {Image->Width, Image->Height};
    NeedRecalc = true;
    ComputeScaledSize();
    return {ScaledWidth, ScaledHeight};
}

int TJPEGImage::width() const {
    if (Bitmap)
        return Bitmap->width();
    return uprightSize(orientation(), storedSize()).width();
}

int TJPEGImage::height() const {
    if (Bitmap)
        return Bitmap->height();
    return uprightSize(orientation(), storedSize()).height();
}

// NeedRecalc stays set: every size query of an undecoded, scaled picture
// reads the header again.
void TJPEGImage::ComputeScaledSize() const {
    if (!NeedRecalc)
        return;
    const jpegcodec::ScaledSize size =
        jpegcodec::scaledSize(Image->Data.value_or(QByteArray()), Options);
    ScaledWidth = size.width;
    ScaledHeight = size.height;
    Options.ProgressiveEncoding = size.progressive;
}

const kadrix::Bitmap& TJPEGImage::DecodeBitmap() const {
    if (!Bitmap)
        // Kept only once decoded completely, so that a failed decode is not
        // mistaken for an empty picture the next time.
        Bitmap = std::make_unique<kadrix::Bitmap>(turnUpright(
            jpegcodec::decode(Image->Data.value_or(QByteArray()), Options), orientation()));
    return *Bitmap;
}

// A window is decoded row band by row band: it holds the window and a few
// rows of blocks more.
qint64 TJPEGImage::decodingBytes(const QRect& window, DecodeMode mode) const {
    if (mode == DecodeMode::Whole)
        return Picture::decodingBytes(window, mode);
    constexpr qint64 Margin = 64;
    return std::min<qint64>(width(), window.width() + Margin) *
           std::min<qint64>(height(), window.height() + Margin) * 4;
}

std::optional<kadrix::Bitmap> TJPEGImage::decodeWindow(const QRect& window, DecodeMode mode) const {
    if (Bitmap) {
        if (Bitmap->pixelFormat() != PixelFormat::Bits24)
            return std::nullopt;
        const QRect wanted = window.intersected(QRect(0, 0, Bitmap->width(), Bitmap->height()));
        return kadrix::Bitmap(Bitmap->image().copy(wanted));
    }
    const QByteArray data = Image->Data.value_or(QByteArray());
    const Orientation turn = orientation();
    if (turn == Orientation::Normal)
        return jpegcodec::decodeWindow(data, Options, window, mode);
    // The window is chosen on the upright picture; its pixels come from the
    // matching window of the stored picture, decoded and then turned.
    const QSize stored = storedSize();
    const QRect wanted = window.intersected(QRect(QPoint(0, 0), uprightSize(turn, stored)));
    std::optional<kadrix::Bitmap> part =
        jpegcodec::decodeWindow(data, Options, storedRect(turn, stored, wanted), mode);
    if (!part)
        return std::nullopt;
    return turnUpright(std::move(*part), turn);
}

std::unique_ptr<RowSource> TJPEGImage::readRows(const QRect& window, DecodeMode mode) const {
    if (Bitmap || !Image->Data)
        return nullptr;
    const Orientation turn = orientation();
    if (turn == Orientation::Normal)
        return jpegcodec::windowRows(*Image->Data, Options, window, mode);
    // A turned picture's rows are columns or bottom rows of the stored one:
    // its stored window is decoded a band at a time (TurnedBands).
    const QSize stored = storedSize();
    const QRect wanted = window.intersected(QRect(QPoint(0, 0), uprightSize(turn, stored)));
    if (wanted.isEmpty())
        return nullptr;
    auto rows = std::make_unique<TurnedBands>(*Image->Data, Options, turn, stored, wanted, mode);
    if (!rows->start())
        return nullptr;
    return rows;
}

// Rows read from the scanlines hold the codec's (jpegcodec::windowRowsBytes());
// a turned picture's hold a band of its window decoded and turned as it is
// read. A small window entered at a restart marker, and a picture that gives
// no rows, are decoded as decodingBytes() counts.
qint64 TJPEGImage::rowReadingBytes(const QRect& window, DecodeMode mode) const {
    const QRect shown = window.intersected(QRect(0, 0, width(), height()));
    if (mode == DecodeMode::Whole || Bitmap || !Image->Data || shown.isEmpty() ||
        Options.PixelFormat != JpegPixelFormat::Bits24 || Options.GrayScale)
        return decodingBytes(window, mode);
    const Orientation turn = orientation();
    if (turn != Orientation::Normal)
        return decodingBytes(QRect(shown.topLeft(), QSize(shown.width(), turnedBandRows(shown))),
                             mode) +
               uprightRowsBytes(shown.width());
    if (mode == DecodeMode::Seek &&
        bitmapBytes(shown.width(), shown.height(), 3) <= jpegcodec::MaxSeekWindowBytes)
        return decodingBytes(window, mode);
    const QSize stored = storedSize();
    return jpegcodec::windowRowsBytes(stored.width(), stored.height(), progressiveEncoding());
}

// The coarsest of libjpeg's scales 1/2, 1/4 and 1/8, never finer than
// `finest`, that still gives `atLeast` on both sides of `full`.
JpegScale TJPEGImage::ReducedScale(QSize full, QSize atLeast, JpegScale finest) {
    for (int scale = int(JpegScale::Eighth); scale > int(finest); --scale) {
        const int divisor = 1 << scale;
        // libjpeg's scaled output is the full size divided and rounded up.
        if ((full.width() + divisor - 1) / divisor >= atLeast.width() &&
            (full.height() + divisor - 1) / divisor >= atLeast.height())
            return JpegScale(scale);
    }
    return finest;
}

std::optional<kadrix::Bitmap> TJPEGImage::decodeReduced(QSize atLeast) const {
    const QByteArray data = Image->Data.value_or(QByteArray());
    if (data.isEmpty())
        return std::nullopt;
    const Orientation turn = orientation();
    TJPEGDefaults options = Options;
    options.Scale =
        ReducedScale(uprightSize(turn, {Image->Width, Image->Height}), atLeast, Options.Scale);
    kadrix::Bitmap reduced = jpegcodec::decode(data, options);
    reduced.convertTo24();
    return turnUpright(std::move(reduced), turn);
}

std::optional<kadrix::Bitmap> TJPEGImage::decodeSketch(QSize atLeast) const {
    const QByteArray data = Image->Data.value_or(QByteArray());
    if (data.isEmpty())
        return std::nullopt;
    const Orientation turn = orientation();
    // The options are fixed so that every caller measures the same pixels:
    // colour, exact grey, the fast settings (the measure needs no precision).
    TJPEGDefaults options;
    options.Performance = JpegPerformance::BestSpeed;
    options.Smoothing = false;
    options.ExactGrey = true;
    options.Scale = ReducedScale(uprightSize(turn, {Image->Width, Image->Height}), atLeast,
                                 JpegScale::FullSize);
    std::optional<kadrix::Bitmap> sketch;
    // A scaled decode still entropy-decodes every row (at 1/8 nearly all its
    // cost): where restart markers cut the stream into MCU rows, only every
    // step-th row is read.
    const int step = jpegcodec::mcuRowsOf(data) / SketchMcuRows;
    if (step >= 2) {
        if (const std::optional<QByteArray> rows = jpegcodec::sampledRowsStream(data, step)) {
            try {
                sketch = jpegcodec::decode(*rows, options);
            } catch (const EJPEG&) {
                // the whole stream's scaled decode below says what is wrong
            }
        }
    }
    if (!sketch)
        sketch = jpegcodec::decode(data, options);
    sketch->convertTo24();
    return turnUpright(std::move(*sketch), turn);
}

qint64 TJPEGImage::sketchBytes(QSize atLeast) const {
    if (!Image->Data)
        return 0;
    const QSize stored = storedSize();
    const int divisor =
        1 << int(ReducedScale(uprightSize(orientation(), stored), atLeast, JpegScale::FullSize));
    const qint64 sketch = qint64((stored.width() + divisor - 1) / divisor) *
                          ((stored.height() + divisor - 1) / divisor);
    return sketch * 3 * 2 +
           jpegcodec::windowRowsBytes(stored.width(), stored.height(), progressiveEncoding());
}

void TJPEGImage::assignTo(kadrix::Bitmap& target) const {
    target = DecodeBitmap();
}

void TJPEGImage::assign(const kadrix::Bitmap& source) {
    Image = std::make_shared<TJPEGData>();
    Bitmap = std::make_unique<kadrix::Bitmap>(source);
}

void TJPEGImage::setMarkers(PictureMetadata markers) {
    Markers = std::move(markers);
}

PictureMetadata TJPEGImage::metadata() const {
    PictureMetadata metadata = jpegcodec::readMetadata(Image->Data.value_or(QByteArray()));
    metadata.turned = orientation() != Orientation::Normal;
    return metadata;
}

// The encoded stream replaces the data only once complete, so that a failed
// encoding leaves nothing a later save could write as if it were whole.
void TJPEGImage::EnsureEncoded() {
    if (Image->Data)
        return;
    auto encoded = std::make_shared<TJPEGData>();
    if (Bitmap && !Bitmap->isEmpty()) {
        encoded->Width = Bitmap->width();
        encoded->Height = Bitmap->height();
        encoded->Data = jpegcodec::encode(*Bitmap, Options, Markers);
        encoded->GrayScale = Options.GrayScale;
    } else {
        encoded->Data = QByteArray();
    }
    Image = std::move(encoded);
}

void TJPEGImage::saveToStream(QIODevice& stream) {
    EnsureEncoded();
    const QByteArray& bytes = *Image->Data;
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = stream.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            throw Error(Text("kadrix",
                             QT_TRANSLATE_NOOP("kadrix", "Erreur d'écriture de l'image JPEG: %1"),
                             {stream.errorString()}));
        done += written;
    }
}

void TJPEGImage::saveToFile(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Impossible de créer %1: %2"),
                         {path, file.errorString()}));
    saveToStream(file);
    // A small file sits whole in the device's buffer: a failure to store it
    // shows only at this flush, which the commit would not report.
    if (!file.flush() || !file.commit())
        throw Error(Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Erreur d'écriture de %1: %2"),
                         {path, file.errorString()}));
}

void TJPEGImage::setWidth(int) {
    throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of a JPEG image"));
}

void TJPEGImage::setHeight(int) {
    throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of a JPEG image"));
}

void registerJpegPicture() {
    JpegDefaults = startupJpegDefaults();
    const auto create = [] { return std::make_unique<TJPEGImage>(); };
    pictureRegistry().registerFormat(resultFormat(ResultFormat::Jpeg), create);
}

void unregisterJpegPicture() {
    pictureRegistry().unregisterFormat(resultFormat(ResultFormat::Jpeg));
}

} // namespace kadrix
