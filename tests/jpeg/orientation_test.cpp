#include "exif_orientation.h"
#include "exif_test_files.h"
#include "orientation.h"

#include <gtest/gtest.h>

#include <string>

namespace kadrix::test {
namespace {

constexpr Orientation All[] = {
    Orientation::Normal,         Orientation::MirrorHorizontal, Orientation::Rotate180,
    Orientation::MirrorVertical, Orientation::Transpose,        Orientation::Rotate90,
    Orientation::Transverse,     Orientation::Rotate270,
};

// A bitmap whose pixel i (row by row) has red level 5 * (i + 1), or palette
// index i when 8 bits.
Bitmap numbered(int width, int height, PixelFormat format) {
    Bitmap bitmap(width, height, format);
    if (format == PixelFormat::Bits8) {
        std::vector<Colour> palette;
        for (int i = 0; i < width * height; ++i)
            palette.push_back(makeColour(5 * (i + 1), 0, 0));
        bitmap.setPalette(palette);
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = y * width + x;
            if (format == PixelFormat::Bits8)
                bitmap.scanLine(y)[x] = std::uint8_t(i);
            else
                bitmap.image().setPixelColor(x, y, QColor(5 * (i + 1), 0, 0));
        }
    return bitmap;
}

// The pixels as letters, row by row ("ab/cd"): a is the stored pixel 0.
std::string letters(const Bitmap& bitmap) {
    std::string text;
    for (int y = 0; y < bitmap.height(); ++y) {
        if (y > 0)
            text += '/';
        for (int x = 0; x < bitmap.width(); ++x)
            text += char('a' + redOf(bitmap.pixel(x, y)) / 5 - 1);
    }
    return text;
}

Bitmap crop(const Bitmap& whole, const QRect& rect) {
    return Bitmap(whole.image().copy(rect));
}

// The stored picture "abc/def" turned upright, as the EXIF tag defines each
// orientation, in 24 bits and with a palette.
TEST(Orientation, TurnUprightPlacesEveryStoredPixel) {
    const struct {
        Orientation orientation;
        const char* upright;
    } cases[] = {
        {Orientation::Normal, "abc/def"},      {Orientation::MirrorHorizontal, "cba/fed"},
        {Orientation::Rotate180, "fed/cba"},   {Orientation::MirrorVertical, "def/abc"},
        {Orientation::Transpose, "ad/be/cf"},  {Orientation::Rotate90, "da/eb/fc"},
        {Orientation::Transverse, "fc/eb/da"}, {Orientation::Rotate270, "cf/be/ad"},
    };
    for (const PixelFormat format : {PixelFormat::Bits24, PixelFormat::Bits8})
        for (const auto& c : cases) {
            const Bitmap upright = turnUpright(numbered(3, 2, format), c.orientation);
            EXPECT_EQ(upright.pixelFormat(), format);
            EXPECT_EQ(letters(upright), c.upright) << int(c.orientation);
            EXPECT_EQ(QSize(upright.width(), upright.height()),
                      uprightSize(c.orientation, QSize(3, 2)))
                << int(c.orientation);
        }
}

// Every rectangle of the upright picture: the stored rectangle it maps to,
// turned, holds exactly those upright pixels.
TEST(Orientation, StoredRectTurnsIntoTheUprightRect) {
    const QSize stored(7, 5);
    const Bitmap picture = numbered(stored.width(), stored.height(), PixelFormat::Bits24);
    for (const Orientation o : All) {
        const Bitmap upright = turnUpright(picture, o);
        for (int x = 0; x < upright.width(); ++x)
            for (int y = 0; y < upright.height(); ++y)
                for (int w = 1; x + w <= upright.width(); w += 2)
                    for (int h = 1; y + h <= upright.height(); h += 2) {
                        const QRect rect(x, y, w, h);
                        const QRect from = storedRect(o, stored, rect);
                        ASSERT_TRUE(QRect(QPoint(0, 0), stored).contains(from));
                        EXPECT_EQ(letters(turnUpright(crop(picture, from), o)),
                                  letters(crop(upright, rect)))
                            << int(o) << " x " << x << " y " << y << " w " << w << " h " << h;
                    }
        EXPECT_TRUE(storedRect(o, stored, QRect()).isEmpty());
    }
}

// Offsets into exifBlock(6), big-endian: "Exif\0\0" then the TIFF data,
// whose offsets count from its "MM".
constexpr int ByteOrderAt = 6;
constexpr int FirstDirectoryOffsetAt = 10;
constexpr int OrientationEntryAt = 16; // tag, type, count, value
constexpr int ExifPointerValueAt = 36;
constexpr int NextDirectoryAt = 40;

QByteArray edited(QByteArray block, int at, const QByteArray& bytes) {
    return block.replace(at, bytes.size(), bytes);
}

TEST(ExifOrientation, ReadsTheTagAndTakesAnythingDamagedAsNormal) {
    const QByteArray sound = exifBlock(6);
    ASSERT_EQ(sound.mid(OrientationEntryAt, 2), QByteArray("\x01\x12", 2)) << "layout changed";
    ASSERT_EQ(sound.mid(ExifPointerValueAt - 8, 2), QByteArray("\x87\x69", 2));
    const struct {
        const char* name;
        QByteArray block;
        Orientation expected;
    } cases[] = {
        {"no block", QByteArray(), Orientation::Normal},
        {"no tag", exifBlock(-1), Orientation::Normal},
        {"value 0", exifBlock(0), Orientation::Normal},
        {"value 9", exifBlock(9), Orientation::Normal},
        {"value 65535", exifBlock(65535), Orientation::Normal},
        {"identifier only", QByteArray("Exif\0\0", 6), Orientation::Normal},
        {"text", QByteArray("Exif\0\0not a TIFF structure at all"), Orientation::Normal},
        {"wrong byte order mark", edited(sound, ByteOrderAt, "XY"), Orientation::Normal},
        {"first directory past the end",
         edited(sound, FirstDirectoryOffsetAt, QByteArray("\x00\xFF\xFF\xFF", 4)),
         Orientation::Normal},
        {"absurd count", edited(sound, OrientationEntryAt + 4, QByteArray("\xFF\xFF\xFF\xFF", 4)),
         Orientation::Normal},
        {"tag of type LONG", edited(sound, OrientationEntryAt + 2, QByteArray("\x00\x04", 2)),
         Orientation::Normal},
        {"EXIF directory past the end",
         edited(sound, ExifPointerValueAt, QByteArray("\x00\x00\x7F\xFF", 4)), Orientation::Normal},
        {"cut inside the first directory", sound.left(40), Orientation::Normal},
        // libexif cuts a loop where it closes; the tag read before stands.
        {"EXIF directory looping to the first",
         edited(sound, ExifPointerValueAt, QByteArray("\x00\x00\x00\x08", 4)),
         Orientation::Rotate90},
        {"next directory looping to the first",
         edited(sound, NextDirectoryAt, QByteArray("\x00\x00\x00\x08", 4)), Orientation::Rotate90},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exifOrientation(c.block), c.expected) << c.name;

    for (int value = 1; value <= 8; ++value)
        for (const bool bigEndian : {true, false})
            EXPECT_EQ(exifOrientation(exifBlock(value, bigEndian)), Orientation(value))
                << value << (bigEndian ? " MM" : " II");

    // Cut anywhere, the block still reads without harm.
    for (qsizetype n = 0; n < sound.size(); ++n) {
        const Orientation o = exifOrientation(sound.left(n));
        EXPECT_TRUE(o == Orientation::Normal || o == Orientation::Rotate90) << n;
    }
}

} // namespace
} // namespace kadrix::test
