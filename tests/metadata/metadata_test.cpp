#include "exif_edit.h"
#include "exif_orientation.h"
#include "icc_profile.h"
#include "jpeg_test_files.h"

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

TEST(IccProfileRule, ColourModelAndFitFollowTheHeader) {
    const QByteArray rgb = rgbProfile();
    QByteArray wrongSize = rgb;
    wrongSize[3] = char(wrongSize[3] + 1);
    QByteArray noSignature = rgb;
    noSignature[36] = 'x';
    const struct {
        const char* what;
        QByteArray profile;
        IccColourModel model;
        bool fitsColour, fitsGrey;
    } cases[] = {
        {"rgb", rgb, IccColourModel::Rgb, true, false},
        {"grey", withColourModel(rgb, "GRAY"), IccColourModel::Grey, false, true},
        {"cmyk", withColourModel(rgb, "CMYK"), IccColourModel::Other, false, false},
        {"shorter than a header", rgb.left(100), IccColourModel::Unreadable, false, false},
        {"declared size wrong", wrongSize, IccColourModel::Unreadable, false, false},
        {"no acsp signature", noSignature, IccColourModel::Unreadable, false, false},
        {"empty", QByteArray(), IccColourModel::Unreadable, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(iccColourModel(c.profile), c.model) << c.what;
        EXPECT_EQ(iccProfileFits(c.profile, false, MaxJpegIccBytes), c.fitsColour) << c.what;
        EXPECT_EQ(iccProfileFits(c.profile, true, MaxJpegIccBytes), c.fitsGrey) << c.what;
    }
    EXPECT_FALSE(iccProfileFits(rgb, false, rgb.size() - 1)) << "too large for the markers";
}

TEST(ExifEdit, KeepsEverythingButTheThumbnailAndSetsSizeAndOrientation) {
    for (const bool bigEndian : {false, true}) {
        ExifFields fields;
        fields.bigEndian = bigEndian;
        fields.orientation = 6;
        fields.dateTaken = "2024:05:17 10:42:07";
        fields.make = "Kadrix Camera Works";
        fields.gps = true;
        fields.thumbnail = encodeRaw(gradient(16, 12));
        fields.pixelWidth = 4000;
        fields.pixelHeight = 3000;
        const QByteArray source = makeExif(fields);
        ASSERT_TRUE(readExif(source).thumbnail);

        for (const bool turned : {false, true}) {
            const std::optional<QByteArray> edited = exifForResult(source, {640, 480, turned});
            ASSERT_TRUE(edited) << bigEndian << turned;
            const ExifFacts facts = readExif(*edited);
            EXPECT_EQ(facts.orientation, turned ? 1 : 6);
            EXPECT_EQ(facts.dateTaken, fields.dateTaken);
            EXPECT_EQ(facts.make, fields.make);
            EXPECT_TRUE(facts.gps);
            EXPECT_FALSE(facts.thumbnail);
            EXPECT_EQ(facts.pixelWidth, 640);
            EXPECT_EQ(facts.pixelHeight, 480);
        }
    }
    // Sizes a SHORT cannot hold, and a block without pixel dimensions.
    ExifFields bare;
    bare.make = "K";
    const ExifFacts wide = readExif(*exifForResult(makeExif(bare), {70000, 3, false}));
    EXPECT_EQ(wide.pixelWidth, 70000);
    EXPECT_EQ(wide.pixelHeight, 3);
}

// Offsets of a little-endian block made by makeExif with Make and
// Orientation only: "Exif\0\0", the TIFF header, then IFD0.
constexpr int Ifd0 = 6 + 8;
constexpr int FirstEntry = Ifd0 + 2;

void putLong(QByteArray& block, int at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        block[at + i] = char((value >> (8 * i)) & 0xFF);
}

// The little-endian block's first entry of `tag` holding one LONG: where its
// value is.
qsizetype longValueOf(const QByteArray& block, int tag) {
    const char entry[8] = {char(tag & 0xFF), char(tag >> 8), 4, 0, 1, 0, 0, 0};
    const qsizetype at = block.indexOf(QByteArray(entry, 8));
    EXPECT_GE(at, 0) << "no entry " << tag;
    return at + 8;
}

// A block is judged only on what a result uses of it: its first directory,
// its Orientation and whether it saves again. Quirks libexif reads past keep
// the block and its Orientation; a maker note never reaches a result.
TEST(ExifEdit, BlocksAreJudgedOnWhatTheResultUses) {
    ExifFields fields;
    fields.make = "A maker name longer than four bytes";
    fields.orientation = 6;
    fields.dateTaken = "2024:05:17 10:42:07";
    const QByteArray good = makeExif(fields);
    ASSERT_TRUE(exifForResult(good, {8, 8, true}));

    QByteArray pastTheEnd = good; // Make's text offset
    putLong(pastTheEnd, FirstEntry + 8, 0xFFFFFF00u);
    QByteArray absurdCount = good;
    absurdCount[Ifd0] = char(0xFF);
    absurdCount[Ifd0 + 1] = char(0xFF);
    QByteArray wrongByteOrder = good;
    wrongByteOrder[6] = 'X';
    wrongByteOrder[7] = 'X';
    QByteArray loop = good; // IFD0's EXIF pointer leads back to IFD0
    const int entries = quint8(good[Ifd0]);
    for (int i = 0; i < entries; ++i) {
        const int at = FirstEntry + 12 * i;
        if (quint8(good[at]) == 0x69 && quint8(good[at + 1]) == 0x87)
            putLong(loop, at + 8, 8);
    }
    ASSERT_NE(loop, good);

    ExifFields full = fields;
    full.gps = true;
    full.interoperability = true;
    full.thumbnail = encodeRaw(gradient(16, 12));
    const QByteArray quirky = makeExif(full);
    QByteArray staleThumbnail = quirky; // as an editor leaves it
    putLong(staleThumbnail, longValueOf(quirky, 0x0201), 0xFFF0);
    QByteArray gpsPastTheEnd = quirky;
    putLong(gpsPastTheEnd, longValueOf(quirky, 0x8825), 0xFFF0);
    QByteArray interoperabilityTwice = quirky; // IFD0's GPS pointer made a second one
    const qsizetype gpsPointer = longValueOf(quirky, 0x8825);
    interoperabilityTwice[gpsPointer - 8] = char(0x05);
    interoperabilityTwice[gpsPointer - 7] = char(0xA0);
    interoperabilityTwice.replace(gpsPointer, 4, quirky.mid(longValueOf(quirky, 0xA005), 4));
    ExifFields canon = fields;
    canon.make = "Canon";
    // One entry (ImageNumber, LONG 1234), then no next directory.
    canon.makerNote = QByteArray("\x01\x00\x08\x00\x04\x00\x01\x00\x00\x00\xD2\x04\x00\x00"
                                 "\x00\x00\x00\x00",
                                 18);
    const QByteArray makerNote = makeExif(canon);
    ASSERT_TRUE(readExif(makerNote).makerNote);

    const struct {
        const char* what;
        QByteArray block;
        bool kept;
    } cases[] = {
        {"sound", good, true},
        {"truncated after the first directory", good.left(good.size() / 2), true},
        {"text offset past the end", pastTheEnd, true},
        {"absurd entry count", absurdCount, true},
        {"directory loop", loop, true},
        {"stale thumbnail offset", staleThumbnail, true},
        {"GPS directory past the end", gpsPastTheEnd, true},
        {"interoperability pointer in two directories", interoperabilityTwice, true},
        {"Canon maker note", makerNote, true},
        {"header only", good.left(10), false},
        {"wrong byte order mark", wrongByteOrder, false},
        {"no signature", good.mid(6), false},
    };
    for (const auto& c : cases) {
        const std::optional<QByteArray> edited = exifForResult(c.block, {8, 8, false});
        EXPECT_EQ(edited.has_value(), c.kept) << c.what;
        EXPECT_EQ(exifOrientation(c.block), c.kept ? Orientation::Rotate90 : Orientation::Normal)
            << c.what;
        if (!edited)
            continue;
        const ExifFacts facts = readExif(*edited);
        EXPECT_EQ(facts.orientation, 6) << c.what;
        EXPECT_EQ(facts.pixelWidth, 8) << c.what;
        EXPECT_FALSE(facts.thumbnail) << c.what;
        EXPECT_FALSE(facts.makerNote) << c.what;
    }
    EXPECT_EQ(readExif(*exifForResult(makerNote, {8, 8, false})).make, "Canon");
    EXPECT_TRUE(readExif(*exifForResult(staleThumbnail, {8, 8, false})).gps);
    // An Orientation that cannot be read framed the picture as stored: the
    // result says so.
    EXPECT_EQ(readExif(*exifForResult(exifBlock(9), {8, 8, false})).orientation, 1);
}

} // namespace
} // namespace kadrix::test
