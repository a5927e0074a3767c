#include "frame_rows.h"
#include "jpeg_image.h"
#include "jpeg_markers.h"
#include "jpeg_test_files.h"
#include "picture_registry.h"
#include "result_writer.h"

#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ResultFormat, TheExtensionPicksTheWriter) {
    const struct {
        const char* path;
        ResultFormat format;
    } cases[] = {
        {"/o/a.JPEG", ResultFormat::Jpeg}, {"/o/a.jpg", ResultFormat::Jpeg},
        {"/o/a.PNG", ResultFormat::Png},   {"/o/a.Tif", ResultFormat::Tiff},
        {"/o/a.TIFF", ResultFormat::Tiff}, {"/o/a.webp", ResultFormat::WebP},
        {"/o/a.BMP", ResultFormat::Bmp},   {"/o/a.GIF", ResultFormat::Bmp},
        {"/o/a", ResultFormat::Bmp},       {"/o/a.PNG.txt", ResultFormat::Bmp},
        {"/o/aPNG", ResultFormat::Bmp},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resultFormatOf(QString::fromLatin1(c.path)), c.format) << c.path;
}

class SaveStep : public ::testing::Test {
protected:
    void SetUp() override {
        JpegDefaults = TJPEGDefaults{};
        canvas = Bitmap(36, 20);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                canvas.fillRect(QRect(x, y, 1, 1), makeColour(x * 7, y * 12, (x * y) % 256));
    }
    void TearDown() override { JpegDefaults = saved; }

    // A JPEG source with a profile over two markers and a camera's EXIF block.
    const Picture& source(const QByteArray& profile) {
        ExifFields fields;
        fields.orientation = 6;
        fields.dateTaken = "2023:08:01 07:15:00";
        fields.thumbnail = encodeRaw(gradient(8, 8));
        TestMarkers settings;
        settings.icc = profile;
        settings.exif = makeExif(fields);
        loader.loadFromFile(writeBytes(dir.filePath(QStringLiteral("photo.jpg")),
                                       encodeRaw(photoLike(50, 40), {}, settings)));
        return *loader.picture();
    }
    PictureMetadata savedJpegMetadata(const Picture& from) {
        const QString path = dir.filePath(QStringLiteral("r.JPEG"));
        EXPECT_TRUE(saveResult(canvas, path, &from, true));
        // Written a row at a time, the same bytes.
        const QString byRows = dir.filePath(QStringLiteral("rows.JPEG"));
        BitmapRowSource rows(canvas);
        const auto source = [&] { return &from; };
        ResultRows sink(byRows, ResultFormat::Jpeg, source, true);
        composeRows(rows, {canvas.width(), canvas.height()}, sink);
        EXPECT_TRUE(sink.commit());
        EXPECT_EQ(readAll(byRows), readAll(path));
        TJPEGImage result;
        result.loadFromFile(path);
        EXPECT_EQ(result.width(), canvas.width());
        return result.metadata();
    }

    TJPEGDefaults saved = JpegDefaults;
    QTemporaryDir dir;
    PictureLoader loader;
    Bitmap canvas;
};

TEST_F(SaveStep, AJpegResultCarriesTheProfileAndTheEditedExif) {
    const QByteArray profile = rgbProfile(70000);
    const PictureMetadata kept = savedJpegMetadata(source(profile));
    EXPECT_EQ(kept.iccProfile, profile);
    const ExifFacts exif = readExif(kept.exif);
    EXPECT_EQ(exif.orientation, 1) << "the pixels were turned upright";
    EXPECT_EQ(exif.dateTaken, QByteArray("2023:08:01 07:15:00"));
    EXPECT_FALSE(exif.thumbnail);
    EXPECT_EQ(exif.pixelWidth, 36);
    EXPECT_EQ(exif.pixelHeight, 20);

    JpegDefaults.GrayScale = true; // an RGB profile does not describe grey levels
    const PictureMetadata grey = savedJpegMetadata(source(profile));
    EXPECT_TRUE(grey.iccProfile.isEmpty());
    EXPECT_EQ(readExif(grey.exif).dateTaken, QByteArray("2023:08:01 07:15:00"));

    JpegDefaults.GrayScale = false;
    JpegDefaults.AutoOrient = false; // stored as it is: the tag stays
    EXPECT_EQ(readExif(savedJpegMetadata(source(profile)).exif).orientation, 6);
    EXPECT_TRUE(savedJpegMetadata(source(withColourModel(profile, "CMYK"))).iccProfile.isEmpty());
    JpegDefaults.KeepMetadata = false;
    const PictureMetadata stripped = savedJpegMetadata(source(profile));
    EXPECT_TRUE(stripped.iccProfile.isEmpty());
    EXPECT_TRUE(stripped.exif.isEmpty());
}

TEST_F(SaveStep, PngTiffAndWebpResultsHoldTheCanvasAndItsProfile) {
    const Picture& from = source(rgbProfile());
    const struct {
        const char* name;
        const char* format;
        bool lossless;
    } cases[] = {
        {"r.PNG", "png", true},
        {"r.TIFF", "tiff", true},
        {"r.TIF", "tiff", true},
        {"r.WEBP", "webp", false},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(saveResult(canvas, path, &from)) << c.name;
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray(c.format)) << c.name;
        const QImage image = reader.read();
        ASSERT_EQ(image.size(), QSize(36, 20)) << c.name;
        EXPECT_EQ(image.colorSpace(), QColorSpace(QColorSpace::AdobeRgb)) << c.name;
        if (!c.lossless)
            continue;
        int wrong = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 36; ++x)
                wrong += fromQColor(image.pixelColor(x, y)) != canvas.pixel(x, y);
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

// The encoder settings of the formats written through Qt: TIFF is compressed
// losslessly by default, PNG's level trades size alone, and WebP at 100 is
// lossless. Every result begins with its format's signature.
TEST_F(SaveStep, EncoderSettingsChangeTheSizeButNotTheLosslessPixels) {
    canvas = Bitmap(640, 480);
    canvas.fillRect(QRect(0, 0, 640, 480), makeColour(200, 30, 60));
    canvas.fillRect(QRect(100, 80, 300, 200), makeColour(10, 240, 90));
    const auto sizeOf = [&](const char* name, const ResultEncoding& encoding) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(saveResult(canvas, path, nullptr, true, encoding)) << name;
        const QImage image(path);
        int wrong = 0;
        for (int y = 0; y < 480; y += 7)
            for (int x = 0; x < 640; x += 7)
                wrong += fromQColor(image.pixelColor(x, y)) != canvas.pixel(x, y);
        EXPECT_TRUE(wrong == 0 || resultFormatOf(path) == ResultFormat::Jpeg) << name;
        QFile file(path); // the format table knows each result by its first bytes
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(formatOfSignature(file.read(signatureLength())),
                  &resultFormat(resultFormatOf(path)))
            << name;
        return QFileInfo(path).size();
    };
    const qint64 bmp = sizeOf("r.BMP", {});
    EXPECT_LT(sizeOf("r.TIFF", {}), bmp / 10) << "LZW by default";
    EXPECT_GE(sizeOf("r.TIFF", {.tiff = TiffCompression::None}), bmp);
    EXPECT_LT(sizeOf("r.PNG", {.pngLevel = 9}), sizeOf("r.PNG", {.pngLevel = 0}));
    sizeOf("r.WEBP", {.webpQuality = 100});
    sizeOf("r.JPEG", {}); // JPEG is lossy: only its signature counts here
}

} // namespace
} // namespace kadrix::test
