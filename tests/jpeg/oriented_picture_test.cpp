#include "compositor.h"
#include "exif_test_files.h"
#include "framing.h"
#include "jpeg_image.h"
#include "jpeg_test_files.h"
#include "orientation.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kadrix::test {
namespace {

// The orientation whose turn undoes `o`'s: each is its own but the quarter turns.
Orientation inverse(Orientation o) {
    return o == Orientation::Rotate90    ? Orientation::Rotate270
           : o == Orientation::Rotate270 ? Orientation::Rotate90
                                         : o;
}

RawImage rawOf(const Bitmap& bitmap) {
    RawImage raw{bitmap.width(), bitmap.height(), 3, {}};
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const Colour c = bitmap.pixel(x, y);
            raw.pixels.insert(raw.pixels.end(), {std::uint8_t(redOf(c)), std::uint8_t(greenOf(c)),
                                                 std::uint8_t(blueOf(c))});
        }
    return raw;
}

// Flat 8 x 8 blocks, each of its own colour: they survive JPEG coding at
// full quality within a few levels, and a block seen at the wrong place
// differs by 40 levels or more.
Bitmap blocks(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.image().setPixelColor(x, y, QColor(20 + 40 * (x / 8), 20 + 45 * (y / 8), 128));
    return bitmap;
}

// Where two canvases first differ by more than `tolerance` in a channel.
std::string firstDifference(const Bitmap& actual, const Bitmap& expected, int tolerance = 0) {
    if (actual.width() != expected.width() || actual.height() != expected.height())
        return "size " + std::to_string(actual.width()) + "x" + std::to_string(actual.height());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const Colour a = actual.pixel(x, y), e = expected.pixel(x, y);
            if (std::abs(redOf(a) - redOf(e)) > tolerance ||
                std::abs(greenOf(a) - greenOf(e)) > tolerance ||
                std::abs(blueOf(a) - blueOf(e)) > tolerance)
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    return {};
}

class OrientedPictureTest : public ::testing::Test {
protected:
    void TearDown() override { JpegDefaults = saved_; }

    QString write(const QString& name, const QByteArray& bytes) {
        return writeBytes(dir_.filePath(name), bytes);
    }

    // The canvas the shared framing step makes of the file (the batch run's
    // and kadrix-batch's).
    static Bitmap canvasOf(const QString& path, QSize canvas, DecodeMode mode) {
        SourceFramer framer(canvas.width(), canvas.height());
        framer.frame(path, 0x00336699, {mode});
        return framer.canvas();
    }

private:
    TJPEGDefaults saved_ = JpegDefaults;
    QTemporaryDir dir_;
};

// A picture stored turned, with the tag that turns it back, frames like the
// same picture stored upright: on canvases that crop an odd count (which
// must go right and bottom of the upright picture), that leave margins, and
// that do both, decoded by window or whole.
TEST_F(OrientedPictureTest, EveryOrientationFramesLikeTheUprightPicture) {
    const Bitmap upright = blocks(48, 40);
    const EncodeSettings exact{100, false, 1, 1};
    const QString reference =
        write(QStringLiteral("upright.jpg"), encodeRaw(rawOf(upright), exact));
    for (int tag = 1; tag <= 8; ++tag) {
        const Orientation o = Orientation(tag);
        const QByteArray stored = encodeRaw(rawOf(turnUpright(upright, inverse(o))), exact);
        const QString path = write(QStringLiteral("tag%1.jpg").arg(tag),
                                   withApp1(stored, exifBlock(tag, tag % 2 == 0)));
        for (const QSize canvas : {QSize(33, 21), QSize(64, 50), QSize(41, 47)})
            for (const DecodeMode decoding : {DecodeMode::Window, DecodeMode::Whole})
                EXPECT_EQ(firstDifference(canvasOf(path, canvas, decoding),
                                          canvasOf(reference, canvas, decoding), 6),
                          "")
                    << "tag " << tag << " on " << canvas.width() << "x" << canvas.height()
                    << (decoding == DecodeMode::Whole ? " whole" : " windowed");
    }
}

// Without AutoOrient the tag is ignored: the picture frames as stored.
TEST_F(OrientedPictureTest, WithoutAutoOrientThePictureFramesAsStored) {
    const QByteArray stored = encodeRaw(photoLike(90, 70));
    const QString plain = write(QStringLiteral("plain.jpg"), stored);
    const QString tagged = write(QStringLiteral("tagged.jpg"), withApp1(stored, exifBlock(6)));
    JpegDefaults.AutoOrient = false;
    for (const DecodeMode decoding : {DecodeMode::Window, DecodeMode::Whole})
        EXPECT_EQ(firstDifference(canvasOf(tagged, {64, 48}, decoding),
                                  canvasOf(plain, {64, 48}, decoding)),
                  "");
}

// The window decided on the upright picture, decoded from the stored one and
// turned, holds exactly the pixels of the whole decode turned; sizes are the
// upright ones before any decode. Every source size around a 64 x 48 canvas,
// for the orientations that exchange the axes.
TEST_F(OrientedPictureTest, WindowedDecodeIsTheWholeDecodeTurned) {
    constexpr int W = 64, H = 48;
    for (const bool progressive : {false, true})
        for (const int uw : {37, 64, 65, 101, 130})
            for (const int uh : {31, 48, 49, 77}) {
                const QByteArray stored =
                    encodeRaw(photoLike(uh, uw, 3, unsigned(uw * uh)), {92, progressive});
                for (const int tag : {5, 6, 7, 8})
                    for (const JpegScale scale : {JpegScale::FullSize, JpegScale::Half}) {
                        JpegDefaults = TJPEGDefaults{};
                        JpegDefaults.Scale = scale;
                        const QByteArray jpeg = withApp1(stored, exifBlock(tag));
                        TJPEGImage whole, windowed;
                        whole.loadFromData(jpeg);
                        windowed.loadFromData(jpeg);
                        const QSize before(windowed.width(), windowed.height());
                        const Bitmap& all = whole.DecodeBitmap();
                        ASSERT_EQ(before, QSize(all.width(), all.height()));
                        const QRect window = visibleWindow(all.width(), all.height(), W, H);
                        const std::optional<Bitmap> part = windowed.decodeWindow(window, DecodeMode::Seek);
                        ASSERT_TRUE(part.has_value());
                        EXPECT_EQ(firstDifference(*part, Bitmap(all.image().copy(window))), "")
                            << "tag " << tag << " upright " << uw << "x" << uh << " scale "
                            << int(scale) << (progressive ? " progressive" : "");
                    }
            }
}

// An XMP block in the first APP1 marker does not hide the EXIF one after it.
TEST_F(OrientedPictureTest, ExifFoundBehindAnXmpMarker) {
    const QByteArray xmp("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 42);
    const QByteArray jpeg = withApp1(withApp1(encodeRaw(photoLike(30, 20)), exifBlock(8)), xmp);
    TJPEGImage picture;
    picture.loadFromData(jpeg);
    EXPECT_EQ(picture.orientation(), Orientation::Rotate270);
    EXPECT_EQ(QSize(picture.width(), picture.height()), QSize(20, 30));
}

} // namespace
} // namespace kadrix::test
