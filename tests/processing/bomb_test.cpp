// Pictures whose headers claim more than their bytes hold, or more than a
// bitmap may take: each gives a clear error or works, without a crash and
// without taking memory beyond what the picture really needs. Each case runs
// in a child process whose peak resident size is measured.
#include "child_process.h"
#include "fake_batch_window.h"
#include "scripted_dialogs.h"

#include "bitmap.h"
#include "errors.h"
#include "jpeg_image.h"
#include "picture_registry.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdint>

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

// Far below any of the claimed sizes, far above what the real data needs.
constexpr long MemoryBoundKb = 128 * 1024;

// A BMP file: header and info header for `width` x `height`, `bits` per
// pixel and `compression` (0: none, 1: RLE8), then the palette and the data.
QByteArray bmpFile(qint32 width, qint32 height, quint16 bits, quint32 compression,
                   const QByteArray& palette, const QByteArray& data) {
    QByteArray bytes(54, '\0');
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + palette.size() + data.size()), p + 2);
    qToLittleEndian<quint32>(quint32(54 + palette.size()), p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(bits, p + 28);
    qToLittleEndian<quint32>(compression, p + 30);
    qToLittleEndian<quint32>(quint32(data.size()), p + 34);
    return bytes + palette + data;
}

// 256 grey entries, blue, green, red, reserved.
QByteArray greyPalette() {
    QByteArray palette;
    for (int i = 0; i < 256; ++i)
        palette += QByteArray(3, char(i)) + '\0';
    return palette;
}

std::uint32_t crc32(const char* data, qsizetype size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= std::uint8_t(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A one-pixel PNG whose header chunk is then made to claim w x h (with its
// checksum made right again, so that the reader takes the header).
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage pixel(1, 1, QImage::Format_RGB888);
    pixel.fill(Qt::red);
    pixel.save(&buffer, "PNG");
    const qsizetype ihdr = bytes.indexOf("IHDR");
    qToBigEndian<quint32>(width, bytes.data() + ihdr + 4);
    qToBigEndian<quint32>(height, bytes.data() + ihdr + 8);
    qToBigEndian<quint32>(crc32(bytes.constData() + ihdr, 4 + 13), bytes.data() + ihdr + 17);
    return bytes;
}

// A small JPEG stream whose frame header is then made to claim w x h.
QByteArray jpegClaiming(int width, int height, bool progressive) {
    TJPEGDefaults options;
    options.ProgressiveEncoding = progressive;
    JpegDefaults = options;
    TJPEGImage picture;
    Bitmap small(16, 16);
    small.fill(makeColour(10, 200, 30));
    picture.assign(small);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.saveToStream(buffer);
    const qsizetype sof = bytes.indexOf(progressive ? "\xFF\xC2" : "\xFF\xC0");
    // Frame header: marker (2), length (2), precision (1), height (2), width (2).
    qToBigEndian<quint16>(quint16(height), bytes.data() + sof + 5);
    qToBigEndian<quint16>(quint16(width), bytes.data() + sof + 7);
    return bytes;
}

class Bombs : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TJPEGDefaults savedDefaults = JpegDefaults;

    void TearDown() override { JpegDefaults = savedDefaults; }

    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }

    // Loads the file through the picture loader and converts it to a 24-bit
    // bitmap, in a child. The report is "<width>x<height>" of the loaded
    // picture, then " ok" or " error: <message>".
    ChildOutcome loadInChild(const QString& path, const TJPEGDefaults& options = {}) {
        return runInChild([&](QByteArray& report) {
            JpegDefaults = options;
            PictureLoader loader;
            try {
                loader.loadFromFile(path);
                report =
                    QByteArray::number(loader.width()) + 'x' + QByteArray::number(loader.height());
                Bitmap bitmap;
                loader.assignTo(bitmap);
                bitmap.convertTo24();
                report += " ok";
            } catch (const Error& e) {
                report += " error: " + e.message().toUtf8();
            }
            return 0;
        });
    }
};

TEST_F(Bombs, HeadersClaimingTooMuchGiveAClearErrorWithoutTakingTheMemory) {
    const struct {
        const char* name;
        QByteArray bytes;
        TJPEGDefaults options;
        const char* expected;
    } cases[] = {
        {"huge.jpg",
         jpegClaiming(65000, 65000, false),
         {},
         "65000x65000 error: Image trop grande: 65000 * 65000"},
        // At one eighth the bitmap is small enough, but the codec would have
        // to hold every coefficient of the full image: its memory bound stops it.
        {"huge_progressive.jpg", jpegClaiming(65000, 65000, true),
         [] {
             TJPEGDefaults o;
             o.Scale = JpegScale::Eighth;
             return o;
         }(),
         "8125x8125 error: JPEG error #"},
        // Run-length coded: two bytes (end of bitmap) could stand for any
        // size, but the reader refuses a stream that ends so early.
        {"huge_rle.bmp",
         bmpFile(30000, 30000, 8, 1, greyPalette(), QByteArray("\0\1", 2)),
         {},
         " error: Image invalide: "},
        // Compressed rows may stand for any size: the bitmap bound stops it.
        {"huge.png",
         pngClaiming(30000, 30000),
         {},
         "30000x30000 error: Image trop grande: 30000 * 30000"},
        // Uncompressed pixels that the file does not hold: refused as damaged.
        {"huge.bmp",
         bmpFile(100000, 100000, 24, 0, {}, QByteArray(12, '\x7f')),
         {},
         " error: Image invalide: "},
        {"hollow.bmp", bmpFile(20000, 20000, 24, 0, {}, {}), {}, " error: Image invalide: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildOutcome outcome =
            loadInChild(file(QString::fromLatin1(c.name), c.bytes), c.options);
        ASSERT_TRUE(outcome.exited) << "the child died";
        EXPECT_TRUE(outcome.report.startsWith(c.expected)) << outcome.report.constData();
        EXPECT_LT(outcome.peakGrowthKb, MemoryBoundKb);
    }
}

// The batch decodes only the part of a large JPEG source that lands on the
// canvas: a header claiming 65,000 x 65,000 gives a result of the canvas
// size (grey where the stream has no data) with the memory of a few rows.
// The Subject anchor adds its measure, on a sketch of about the size it has
// for a photo (an eighth of 30,000 is 3,750, whose maps alone took 200 MB).
TEST_F(Bombs, AHugeJpegClaimInABatchRunTakesOnlyTheCanvasMemory) {
    for (const auto& [anchor, side] :
         {std::pair{Anchor::Centre, 65000}, std::pair{Anchor::Subject, 30000}}) {
        SCOPED_TRACE(side);
        file(QStringLiteral("huge.jpg"), jpegClaiming(side, side, false));
        JpegDefaults = TJPEGDefaults{};
        ScriptedDialogsScope dialogs;
        FakeWindow window;
        window.sourceDir = dir.path();
        window.names = {QStringLiteral("huge.jpg")};
        window.destination = dir.filePath(QStringLiteral("out"));
        window.widthText = QStringLiteral("640");
        window.heightText = QStringLiteral("480");
        const ChildOutcome outcome = runInChild([&](QByteArray& report) {
            FramingDefaults.anchor = anchor;
            try {
                ProcessRows(window, 0, 0, false, true);
                report = "ok";
            } catch (const Error& e) {
                report = "error: " + e.message().toUtf8();
            }
            return 0;
        });
        ASSERT_TRUE(outcome.exited);
        EXPECT_TRUE(outcome.report == "ok" || outcome.report.startsWith("error: "))
            << outcome.report.constData();
        EXPECT_LT(outcome.peakGrowthKb, MemoryBoundKb);
        if (outcome.report == "ok") {
            EXPECT_EQ(QImage(window.resultPath(0)).size(), QSize(640, 480));
        }
    }
}

TEST_F(Bombs, AOnePixelWideImageSixtyThousandRowsTallIsFramedLikeAnyOther) {
    Bitmap column(1, 60000);
    column.fill(makeColour(250, 10, 10));
    QFile bmp(dir.filePath(QStringLiteral("tall.bmp")));
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
    ASSERT_TRUE(column.writeBmp(bmp));
    bmp.close();
    JpegDefaults = TJPEGDefaults{};
    TJPEGImage jpeg;
    jpeg.assign(column);
    jpeg.saveToFile(dir.filePath(QStringLiteral("tall.jpg")));

    ScriptedDialogsScope dialogs;
    FakeWindow window;
    window.sourceDir = dir.path();
    window.names = {QStringLiteral("tall.bmp"), QStringLiteral("tall.jpg")};
    window.destination = dir.filePath(QStringLiteral("out"));
    window.widthText = QStringLiteral("640");
    window.heightText = QStringLiteral("480");
    window.wipe = 0;
    const ChildOutcome outcome = runInChild([&](QByteArray& report) {
        ProcessRows(window, 0, 1, false, true);
        for (const Bitmap& shown : window.shown) {
            // One red column in the middle, black elsewhere.
            int red = 0;
            for (int x = 0; x < shown.width(); ++x)
                red += redOf(shown.pixel(x, 240)) > 128 ? 1 : 0;
            report += QByteArray::number(red) + ' ';
        }
        return 0;
    });
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.report, QByteArray("1 1 "));
    EXPECT_LT(outcome.peakGrowthKb, MemoryBoundKb);
    EXPECT_EQ(QImage(window.resultPath(0)).size(), QSize(640, 480));
    EXPECT_EQ(QImage(window.resultPath(1)).size(), QSize(640, 480));
}

} // namespace
} // namespace kadrix::test
