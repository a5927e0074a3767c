#include "compositor.h"
#include "framing_sinks.h"
#include "jpeg_decoder.h"
#include "jpeg_image.h"
#include "jpeg_test_files.h"
#include "jpeg_window.h"
#include "picture_registry.h"
#include "source_loader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <jerror.h>

namespace kadrix::test {
namespace {

struct Layout {
    const char* name;
    int lumaH, lumaV;
    bool progressive;
};

constexpr Layout Layouts[] = {
    {"4:2:0", 2, 2, false},
    {"4:2:2", 2, 1, false},
    {"4:4:0", 1, 2, false},
    {"4:4:4", 1, 1, false},
    {"progressive 4:2:0", 2, 2, true},
};

constexpr JpegScale Scales[] = {JpegScale::FullSize, JpegScale::Half, JpegScale::Quarter,
                                JpegScale::Eighth};

// Where the pixels of two bitmaps first differ, or "" when they are equal.
std::string firstDifference(const Bitmap& actual, const Bitmap& expected) {
    if (actual.width() != expected.width() || actual.height() != expected.height())
        return "size " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) +
               " instead of " + std::to_string(expected.width()) + "x" +
               std::to_string(expected.height());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return {};
}

Bitmap crop(const Bitmap& whole, const QRect& window) {
    return Bitmap(whole.image().copy(window));
}

class JpegWindowTest : public ::testing::Test {
protected:
    void TearDown() override { JpegDefaults = saved_; }

    QString write(const QString& name, const QByteArray& bytes) {
        return writeBytes(dir_.filePath(name), bytes);
    }

    // The canvas a row makes through the loader, decoded window by window or whole.
    static Bitmap canvasOf(const QString& path, int W, int H, DecodeMode mode) {
        PictureLoader loader;
        loader.loadFromFile(path);
        Bitmap source;
        assignVisibleSource(loader, W, H, 0, source, {.mode = mode});
        Bitmap canvas(W, H);
        ComposeResult(source, W, H, 0x00336699, canvas);
        return canvas;
    }

private:
    TJPEGDefaults saved_ = JpegDefaults;
    QTemporaryDir dir_;
};

// Every source size around a 64 x 48 canvas (smaller, equal, one more, odd
// and even surplus on each axis), every sampling layout and every scale: the
// window decoded alone holds the whole decode's pixels.
TEST_F(JpegWindowTest, CentredWindowMatchesTheWholeDecode) {
    constexpr int W = 64, H = 48;
    TJPEGDefaults options;
    for (const Layout& layout : Layouts)
        for (const int sw : {37, 64, 65, 101, 130, 163})
            for (const int sh : {31, 48, 49, 77, 120}) {
                const QByteArray jpeg =
                    encodeRaw(photoLike(sw, sh, 3, unsigned(sw * sh)),
                              {92, layout.progressive, layout.lumaH, layout.lumaV});
                for (const JpegScale scale : Scales) {
                    options.Scale = scale;
                    const Bitmap whole = jpegcodec::decode(jpeg, options);
                    const QRect window = visibleWindow(whole.width(), whole.height(), W, H);
                    const std::optional<Bitmap> part =
                        jpegcodec::decodeWindow(jpeg, options, window);
                    ASSERT_TRUE(part.has_value());
                    EXPECT_EQ(firstDifference(*part, crop(whole, window)), "")
                        << layout.name << " " << sw << "x" << sh << " scale " << int(scale);
                }
            }
}

// Windows at every column offset around the codec's block boundaries, so that
// each rounding of the start and each trim is met.
TEST_F(JpegWindowTest, WindowAtAnyOffsetMatchesTheWholeDecode) {
    TJPEGDefaults options;
    for (const Layout& layout : Layouts) {
        const QByteArray jpeg = encodeRaw(photoLike(211, 97, 3, 7),
                                          {90, layout.progressive, layout.lumaH, layout.lumaV});
        const Bitmap whole = jpegcodec::decode(jpeg, options);
        for (int left = 0; left <= 40; ++left)
            for (const int width : {1, 2, 15, 16, 17, 100}) {
                const QRect window(left, left % 19, width, 97 - left % 19 - left % 5);
                const std::optional<Bitmap> part = jpegcodec::decodeWindow(jpeg, options, window);
                ASSERT_TRUE(part.has_value());
                EXPECT_EQ(firstDifference(*part, crop(whole, window)), "")
                    << layout.name << " left " << left << " width " << width;
            }
    }
}

// A progressive file cut short keeps coefficients unknown, which block
// smoothing fills from neighbouring blocks: the window still matches.
TEST_F(JpegWindowTest, TruncatedProgressiveFileWithSmoothingMatches) {
    const QByteArray full = encodeRaw(photoLike(300, 200, 3, 3), {85, true});
    TJPEGDefaults options;
    for (const bool smoothing : {true, false})
        for (const qsizetype keep : {full.size() / 3, full.size() * 2 / 3}) {
            options.Smoothing = smoothing;
            const QByteArray jpeg = full.left(keep);
            const Bitmap whole = jpegcodec::decode(jpeg, options);
            for (const QRect& window : {QRect(117, 61, 64, 48), QRect(33, 0, 200, 20)}) {
                const std::optional<Bitmap> part = jpegcodec::decodeWindow(jpeg, options, window);
                ASSERT_TRUE(part.has_value());
                EXPECT_EQ(firstDifference(*part, crop(whole, window)), "")
                    << smoothing << " " << keep;
            }
        }
}

// Grey levels, 8-bit output and one-component files are not decoded by window.
TEST_F(JpegWindowTest, PaletteAndGreyDecodesAreNotWindowed) {
    const QByteArray colour = encodeRaw(photoLike(100, 80));
    const QByteArray grey = encodeRaw(photoLike(100, 80, 1));
    const QRect window(10, 10, 20, 20);
    TJPEGDefaults options;
    EXPECT_FALSE(jpegcodec::decodeWindow(grey, options, window));
    options.GrayScale = true;
    EXPECT_FALSE(jpegcodec::decodeWindow(colour, options, window));
    options.GrayScale = false;
    options.PixelFormat = JpegPixelFormat::Bits8;
    EXPECT_FALSE(jpegcodec::decodeWindow(colour, options, window));
}

// Through the loader, as a batch row is composed: every kind of file and
// option gives the same canvas as the whole decode.
TEST_F(JpegWindowTest, BatchCanvasIsTheSameWhicheverWayTheSourceIsDecoded) {
    struct Case {
        const char* name;
        RawImage image;
        EncodeSettings settings;
        bool grey = false, bits8 = false;
        JpegScale scale = JpegScale::FullSize;
    };
    const Case cases[] = {
        {"4:2:0", photoLike(333, 251), {}},
        {"4:2:2 half", photoLike(333, 251), {90, false, 2, 1}, false, false, JpegScale::Half},
        {"progressive eighth", photoLike(901, 777), {90, true}, false, false, JpegScale::Eighth},
        {"grey file", photoLike(333, 251, 1), {}},
        {"grey output", photoLike(333, 251), {}, true},
        {"8-bit output", photoLike(333, 251), {}, false, true},
        {"fits inside", photoLike(50, 40), {}},
        {"taller only", photoLike(50, 251), {}},
    };
    for (const Case& c : cases) {
        JpegDefaults = TJPEGDefaults{};
        JpegDefaults.GrayScale = c.grey;
        JpegDefaults.PixelFormat = c.bits8 ? JpegPixelFormat::Bits8 : JpegPixelFormat::Bits24;
        JpegDefaults.Scale = c.scale;
        const QString path = write(QStringLiteral("row.jpg"), encodeRaw(c.image, c.settings));
        for (const QSize canvas : {QSize(64, 48), QSize(101, 77)}) {
            const Bitmap whole = canvasOf(path, canvas.width(), canvas.height(), DecodeMode::Whole);
            EXPECT_EQ(
                firstDifference(canvasOf(path, canvas.width(), canvas.height(), DecodeMode::Window),
                                whole),
                "")
                << c.name << " on " << canvas.width() << "x" << canvas.height();
            for (const DecodeMode mode : {DecodeMode::Window, DecodeMode::Seek})
                EXPECT_EQ(firstDifference(framedThrough(Sink::ResultRows, path, canvas, 0x00336699,
                                                        {.mode = mode}),
                                          whole),
                          "")
                    << c.name << " on " << canvas.width() << "x" << canvas.height() << " by rows";
        }
    }
}

// Reading stops at the window's last row: damage further down the stream,
// which the whole decode reports, goes unnoticed.
TEST_F(JpegWindowTest, DamageBelowTheWindowIsNotRead) {
    QByteArray jpeg = encodeRaw(photoLike(400, 300));
    ASSERT_TRUE(jpeg.endsWith("\xFF\xD9"));
    // A quantisation table numbered 15 between the image data and its end.
    jpeg.insert(jpeg.size() - 2, QByteArray("\xFF\xDB\x00\x03\x0F", 5));
    TJPEGDefaults options;
    EXPECT_THROW(jpegcodec::decode(jpeg, options), EJPEG);
    const std::optional<Bitmap> part =
        jpegcodec::decodeWindow(jpeg, options, QRect(168, 126, 64, 48));
    ASSERT_TRUE(part.has_value());
    EXPECT_EQ(part->width(), 64);
    EXPECT_EQ(part->height(), 48);

    const QString path = write(QStringLiteral("damaged.jpg"), jpeg);
    EXPECT_NO_THROW(canvasOf(path, 64, 48, DecodeMode::Window));
    EXPECT_THROW(canvasOf(path, 64, 48, DecodeMode::Whole), EJPEG);
}

// A stream whose header is not sound fails as the whole decode does.
TEST_F(JpegWindowTest, HeaderErrorsFailAsBefore) {
    TJPEGDefaults options;
    for (const QByteArray& bad : {QByteArray("not a jpeg"), QByteArray()}) {
        int wholeCode = 0, windowCode = 0;
        try {
            jpegcodec::decode(bad, options);
        } catch (const EJPEG& e) {
            wholeCode = e.msgCode();
        }
        try {
            jpegcodec::decodeWindow(bad, options, QRect(0, 0, 4, 4));
        } catch (const EJPEG& e) {
            windowCode = e.msgCode();
        }
        EXPECT_NE(wholeCode, 0);
        EXPECT_EQ(windowCode, wholeCode);
    }
}

} // namespace
} // namespace kadrix::test
