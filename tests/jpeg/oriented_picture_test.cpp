#include "compositor.h"
#include "exif_blocks.h"
#include "framing.h"
#include "framing_sinks.h"
#include "jpeg_image.h"
#include "jpeg_test_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kadrix::test {
namespace {

// Flat 8 x 8 blocks of their own colours: they survive JPEG coding at full
// quality within a few levels, and a block at the wrong place differs by 40
// levels or more.
Bitmap blocks(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.image().setPixelColor(x, y, QColor(20 + 40 * (x / 8), 20 + 45 * (y / 8), 128));
    return bitmap;
}

RawImage rawOf(const Bitmap& bitmap) {
    const QImage rgb = bitmap.image().convertToFormat(QImage::Format_RGB888);
    RawImage raw{rgb.width(), rgb.height(), 3, {}};
    for (int y = 0; y < rgb.height(); ++y)
        raw.pixels.insert(raw.pixels.end(), rgb.constScanLine(y),
                          rgb.constScanLine(y) + rgb.width() * 3);
    return raw;
}

// Where two bitmaps first differ by more than `tolerance` in a channel.
std::string firstDifference(const Bitmap& actual, const Bitmap& expected, int tolerance = 0) {
    if (actual.image().size() != expected.image().size())
        return "size " + std::to_string(actual.width()) + "x" + std::to_string(actual.height());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            for (const int shift : {0, 8, 16})
                if (std::abs(int(actual.pixel(x, y) >> shift & 0xFF) -
                             int(expected.pixel(x, y) >> shift & 0xFF)) > tolerance)
                    return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return {};
}

class OrientedPictureTest : public ::testing::Test {
protected:
    void TearDown() override { JpegDefaults = saved_; }

    // The canvas that the shared framing step (the batch run's and
    // kadrix-batch's) makes of the bytes.
    Bitmap canvasOf(const QByteArray& jpeg, QSize canvas, DecodeMode mode,
                    Sink sink = Sink::Canvas) {
        const QString path = writeBytes(dir_.filePath(QStringLiteral("source.jpg")), jpeg);
        return framedThrough(sink, path, canvas, 0x00336699, {mode});
    }
    SourceFramer framed(const QByteArray& jpeg, QSize canvas, DecodeMode mode,
                        Anchor anchor = Anchor::Centre) {
        const QString path = writeBytes(dir_.filePath(QStringLiteral("source.jpg")), jpeg);
        SourceFramer framer(canvas.width(), canvas.height());
        framer.frame(path, 0x00336699, {mode}, {anchor});
        return framer;
    }

private:
    TJPEGDefaults saved_ = JpegDefaults;
    QTemporaryDir dir_;
};

// A picture stored turned, with the tag that turns it back, frames like the
// same picture stored upright: on canvases that crop an odd count (which
// goes right and bottom of the upright picture), that leave margins, and
// that do both, decoded by window or whole.
TEST_F(OrientedPictureTest, EveryOrientationFramesLikeTheUprightPicture) {
    const Bitmap upright = blocks(48, 40);
    const EncodeSettings exact{100, false, 1, 1};
    const QByteArray reference = encodeRaw(rawOf(upright), exact);
    for (int tag = 1; tag <= 8; ++tag) {
        // Each turn undoes itself but the quarter turns, which undo each other.
        const Orientation undo = tag == 6   ? Orientation::Rotate270
                                 : tag == 8 ? Orientation::Rotate90
                                            : Orientation(tag);
        const QByteArray jpeg = withApp1(encodeRaw(rawOf(turnUpright(upright, undo)), exact),
                                         exifBlock(tag, tag % 2 == 0));
        for (const QSize canvas : {QSize(33, 21), QSize(64, 50), QSize(41, 47)})
            for (const DecodeMode mode : {DecodeMode::Window, DecodeMode::Whole})
                for (const Sink sink : Sinks)
                    EXPECT_EQ(firstDifference(canvasOf(jpeg, canvas, mode, sink),
                                              canvasOf(reference, canvas, mode), 6),
                              "")
                        << "tag " << tag << " on " << canvas.width() << "x" << canvas.height()
                        << (mode == DecodeMode::Whole ? " whole " : " windowed ") << sinkName(sink);
    }
}

// The subject anchor measures the upright picture: a saturated, textured
// square is inside the result whether the file is stored upright or turned,
// and the windowed, sought and whole decodes choose the same window, with
// restart markers or without.
TEST_F(OrientedPictureTest, TheSubjectIsChosenUprightWithEveryDecode) {
    const QRect subject(860, 80, 80, 80);
    Bitmap upright(1024, 768);
    upright.fill(makeColour(110, 120, 115));
    for (int y = subject.top(); y <= subject.bottom(); ++y)
        for (int x = subject.left(); x <= subject.right(); ++x)
            upright.image().setPixelColor(
                x, y, (x / 4 + y / 4) % 2 ? QColor(230, 200, 20) : QColor(220, 30, 60));
    // With a restart marker per MCU row, the measure reads some rows only.
    const RawImage turnedRaw = rawOf(turnUpright(upright, Orientation::Rotate270));
    const QByteArray stored = encodeRaw(rawOf(upright));
    const QByteArray turned = withApp1(encodeRaw(turnedRaw), exifBlock(6));
    const QByteArray storedMarked = encodeRaw(rawOf(upright), {90, false, 2, 2, 1024 / 16});
    const QByteArray turnedMarked =
        withApp1(encodeRaw(turnedRaw, {90, false, 2, 2, 768 / 16}), exifBlock(6));
    for (const QByteArray& jpeg : {stored, turned, storedMarked, turnedMarked}) {
        std::optional<FrameGeometry> first;
        for (const DecodeMode mode : {DecodeMode::Window, DecodeMode::Seek, DecodeMode::Whole}) {
            const FrameGeometry chosen = framed(jpeg, {320, 240}, mode, Anchor::Subject).geometry();
            EXPECT_TRUE(QRect(chosen.topLeft, chosen.size).contains(subject))
                << chosen.topLeft.x() << "," << chosen.topLeft.y();
            if (first) {
                EXPECT_EQ(chosen, *first);
            }
            first = chosen;
        }
    }
    // The measure sees colour whatever the JPEG options say (the window's may
    // ask for grey or 8 bits): a flat saturated square outweighs grey texture.
    Bitmap rivals(1024, 768);
    rivals.fill(makeColour(120, 120, 120));
    for (int y = 500; y < 700; ++y)
        for (int x = 0; x < 1024; ++x)
            rivals.image().setPixelColor(
                x, y,
                x < 400 ? QColor(220, 20, 20)
                        : QColor::fromRgb(QRgb((x / 3 + y / 3) % 2 * 0xFFFFFF)));
    const QByteArray jpeg = encodeRaw(rawOf(rivals));
    const FrameGeometry colour =
        framed(jpeg, {320, 240}, DecodeMode::Seek, Anchor::Subject).geometry();
    JpegDefaults.GrayScale = true;
    JpegDefaults.PixelFormat = JpegPixelFormat::Bits8;
    EXPECT_EQ(framed(jpeg, {320, 240}, DecodeMode::Seek, Anchor::Subject).geometry(), colour);
    EXPECT_LT(colour.topLeft.x(), 400);
}

// The window decided on the upright picture, decoded from the stored one and
// turned, holds exactly the pixels of the whole decode turned; sizes are the
// upright ones before any decode. Every source size around a 64 x 48 canvas,
// for the orientations that exchange the axes.
TEST_F(OrientedPictureTest, WindowedDecodeIsTheWholeDecodeTurned) {
    for (const bool progressive : {false, true})
        for (const int uw : {37, 64, 65, 101, 130})
            for (const int uh : {31, 48, 49, 77})
                for (const int tag : {5, 6, 7, 8})
                    for (const JpegScale scale : {JpegScale::FullSize, JpegScale::Half}) {
                        JpegDefaults = TJPEGDefaults{};
                        JpegDefaults.Scale = scale;
                        const QByteArray jpeg = withApp1(
                            encodeRaw(photoLike(uh, uw, 3, unsigned(uw * uh)), {92, progressive}),
                            exifBlock(tag));
                        TJPEGImage whole, windowed;
                        whole.loadFromData(jpeg);
                        windowed.loadFromData(jpeg);
                        const QSize before(windowed.width(), windowed.height());
                        const Bitmap& all = whole.DecodeBitmap();
                        ASSERT_EQ(before, all.image().size());
                        const QRect window = visibleWindow(all.width(), all.height(), 64, 48);
                        const std::optional<Bitmap> part =
                            windowed.decodeWindow(window, DecodeMode::Seek);
                        ASSERT_TRUE(part.has_value());
                        EXPECT_EQ(firstDifference(*part, Bitmap(all.image().copy(window))), "")
                            << "tag " << tag << " upright " << uw << "x" << uh << " scale "
                            << int(scale) << (progressive ? " progressive" : "");
                    }
}

// An XMP block in the first APP1 marker does not hide the EXIF one after it.
TEST_F(OrientedPictureTest, ExifFoundBehindAnXmpMarker) {
    const QByteArray xmp("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 42);
    TJPEGImage picture;
    picture.loadFromData(withApp1(withApp1(encodeRaw(photoLike(30, 20)), exifBlock(8)), xmp));
    EXPECT_EQ(QSize(picture.width(), picture.height()), QSize(20, 30));
}

} // namespace
} // namespace kadrix::test
