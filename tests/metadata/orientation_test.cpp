#include "exif_orientation.h"
#include "exif_blocks.h"
#include "orientation.h"

#include <gtest/gtest.h>

#include <string>

namespace kadrix::test {
namespace {

// Pixel i (row by row) has red level 5 * (i + 1), or palette index i.
Bitmap numbered(int width, int height, PixelFormat format) {
    Bitmap bitmap(width, height, format);
    std::vector<Colour> palette;
    for (int i = 0; i < width * height; ++i) {
        palette.push_back(makeColour(5 * (i + 1), 0, 0));
        if (format == PixelFormat::Bits8)
            bitmap.scanLine(i / width)[i % width] = std::uint8_t(i);
        else
            bitmap.image().setPixelColor(i % width, i / width, QColor(5 * (i + 1), 0, 0));
    }
    if (format == PixelFormat::Bits8)
        bitmap.setPalette(palette);
    return bitmap;
}

// The pixels as letters, row by row ("ab/cd"): a is pixel 0.
std::string letters(const Bitmap& bitmap) {
    std::string text;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            text += std::string(y > 0 && x == 0 ? "/" : "") +
                    char('a' + redOf(bitmap.pixel(x, y)) / 5 - 1);
    return text;
}

// The stored picture "abc/def" turned upright as the EXIF tag defines each
// orientation, in 24 bits and with a palette.
TEST(Orientation, TurnUprightPlacesEveryStoredPixel) {
    const char* upright[] = {"abc/def",  "cba/fed",  "fed/cba",  "def/abc",
                             "ad/be/cf", "da/eb/fc", "fc/eb/da", "cf/be/ad"};
    for (const PixelFormat format : {PixelFormat::Bits24, PixelFormat::Bits8})
        for (int tag = 1; tag <= 8; ++tag) {
            const Bitmap turned = turnUpright(numbered(3, 2, format), Orientation(tag));
            EXPECT_EQ(turned.pixelFormat(), format);
            EXPECT_EQ(letters(turned), upright[tag - 1]) << tag;
            EXPECT_EQ(turned.image().size(), uprightSize(Orientation(tag), QSize(3, 2))) << tag;
        }
}

// Every rectangle of the upright picture: the stored rectangle it maps to,
// turned, holds exactly those upright pixels.
TEST(Orientation, StoredRectTurnsIntoTheUprightRect) {
    const QSize stored(7, 5);
    const Bitmap picture = numbered(7, 5, PixelFormat::Bits24);
    for (int tag = 1; tag <= 8; ++tag) {
        const Orientation o = Orientation(tag);
        const Bitmap upright = turnUpright(picture, o);
        for (int x = 0; x < upright.width(); ++x)
            for (int y = 0; y < upright.height(); ++y)
                for (int w = 1; x + w <= upright.width(); w += 2)
                    for (int h = 1; y + h <= upright.height(); h += 2) {
                        const QRect rect(x, y, w, h);
                        const Bitmap part(picture.image().copy(storedRect(o, stored, rect)));
                        EXPECT_EQ(letters(turnUpright(part, o)),
                                  letters(Bitmap(upright.image().copy(rect))))
                            << tag << ": " << x << "," << y << " " << w << "x" << h;
                    }
    }
}

// Offsets into exifBlock(6): "Exif\0\0", then TIFF data with offsets from its "MM".
QByteArray edited(int at, const char* bytes, int count) {
    return exifBlock(6).replace(at, count, QByteArray(bytes, count));
}

// Damage that reaches the Orientation entry means Normal; damage elsewhere,
// which libexif reads past, leaves the Orientation as it is.
TEST(ExifOrientation, ReadsTheTagAndTakesAnythingDamagedAsNormal) {
    ASSERT_EQ(exifBlock(6).mid(16, 2), QByteArray("\x01\x12", 2)) << "the layout changed";
    const struct {
        const char* name;
        QByteArray block;
        Orientation expected;
    } cases[] = {
        {"no block", QByteArray(), Orientation::Normal},
        {"no tag", exifBlock(-1), Orientation::Normal},
        {"value 9", exifBlock(9), Orientation::Normal},
        {"not TIFF data", QByteArray("Exif\0\0not TIFF data", 19), Orientation::Normal},
        {"wrong byte order mark", edited(6, "XY", 2), Orientation::Normal},
        {"first directory past the end", edited(10, "\x00\xFF\xFF\xFF", 4), Orientation::Normal},
        {"absurd count", edited(20, "\xFF\xFF\xFF\xFF", 4), Orientation::Normal},
        {"tag of type LONG", edited(18, "\x00\x04", 2), Orientation::Normal},
        {"EXIF directory past the end", edited(36, "\x00\x00\x7F\xFF", 4), Orientation::Rotate90},
        {"cut before the next directory's offset", exifBlock(6).left(40), Orientation::Rotate90},
        {"cut inside the Orientation entry", exifBlock(6).left(26), Orientation::Normal},
        {"directory looping to the first", edited(36, "\x00\x00\x00\x08", 4),
         Orientation::Rotate90},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exifOrientation(c.block), c.expected) << c.name;
    for (int value = 1; value <= 8; ++value)
        for (const bool bigEndian : {true, false})
            EXPECT_EQ(exifOrientation(exifBlock(value, bigEndian)), Orientation(value)) << value;
    // Cut anywhere, the block still reads without harm.
    for (qsizetype n = 0; n < exifBlock(6).size(); ++n) {
        const Orientation o = exifOrientation(exifBlock(6).left(n));
        EXPECT_TRUE(o == Orientation::Normal || o == Orientation::Rotate90) << n;
    }
}

} // namespace
} // namespace kadrix::test
