#include "jpeg_decoder.h"
#include "jpeg_image.h"
#include "jpeg_markers.h"
#include "jpeg_test_files.h"
#include "jpeg_window.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include <jerror.h>
#include <jpeglib.h>

namespace kadrix::test {
namespace {

TEST(JpegMarkers, ProfileOverTwoMarkersAndExifAreReadBackAndWritten) {
    const QByteArray profile = rgbProfile(70000); // more than one marker holds
    ExifFields fields;
    fields.orientation = 3;
    TestMarkers settings;
    settings.icc = profile;
    settings.exif = makeExif(fields);
    const QByteArray source = encodeRaw(gradient(24, 16), {}, settings);
    ASSERT_EQ(source.count("ICC_PROFILE"), 2);

    const PictureMetadata read = jpegcodec::readMetadata(source);
    EXPECT_EQ(read.iccProfile, profile);
    EXPECT_EQ(read.exif, settings.exif);

    // Written by the encoder, the same bytes come back.
    TJPEGImage picture;
    picture.loadFromData(source);
    Bitmap bitmap;
    picture.assignTo(bitmap);
    TJPEGImage result;
    result.assign(bitmap);
    result.setMarkers(read);
    QByteArray saved;
    {
        QBuffer buffer(&saved);
        buffer.open(QIODevice::WriteOnly);
        result.saveToStream(buffer);
    }
    const PictureMetadata again = jpegcodec::readMetadata(saved);
    EXPECT_EQ(again.iccProfile, profile);
    EXPECT_EQ(again.exif, settings.exif);

    // Damage in the second profile marker drops the profile, not the picture.
    QByteArray damaged = source;
    const qsizetype second = damaged.indexOf("ICC_PROFILE", damaged.indexOf("ICC_PROFILE") + 1);
    damaged[second + 12] = 7; // sequence number past the count
    EXPECT_TRUE(jpegcodec::readMetadata(damaged).iccProfile.isEmpty());
    EXPECT_EQ(jpegcodec::readMetadata(damaged).exif, settings.exif);
    EXPECT_TRUE(jpegcodec::readMetadata("not a JPEG stream").exif.isEmpty());
}

// Every grey level, stored as a grey or as a colour file.
RawImage allLevels(int components) {
    const RawImage grey = gradient(97, 61, 1);
    RawImage image{grey.width, grey.height, components, {}};
    for (std::uint8_t level : grey.pixels)
        image.pixels.insert(image.pixels.end(), std::size_t(components), level);
    return image;
}

TEST(ExactGrey, GreyOutputHasTheCodecsOwnLevelsWholeAndWindowed) {
    TJPEGDefaults options;
    options.ExactGrey = true;
    const struct {
        const char* what;
        RawImage image;
        bool greyOption;
    } cases[] = {
        {"grey file", allLevels(1), false},
        {"colour file decoded grey", allLevels(3), true},
    };
    for (const auto& c : cases) {
        const QByteArray jpeg = encodeRaw(c.image);
        const std::vector<std::uint8_t> expected = referenceGrey(jpeg);
        options.GrayScale = c.greyOption;
        Bitmap whole = jpegcodec::decode(jpeg, options);
        whole.convertTo24();
        const QRect window(13, 7, 40, 30);
        const std::optional<Bitmap> part = jpegcodec::decodeWindow(jpeg, options, window);
        int levels = 0, wrong = 0, wrongWindow = 0;
        std::vector<bool> seen(256);
        for (int y = 0; y < 61; ++y)
            for (int x = 0; x < 97; ++x) {
                const int grey = expected[std::size_t(y) * 97 + x];
                levels += !seen[std::size_t(grey)];
                seen[std::size_t(grey)] = true;
                wrong += whole.pixel(x, y) != makeColour(grey, grey, grey);
                if (part && window.contains(x, y))
                    wrongWindow += part->pixel(x - 13, y - 7) != whole.pixel(x, y);
            }
        EXPECT_EQ(wrong, 0) << c.what;
        EXPECT_EQ(wrongWindow, 0) << c.what;
        EXPECT_GT(levels, 236) << c.what << ": more levels than the palette has";
        EXPECT_EQ(part.has_value(), !c.greyOption) << c.what << ": a grey file decodes windowed";
    }
}

TEST(CodecText, ErrorsCarryLibjpegsWordingBesideTheNumber) {
    QByteArray twelveBits = encodeRaw(gradient(8, 8));
    twelveBits[twelveBits.indexOf("\xFF\xC0") + 4] = 12; // the frame's sample precision
    try {
        jpegcodec::decode(twelveBits, TJPEGDefaults{});
        FAIL() << "a 12-bit frame decoded";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.message(), QStringLiteral("JPEG error #%1").arg(e.msgCode()));
        EXPECT_EQ(e.detailedMessage(),
                  e.message() + QStringLiteral(": Unsupported JPEG data precision 12"));
    }
    EXPECT_EQ(EJPEG(JERR_CONVERSION_NOTIMPL).codecText(),
              QStringLiteral("Unsupported color conversion request"));
}

} // namespace
} // namespace kadrix::test
