#include "bitmap.h"
#include "errors.h"
#include "picture_registry.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

TEST(Bitmap, StoresBlueGreenRedBytesAndReadsColourValues) {
    Bitmap b(4, 3);
    b.fill(makeColour(10, 20, 30));
    EXPECT_EQ(b.scanLine(2)[9], 30); // blue first in memory
    EXPECT_EQ(b.scanLine(2)[10], 20);
    EXPECT_EQ(b.scanLine(2)[11], 10);
    EXPECT_EQ(b.pixel(3, 2), 0x001E140Au);
    EXPECT_EQ(b.pixel(4, 0), InvalidColour);
    EXPECT_EQ(b.pixel(-1, 0), InvalidColour);
}

TEST(Bitmap, RectangleCopyIsExclusiveAndClippedToTheDestination) {
    Bitmap src(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            src.fillRect(QRect(x, y, 1, 1), makeColour(x, y, 7));
    Bitmap dst(4, 4);
    dst.fill(0);
    dst.copyRect(QRect(2, 2, 3, 3), src, QRect(0, 0, 3, 3)); // reaches past the edge
    EXPECT_EQ(dst.pixel(2, 2), makeColour(0, 0, 7));
    EXPECT_EQ(dst.pixel(3, 3), makeColour(1, 1, 7));
    EXPECT_EQ(dst.pixel(1, 1), 0u);
}

TEST(Bitmap, StretchedCopyRepeatsPixelsAndReadsOutsideAsWhite) {
    Bitmap src(2, 1);
    src.fillRect(QRect(0, 0, 1, 1), makeColour(255, 0, 0));
    src.fillRect(QRect(1, 0, 1, 1), makeColour(0, 0, 255));
    Bitmap dst(4, 2);
    dst.copyRect(QRect(0, 0, 4, 2), src, QRect(0, 0, 2, 1));
    EXPECT_EQ(dst.pixel(1, 1), makeColour(255, 0, 0));
    EXPECT_EQ(dst.pixel(2, 0), makeColour(0, 0, 255));
    dst.copyRect(QRect(0, 0, 4, 2), src, QRect(1, 0, 2, 1)); // half outside the source
    EXPECT_EQ(dst.pixel(0, 0), makeColour(0, 0, 255));
    EXPECT_EQ(dst.pixel(3, 0), 0xFFFFFFu);
}

TEST(Bitmap, PalettedBitmapsConvertToTwentyFourBits) {
    Bitmap b(2, 1, PixelFormat::Bits8);
    b.setPalette({makeColour(1, 2, 3), makeColour(200, 100, 50)});
    b.scanLine(0)[0] = 1;
    b.scanLine(0)[1] = 0;
    EXPECT_EQ(b.pixel(0, 0), makeColour(200, 100, 50));
    b.convertTo24();
    EXPECT_EQ(b.pixelFormat(), PixelFormat::Bits24);
    EXPECT_EQ(b.pixel(0, 0), makeColour(200, 100, 50));
    EXPECT_EQ(b.pixel(1, 0), makeColour(1, 2, 3));
}

TEST(Bitmap, AbsurdSizesFailWithAClearErrorBeforeAllocating) {
    EXPECT_THROW(Bitmap(100000, 100000), Error);
    EXPECT_THROW(Bitmap(-1, 5), Error);
    EXPECT_NO_THROW(Bitmap(0, 5));
}

TEST(Bitmap, WritesAnUncompressedTwentyFourBitBmpThatReadsBackTheSame) {
    Bitmap b(5, 3); // 15 bytes a row: padded to 16
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            b.fillRect(QRect(x, y, 1, 1), makeColour(x * 40, y * 80, 255 - x));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(b.writeBmp(buffer));
    ASSERT_EQ(bytes.size(), 54 + 16 * 3);
    EXPECT_EQ(quint8(bytes[28]), 24); // bits per pixel
    EXPECT_EQ(quint8(bytes[30]), 0);  // no compression
    const QImage back = QImage::fromData(bytes, "BMP");
    ASSERT_EQ(back.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(fromQColor(back.pixelColor(x, y)), b.pixel(x, y)) << x << "," << y;
}

TEST(PictureLoader, ChoosesTheTypeByExtensionInAnyCaseAndNamesAnUnknownOne) {
    QTemporaryDir dir;
    QImage image(7, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = dir.filePath(QStringLiteral("photo.BmP"));
    ASSERT_TRUE(image.save(path, "BMP"));
    PictureLoader loader;
    loader.loadFromFile(path);
    EXPECT_EQ(loader.width(), 7);
    EXPECT_EQ(loader.height(), 4);
    Bitmap b;
    loader.assignTo(b);
    b.convertTo24();
    EXPECT_EQ(b.pixel(6, 3), makeColour(255, 0, 0));

    try {
        loader.loadFromFile(dir.filePath(QStringLiteral("notes.TxT")));
        FAIL() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Extension de fichier image inconnue (.TxT)"));
    }
}

TEST(PictureLoader, DamagedOrMissingFilesFailWithAnError) {
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("bad.bmp"));
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM not really a bitmap");
    f.close();
    PictureLoader loader;
    EXPECT_THROW(loader.loadFromFile(damaged), EInvalidGraphic);
    EXPECT_THROW(loader.loadFromFile(dir.filePath(QStringLiteral("absent.png"))), EInvalidGraphic);
}

} // namespace
} // namespace kadrix
