#include "jpeg_image.h"
#include "jpeg_test_files.h"

#include "picture_registry.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace kadrix::test {
namespace {

// Every test starts from the start-up content of the options record and
// leaves the record as it found it.
class JpegImageTest : public ::testing::Test {
protected:
    void SetUp() override { JpegDefaults = TJPEGDefaults{}; }
    void TearDown() override { JpegDefaults = saved_; }

    QString write(const QString& name, const QByteArray& bytes) {
        return writeBytes(dir_.filePath(name), bytes);
    }

    static Bitmap decoded(const QByteArray& jpeg) {
        TJPEGImage picture;
        picture.loadFromData(jpeg);
        Bitmap bitmap;
        picture.assignTo(bitmap);
        return bitmap;
    }

    static int codeOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const EJPEG& e) {
            EXPECT_EQ(e.message(), QStringLiteral("JPEG error #%1").arg(e.msgCode()));
            return e.msgCode();
        }
        return -1;
    }

private:
    TJPEGDefaults saved_ = JpegDefaults;
    QTemporaryDir dir_;
};

bool near(int a, int b, int tolerance = 12) {
    return std::abs(a - b) <= tolerance;
}

// 0x00BBGGRR within a tolerance per channel.
::testing::AssertionResult sameColour(Colour actual, Colour expected, int tolerance = 12) {
    if (near(redOf(actual), redOf(expected), tolerance) &&
        near(greenOf(actual), greenOf(expected), tolerance) &&
        near(blueOf(actual), blueOf(expected), tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << std::hex << "colour 0x" << actual << " instead of 0x" << expected;
}

TEST_F(JpegImageTest, LoaderChoosesTheJpegTypeWhateverTheExtensionCase) {
    const QByteArray jpeg = encodeRaw(gradient(40, 30));
    for (const char* name : {"a.jpg", "b.JPG", "c.Jpeg", "d.jpeg"}) {
        PictureLoader loader;
        loader.loadFromFile(write(QString::fromLatin1(name), jpeg));
        EXPECT_NE(dynamic_cast<const TJPEGImage*>(loader.picture()), nullptr) << name;
        EXPECT_EQ(loader.width(), 40) << name;
        EXPECT_EQ(loader.height(), 30) << name;
    }
    EXPECT_TRUE(pictureRegistry().filterText().contains(QStringLiteral("Images JPEG (*.jpg)")));
    EXPECT_TRUE(pictureRegistry().filterText().contains(QStringLiteral("Images JPEG (*.jpeg)")));
}

TEST_F(JpegImageTest, EmptyFileHasNoSizeAndFailsToDecode) {
    const QString path = write(QStringLiteral("empty.jpg"), {});
    TJPEGImage picture;
    picture.loadFromFile(path);
    EXPECT_EQ(picture.width(), 0);
    EXPECT_EQ(picture.height(), 0);
    EXPECT_EQ(codeOf([&] {
                  Bitmap b;
                  picture.assignTo(b);
              }),
              JERR_INPUT_EMPTY);
    // Still no bitmap after the failure: the error comes again.
    EXPECT_EQ(codeOf([&] { (void)picture.DecodeBitmap(); }), JERR_INPUT_EMPTY);

    JpegDefaults.Scale = JpegScale::Half;
    TJPEGImage scaled;
    scaled.loadFromFile(path);
    EXPECT_EQ(codeOf([&] { (void)scaled.width(); }), JERR_INPUT_EMPTY);
    EXPECT_EQ(codeOf([&] { (void)scaled.height(); }), JERR_INPUT_EMPTY);
}

TEST_F(JpegImageTest, TextFileIsRefusedForItsMissingStartMarker) {
    TJPEGImage picture;
    const QString path = write(QStringLiteral("notes.jpg"), "just some text\n");
    EXPECT_EQ(codeOf([&] { picture.loadFromFile(path); }), JERR_NO_SOI);
}

TEST_F(JpegImageTest, DamagedLaterScanFailsWithTheCodecError) {
    QByteArray jpeg = encodeRaw(gradient(64, 48), {90, true});
    const qsizetype first = jpeg.indexOf("\xFF\xDA");
    const qsizetype second = jpeg.indexOf("\xFF\xDA", first + 2);
    ASSERT_GT(second, first);
    const int components = std::uint8_t(jpeg[second + 4]);
    jpeg[second + 5 + 2 * components] = char(70); // spectral start beyond 63
    for (const bool passByPass : {false, true}) {
        JpegDefaults.ProgressiveDisplay = passByPass;
        TJPEGImage picture;
        picture.loadFromData(jpeg); // the header is sound
        EXPECT_GT(codeOf([&] { (void)picture.DecodeBitmap(); }), 0) << passByPass;
    }
}

// A valid progressive file of 704 scans (every coefficient band alone, each
// bit refined alone) stops at the scan limit with a clear error, whole,
// pass by pass and windowed.
TEST_F(JpegImageTest, AFileOfMoreThan500ScansIsRefused) {
    std::vector<jpeg_scan_info> scans;
    for (int band = 0; band < 64; ++band)
        for (int bit = 10; bit >= 0; --bit)
            scans.push_back({1, {0}, band, band, bit == 10 ? 0 : bit + 1, bit});
    const QByteArray jpeg = encodeRaw(gradient(8, 8, 1), {}, {}, [&scans](jpeg_compress_struct& c) {
        c.scan_info = scans.data();
        c.num_scans = int(scans.size());
    });
    for (const bool passByPass : {false, true}) {
        JpegDefaults.ProgressiveDisplay = passByPass;
        JpegDefaults.ExactGrey = true;
        TJPEGImage picture;
        picture.loadFromData(jpeg);
        try {
            (void)picture.DecodeBitmap();
            ADD_FAILURE() << "decoded " << passByPass;
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.message(), "Image invalide: plus de 500 passes dans le fichier JPEG");
        }
        EXPECT_THROW(picture.decodeWindow(QRect(0, 0, 4, 4), DecodeMode::Window), EInvalidGraphic);
    }
}

TEST_F(JpegImageTest, UnreadableFileIsAnInvalidPicture) {
    TJPEGImage picture;
    EXPECT_THROW(picture.loadFromFile(QStringLiteral("/nonexistent/x.jpg")), EInvalidGraphic);
}

TEST_F(JpegImageTest, TruncatedFileDecodesToFullSize) {
    const QByteArray jpeg = encodeRaw(gradient(200, 150));
    for (const qsizetype keep : {jpeg.size() * 6 / 10, jpeg.size() - 2}) {
        const Bitmap bitmap = decoded(jpeg.left(keep));
        EXPECT_EQ(bitmap.width(), 200);
        EXPECT_EQ(bitmap.height(), 150);
    }
    // Pass by pass too: the fake end of image ends the scan loop.
    const QByteArray progressive = encodeRaw(gradient(200, 150), {90, true});
    JpegDefaults.ProgressiveDisplay = true;
    for (const qsizetype keep : {qsizetype(700), progressive.size() / 2}) {
        const Bitmap bitmap = decoded(progressive.left(keep));
        EXPECT_EQ(bitmap.width(), 200);
        EXPECT_EQ(bitmap.height(), 150);
    }
}

TEST_F(JpegImageTest, ReducedScaleReportsTheCodecOutputSizeBeforeAndAfterDecoding) {
    const QByteArray jpeg = encodeRaw(gradient(1000, 750));
    const struct {
        JpegScale scale;
        int width, height;
    } cases[] = {{JpegScale::FullSize, 1000, 750},
                 {JpegScale::Half, 500, 375},
                 {JpegScale::Quarter, 250, 188},
                 {JpegScale::Eighth, 125, 94}};
    for (const auto& c : cases) {
        JpegDefaults.Scale = c.scale;
        TJPEGImage picture;
        picture.loadFromData(jpeg);
        EXPECT_EQ(picture.width(), c.width);
        EXPECT_EQ(picture.height(), c.height);
        const Bitmap& bitmap = picture.DecodeBitmap();
        EXPECT_EQ(&picture.DecodeBitmap(), &bitmap) << "decoded once, then kept";
        EXPECT_EQ(bitmap.width(), c.width);
        EXPECT_EQ(bitmap.height(), c.height);
        EXPECT_EQ(picture.width(), c.width);
        EXPECT_EQ(picture.height(), c.height);
    }
}

TEST_F(JpegImageTest, PaletteOutputsHoldAtMost236Colours) {
    const QByteArray jpeg = encodeRaw(colourBands(90, 30), {95, false, 1, 1});
    const struct {
        const char* what;
        bool grey;
        JpegPerformance performance;
    } cases[] = {
        {"grey", true, JpegPerformance::BestQuality},
        {"8 bits", false, JpegPerformance::BestQuality},
        {"8 bits, fast", false, JpegPerformance::BestSpeed},
        {"grey, fast", true, JpegPerformance::BestSpeed},
    };
    for (const auto& c : cases) {
        JpegDefaults.GrayScale = c.grey;
        JpegDefaults.PixelFormat = JpegPixelFormat::Bits8;
        JpegDefaults.Performance = c.performance;
        const Bitmap bitmap = decoded(jpeg);
        ASSERT_EQ(bitmap.pixelFormat(), PixelFormat::Bits8) << c.what;
        const std::vector<Colour> palette = bitmap.palette();
        EXPECT_GT(palette.size(), 1u) << c.what;
        EXPECT_LE(palette.size(), 236u) << c.what;
        if (c.grey) {
            for (Colour colour : palette)
                ASSERT_TRUE(redOf(colour) == greenOf(colour) && greenOf(colour) == blueOf(colour))
                    << c.what;
        } else {
            // The palette is read in the codec's component order: each band
            // keeps its own colour.
            EXPECT_TRUE(sameColour(bitmap.pixel(15, 15), 0x0000FF, 40)) << c.what;
            EXPECT_TRUE(sameColour(bitmap.pixel(45, 15), 0x00FF00, 40)) << c.what;
            EXPECT_TRUE(sameColour(bitmap.pixel(75, 15), 0xFF0000, 40)) << c.what;
        }
    }
}

TEST_F(JpegImageTest, OneComponentFileDecodesToGreyPaletteWith24BitOptions) {
    const RawImage grey = gradient(64, 32, 1);
    const Bitmap bitmap = decoded(encodeRaw(grey, {95}));
    ASSERT_EQ(bitmap.pixelFormat(), PixelFormat::Bits8);
    const std::vector<Colour> palette = bitmap.palette();
    EXPECT_LE(palette.size(), 236u);
    for (Colour colour : palette)
        ASSERT_TRUE(redOf(colour) == greenOf(colour) && greenOf(colour) == blueOf(colour));
    const int source = grey.pixels[10 * 64 + 20];
    EXPECT_TRUE(near(redOf(bitmap.pixel(20, 10)), source, 6));
}

TEST_F(JpegImageTest, ProgressiveDisplayEndsWithTheSamePixels) {
    const QByteArray jpeg = encodeRaw(gradient(120, 90), {85, true});
    const Bitmap plain = decoded(jpeg);
    JpegDefaults.ProgressiveDisplay = true;
    const Bitmap passes = decoded(jpeg);
    ASSERT_EQ(plain.pixelFormat(), PixelFormat::Bits24);
    ASSERT_EQ(passes.pixelFormat(), PixelFormat::Bits24);
    ASSERT_EQ(passes.width(), 120);
    ASSERT_EQ(passes.height(), 90);
    EXPECT_EQ(plain.image(), passes.image());

    // With a palette, each quantiser road of the final pass keeps its bound.
    JpegDefaults.PixelFormat = JpegPixelFormat::Bits8;
    for (JpegPerformance performance : {JpegPerformance::BestQuality, JpegPerformance::BestSpeed}) {
        JpegDefaults.Performance = performance;
        const Bitmap indexed = decoded(jpeg);
        ASSERT_EQ(indexed.pixelFormat(), PixelFormat::Bits8);
        EXPECT_GT(indexed.palette().size(), 1u);
        EXPECT_LE(indexed.palette().size(), 236u);
    }
}

TEST_F(JpegImageTest, LoadedFileIsSavedByteForByte) {
    const QByteArray jpeg = encodeRaw(gradient(77, 33), {70, true});
    const QString path = write(QStringLiteral("source.jpg"), jpeg);
    TJPEGImage picture;
    picture.loadFromFile(path);
    (void)picture.DecodeBitmap(); // decoding does not make it re-encode

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.saveToStream(buffer);
    EXPECT_EQ(buffer.data(), jpeg);

    const QString copy = path + QStringLiteral(".copy.jpg");
    picture.saveToFile(copy);
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), jpeg);
}

TEST_F(JpegImageTest, StartUpOptionsEncodeBaselineAtQuality90WithChosenSampling) {
    Bitmap bitmap(64, 48);
    bitmap.fill(0x00406080);
    const struct {
        bool horz, vert;
        int lumaH, lumaV;
    } cases[] = {
        {true, true, 2, 2}, {false, true, 1, 2}, {true, false, 2, 1}, {false, false, 1, 1}};
    for (const auto& c : cases) {
        JpegDefaults.HorzSubSampling = c.horz;
        JpegDefaults.VertSubSampling = c.vert;
        TJPEGImage picture;
        picture.assign(bitmap);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.saveToStream(buffer);
        const HeaderFacts facts = inspect(buffer.data());
        EXPECT_EQ(facts.width, 64);
        EXPECT_EQ(facts.height, 48);
        EXPECT_EQ(facts.components, 3);
        EXPECT_TRUE(facts.baseline);
        EXPECT_EQ(facts.lumaQuant, expectedLumaQuant(90));
        EXPECT_EQ(facts.hSamp[0], c.lumaH);
        EXPECT_EQ(facts.vSamp[0], c.lumaV);
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(facts.hSamp[i], 1);
            EXPECT_EQ(facts.vSamp[i], 1);
        }
    }
}

TEST_F(JpegImageTest, ProgressiveAndGreyEncodingAreSeenOnReload) {
    Bitmap bitmap(50, 40);
    bitmap.fill(0x00336699);
    JpegDefaults.ProgressiveEncoding = true;
    TJPEGImage written;
    written.assign(bitmap);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    written.saveToStream(buffer);
    EXPECT_TRUE(inspect(buffer.data()).progressive);

    JpegDefaults = TJPEGDefaults{};
    TJPEGImage reloaded;
    EXPECT_FALSE(reloaded.progressiveEncoding());
    reloaded.loadFromData(buffer.data());
    EXPECT_TRUE(reloaded.progressiveEncoding());

    // A baseline file turns the copied option off again.
    JpegDefaults.ProgressiveEncoding = true;
    TJPEGImage baseline;
    baseline.loadFromData(encodeRaw(gradient(16, 16)));
    EXPECT_FALSE(baseline.progressiveEncoding());

    JpegDefaults = TJPEGDefaults{};
    JpegDefaults.GrayScale = true;
    TJPEGImage grey;
    grey.assign(bitmap);
    QBuffer greyBuffer;
    greyBuffer.open(QIODevice::WriteOnly);
    grey.saveToStream(greyBuffer);
    EXPECT_TRUE(grey.grayScale());
    EXPECT_EQ(inspect(greyBuffer.data()).components, 1);
    TJPEGImage greyReloaded;
    greyReloaded.loadFromData(greyBuffer.data());
    EXPECT_TRUE(greyReloaded.grayScale());
}

TEST_F(JpegImageTest, PictureKeepsTheOptionsItWasCreatedWith) {
    const QByteArray jpeg = encodeRaw(gradient(80, 64));
    TJPEGImage before;
    JpegDefaults.Scale = JpegScale::Eighth;
    JpegDefaults.CompressionQuality = 30;
    TJPEGImage after;
    before.loadFromData(jpeg);
    after.loadFromData(jpeg);
    EXPECT_EQ(before.width(), 80);
    EXPECT_EQ(after.width(), 10);
    EXPECT_EQ(before.options().CompressionQuality, 90);
    EXPECT_EQ(after.options().CompressionQuality, 30);
}

TEST_F(JpegImageTest, ColoursKeepTheirOwnBytesBothWays) {
    // A file's red lands in the bitmap's red byte.
    const Bitmap fromFile = decoded(encodeRaw(colourBands(96, 32), {95, false, 1, 1}));
    ASSERT_EQ(fromFile.pixelFormat(), PixelFormat::Bits24);
    EXPECT_TRUE(sameColour(fromFile.pixel(16, 16), 0x0000FF));
    EXPECT_TRUE(sameColour(fromFile.pixel(48, 16), 0x00FF00));
    EXPECT_TRUE(sameColour(fromFile.pixel(80, 16), 0xFF0000));

    // And a bitmap's red is written as red: 8-bit sources are expanded first.
    Bitmap bands(96, 32);
    bands.fillRect(QRect(0, 0, 32, 32), 0x0000FF);
    bands.fillRect(QRect(32, 0, 32, 32), 0x00FF00);
    bands.fillRect(QRect(64, 0, 32, 32), 0xFF0000);
    Bitmap indexed(96, 32, PixelFormat::Bits8);
    indexed.setPalette({0x0000FF, 0x00FF00, 0xFF0000});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 96; ++x)
            indexed.scanLine(y)[x] = std::uint8_t(x / 32);
    JpegDefaults.CompressionQuality = 95;
    for (const Bitmap* source : {&bands, &indexed}) {
        TJPEGImage picture;
        picture.assign(*source);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.saveToStream(buffer);
        const Bitmap back = decoded(buffer.data());
        EXPECT_TRUE(sameColour(back.pixel(16, 16), 0x0000FF));
        EXPECT_TRUE(sameColour(back.pixel(48, 16), 0x00FF00));
        EXPECT_TRUE(sameColour(back.pixel(80, 16), 0xFF0000));
    }
}

TEST_F(JpegImageTest, CmykFileDecodesTo24BitsWhateverTheOptions) {
    // Adobe CMYK stores every ink inverted: red is (255, 0, 0, 255).
    RawImage cmyk{90, 30, 4, {}};
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 90; ++x) {
            const int band = x / 30;
            cmyk.pixels.insert(cmyk.pixels.end(), {std::uint8_t(band == 0 ? 255 : 0),
                                                   std::uint8_t(band == 1 ? 255 : 0),
                                                   std::uint8_t(band == 2 ? 255 : 0), 255});
        }
    const QByteArray jpeg = encodeRaw(cmyk, {95});
    for (const bool constrained : {false, true}) {
        JpegDefaults.GrayScale = constrained;
        JpegDefaults.PixelFormat = constrained ? JpegPixelFormat::Bits8 : JpegPixelFormat::Bits24;
        const Bitmap bitmap = decoded(jpeg);
        ASSERT_EQ(bitmap.pixelFormat(), PixelFormat::Bits24);
        EXPECT_EQ(bitmap.width(), 90);
        EXPECT_TRUE(sameColour(bitmap.pixel(15, 15), 0x0000FF));
        EXPECT_TRUE(sameColour(bitmap.pixel(45, 15), 0x00FF00));
        EXPECT_TRUE(sameColour(bitmap.pixel(75, 15), 0xFF0000));
    }
}

TEST_F(JpegImageTest, LayoutsWithoutAColourRowAreRefused) {
    RawImage two{16, 16, 2, std::vector<std::uint8_t>(16 * 16 * 2, 100)};
    const QByteArray jpeg = encodeRaw(two);
    EXPECT_EQ(codeOf([&] { (void)decoded(jpeg); }), JERR_CONVERSION_NOTIMPL);
}

TEST_F(JpegImageTest, AbsurdHeaderSizeFailsBeforeAllocating) {
    QByteArray jpeg = encodeRaw(gradient(16, 16));
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    // Frame header: marker, length (2), precision (1), height (2), width (2).
    for (int i : {5, 7}) {
        jpeg[sof + i] = char(0xFD);
        jpeg[sof + i + 1] = char(0xE8); // 65000
    }
    TJPEGImage picture;
    picture.loadFromData(jpeg);
    EXPECT_EQ(picture.width(), 65000);
    EXPECT_EQ(picture.height(), 65000);
    Bitmap bitmap;
    EXPECT_THROW(picture.assignTo(bitmap), Error);
}

TEST_F(JpegImageTest, SizeCannotBeChanged) {
    TJPEGImage picture;
    for (const auto& resize : {std::function<void()>([&] { picture.setWidth(10); }),
                               std::function<void()>([&] { picture.setHeight(10); })}) {
        try {
            resize();
            ADD_FAILURE() << "no error";
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Cannot change the size of a JPEG image"));
        }
    }
}

TEST_F(JpegImageTest, EmptyPictureSavesNothingAndWriteFailuresAreReported) {
    TJPEGImage empty;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    empty.saveToStream(buffer);
    EXPECT_TRUE(buffer.data().isEmpty());

    Bitmap bitmap(32, 32);
    bitmap.fill(0x00808080);
    TJPEGImage picture;
    picture.assign(bitmap);
    QByteArray storage;
    QBuffer readOnly(&storage);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(picture.saveToStream(readOnly), Error);
    EXPECT_THROW(picture.saveToFile(QStringLiteral("/nonexistent/dir/out.jpg")), Error);
}

} // namespace
} // namespace kadrix::test
