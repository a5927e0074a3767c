// The JPEG picture type on arbitrary bytes: load, measure at each scale,
// decode with each set of reading options (whole, by window, by rows, and
// the subject's sketch), save the loaded bytes back, and re-encode the
// decoded bitmap with each set of writing options. Every
// failure must be an Error (EJPEG for the codec); anything else, a memory
// fault or undefined behaviour, stops the fuzzer.
#include "fuzz_support.h"

#include "jpeg_image.h"

#include <QBuffer>

#include <algorithm>
#include <array>

using namespace kadrix;
using fuzz::check;
using fuzz::MaxDecodedPixels;

namespace {

TJPEGDefaults readingOptions(int which) {
    TJPEGDefaults o;
    switch (which) {
    case 0: // the program's defaults
        break;
    case 1:
        o.GrayScale = true;
        break;
    case 2:
        o.PixelFormat = JpegPixelFormat::Bits8;
        o.Performance = JpegPerformance::BestSpeed;
        o.Smoothing = false;
        break;
    case 3:
        o.ProgressiveDisplay = true;
        o.PixelFormat = JpegPixelFormat::Bits8; // two-pass quantisation per pass
        o.Scale = JpegScale::Half;
        break;
    case 4:
        o.ProgressiveDisplay = true;
        o.Performance = JpegPerformance::BestSpeed;
        o.Scale = JpegScale::Eighth;
        break;
    default:
        o.Scale = JpegScale::Quarter;
        o.GrayScale = true;
        o.ProgressiveDisplay = true;
        break;
    }
    return o;
}
constexpr int ReadingOptionSets = 6;

TJPEGDefaults writingOptions(int which, std::uint8_t quality) {
    TJPEGDefaults o;
    o.CompressionQuality = std::uint8_t(1 + quality % 100);
    o.GrayScale = which == 1;
    o.ProgressiveEncoding = which == 2;
    o.HorzSubSampling = which != 3;
    o.VertSubSampling = which == 0 || which == 2;
    return o;
}
constexpr int WritingOptionSets = 4;

std::unique_ptr<TJPEGImage> newPicture(const TJPEGDefaults& options) {
    JpegDefaults = options;
    return std::make_unique<TJPEGImage>();
}

void checkDecoded(const Bitmap& bitmap, int width, int height) {
    check(bitmap.width() == width && bitmap.height() == height,
          "the decoded size differs from the size reported before decoding");
    if (bitmap.pixelFormat() == PixelFormat::Bits8)
        check(bitmap.palette().size() <= 236, "a palette of more than 236 colours");
}

// A window of the picture, decoded alone, must hold exactly the pixels the
// whole decode has there.
void checkWindow(const TJPEGImage& picture, const Bitmap& whole, const QRect& window) {
    const std::optional<Bitmap> part = picture.decodeWindow(window, DecodeMode::Seek);
    if (!part)
        return; // not 24-bit colour: the caller decodes the whole picture
    const QRect expected = window.intersected(QRect(0, 0, whole.width(), whole.height()));
    check(part->width() == expected.width() && part->height() == expected.height(),
          "a decoded window of another size than asked");
    for (int y = 0; y < part->height(); ++y)
        for (int x = 0; x < part->width(); ++x)
            check(part->pixel(x, y) == whole.pixel(expected.left() + x, expected.top() + y),
                  "a decoded window differs from the whole decode");
}

// The rows handed on for a window (where the type hands them on) are the
// whole decode's too.
void checkRows(const TJPEGImage& picture, const Bitmap& whole, const QRect& window) {
    const std::unique_ptr<RowSource> rows = picture.readRows(window, DecodeMode::Window);
    if (!rows)
        return;
    const QRect expected = window.intersected(QRect(0, 0, whole.width(), whole.height()));
    check(rows->width() == expected.width() && rows->height() == expected.height(),
          "rows of another size than the window");
    for (int y = 0; y < rows->height(); ++y) {
        const std::uint8_t* row = rows->next();
        const std::uint8_t* from = whole.scanLine(expected.top() + y) + expected.left() * 3;
        check(std::equal(row, row + rows->width() * 3, from), "rows differ from the whole decode");
    }
}

void reencode(const Bitmap& decoded, std::uint8_t quality) {
    for (int which = 0; which < WritingOptionSets; ++which) {
        auto picture = newPicture(writingOptions(which, quality));
        picture->assign(decoded);
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        picture->saveToStream(buffer); // encoding a valid bitmap must not fail
        check(!encoded.isEmpty(), "an encoded bitmap gave no bytes");

        auto reloaded = newPicture(TJPEGDefaults{});
        reloaded->loadFromData(encoded);
        check(reloaded->width() == decoded.width() && reloaded->height() == decoded.height(),
              "a re-encoded picture reloads with another size");
        Bitmap again;
        reloaded->assignTo(again);
        checkDecoded(again, decoded.width(), decoded.height());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    std::uint8_t quality = size > 0 ? data[size / 2] : 0;
    bool anyDecoded = false;
    for (int which = 0; which < ReadingOptionSets; ++which) {
        auto picture = newPicture(readingOptions(which));
        try {
            picture->loadFromData(bytes);
        } catch (const Error&) {
            return 0; // refused at load: nothing else may be done with it
        }
        if (which == 0) {
            // A loaded picture writes back exactly the bytes it read.
            QByteArray saved;
            QBuffer buffer(&saved);
            buffer.open(QIODevice::WriteOnly);
            picture->saveToStream(buffer);
            check(saved == bytes, "a loaded picture does not save its own bytes");
        }
        try {
            const int width = picture->width();
            const int height = picture->height();
            check(width >= 0 && height >= 0, "a negative size");
            if (qint64(picture->image()->Width) * picture->image()->Height > MaxDecodedPixels)
                continue;
            Bitmap decoded;
            picture->assignTo(decoded);
            checkDecoded(decoded, width, height);
            if (decoded.pixelFormat() == PixelFormat::Bits24 && size >= 4) {
                const QRect window(data[0] % (width + 1), data[1] % (height + 1), 1 + data[2] % 64,
                                   1 + data[3] % 64);
                auto fresh = newPicture(readingOptions(which)); // nothing decoded yet
                fresh->loadFromData(bytes);
                checkWindow(*fresh, decoded, window);
                checkRows(*fresh, decoded, window);
            }
            // The subject's sketch reads the stream its own way (only some
            // MCU rows where restart markers allow): it may fail, as an Error.
            if (which == 0) {
                auto fresh = newPicture(readingOptions(which));
                fresh->loadFromData(bytes);
                if (const std::optional<Bitmap> sketch = fresh->decodeSketch(QSize(4, 4)))
                    check(sketch->width() <= width && sketch->height() <= height,
                          "a sketch larger than the picture");
            }
            // Asked again, the size is the decoded bitmap's.
            check(picture->width() == width && picture->height() == height,
                  "the size changed after decoding");
            if (!anyDecoded && !decoded.isEmpty()) {
                anyDecoded = true;
                reencode(decoded, quality);
            }
        } catch (const Error&) {
            // Damaged data: reported as an error, the picture is not used again.
        }
    }
    return 0;
}
