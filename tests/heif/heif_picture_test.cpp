#include "exif_blocks.h"
#include "heif_files.h"

#include "errors.h"
#include "heif_container.h"
#include "heif_owners.h"
#include "heif_picture.h"
#include "heif_tiles.h"
#include "jpeg_image.h"
#include "picture_registry.h"
#include "result_writer.h"

#include <libheif/heif.h>

#include <QColorSpace>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTransform>
#include <QtEndian>

#include <cstring>
#include <functional>

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

// An asymmetric gradient, so that every turn and mirror shows.
QImage gradient(int w, int h, bool alpha = false) {
    QImage image(w, h, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y,
                                QColor(x * 255 / w, y * 255 / h, (x * y) % 256,
                                       alpha ? (x < w / 2 ? 255 : 128) : 255));
    return image;
}

QImage decode(const QByteArray& file, bool autoOrient = true, QSize* before = nullptr) {
    HeifPicture picture(autoOrient);
    picture.loadFromData(file);
    if (before)
        *before = {picture.width(), picture.height()};
    Bitmap bitmap;
    picture.assignTo(bitmap);
    EXPECT_EQ(QSize(picture.width(), picture.height()), bitmap.image().size());
    return bitmap.image().convertToFormat(QImage::Format_RGB888);
}

// What loading and decoding `file` throws; empty when it works.
// The error decoding `file` gives; with `shrunkTo`, of the file on disk cut
// to that many bytes after it was loaded, through the window path; with
// `window`, of a window of the whole picture (the tile path where it goes).
QString failure(const QByteArray& file, qint64 shrunkTo = 0, bool window = false) {
    try {
        if (shrunkTo == 0 && window) {
            HeifPicture picture;
            picture.loadFromData(file);
            picture.decodeWindow(QRect(0, 0, picture.width(), picture.height()), DecodeMode::Seek);
            return {};
        }
        if (shrunkTo == 0) {
            decode(file);
            return {};
        }
        QTemporaryDir dir;
        QFile out(dir.filePath("cut.heic"));
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
            return QStringLiteral("cannot write");
        out.close();
        HeifPicture picture;
        picture.loadFromFile(out.fileName());
        out.resize(shrunkTo);
        picture.decodeWindow(QRect(0, 0, picture.width(), picture.height()), DecodeMode::Seek);
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

QImage turned(const QImage& image, int degreesClockwise) {
    return image.transformed(QTransform().rotate(degreesClockwise));
}

// libheif's own decode of the whole primary image in `chroma` (nothing when it
// fails), for comparison.
heif::ImagePtr libheifImage(const QByteArray& file, heif_chroma chroma) {
    const heif::ContextPtr context(heif_context_alloc());
    heif_context_read_from_memory_without_copy(context.get(), file.constData(), size_t(file.size()),
                                               nullptr);
    heif_image_handle* handle = nullptr;
    heif_context_get_primary_image_handle(context.get(), &handle);
    const heif::HandlePtr owner(handle);
    heif_image* image = nullptr;
    heif_decode_image(handle, &image, heif_colorspace_RGB, chroma, nullptr);
    return heif::ImagePtr(image);
}

// The same, in 8-bit RGB.
QImage libheifDecode(const QByteArray& file) {
    const heif::ImagePtr image = libheifImage(file, heif_chroma_interleaved_RGB);
    int stride = 0;
    const uint8_t* plane =
        image ? heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride)
              : nullptr;
    if (plane == nullptr)
        return {};
    return QImage(plane, heif_image_get_width(image.get(), heif_channel_interleaved),
                  heif_image_get_height(image.get(), heif_channel_interleaved), stride,
                  QImage::Format_RGB888)
        .copy();
}

const QByteArray& plainFile() {
    static const QByteArray file =
        encodeHeif({.picture = gradient(96, 64), .fullChroma = true, .exif = exifBlock(6)});
    return file;
}

// The file's transforms are applied in its order, its EXIF Orientation (6
// here) never; without auto-orientation the stored picture comes out. A
// mirror's axis reads as libheif (and so vips and ImageMagick) reads it: 0
// exchanges top and bottom, 1 left and right.
TEST(HeifTransforms, AreAppliedInTheFilesOrderAndTheExifOrientationIsNot) {
    ASSERT_FALSE(plainFile().isEmpty());
    const QImage plain = decode(plainFile());
    ASSERT_EQ(plain.size(), QSize(96, 64));
    const struct {
        const char* what;
        QList<QByteArray> properties;
        bool beforeExtent;
        std::function<QImage(const QImage&)> expected;
    } cases[] = {
        {"irot 90", {irotBox(1)}, false, [](const QImage& i) { return turned(i, 270); }},
        {"irot 180", {irotBox(2)}, false, [](const QImage& i) { return turned(i, 180); }},
        {"irot 270", {irotBox(3)}, false, [](const QImage& i) { return turned(i, 90); }},
        {"imir 0 (top-bottom)",
         {imirBox(0)},
         false,
         [](const QImage& i) { return i.mirrored(false, true); }},
        {"imir 1 (left-right)",
         {imirBox(1)},
         false,
         [](const QImage& i) { return i.mirrored(true, false); }},
        {"clap centred",
         {clapBox(48, 1, 32, 1)},
         false,
         [](const QImage& i) { return i.copy(24, 16, 48, 32); }},
        {"clap moved",
         {clapBox(48, 1, 32, 1, 8, 1, -4, 1)},
         false,
         [](const QImage& i) { return i.copy(32, 12, 48, 32); }},
        {"clap then irot",
         {clapBox(48, 1, 32, 1), irotBox(1)},
         false,
         [](const QImage& i) { return turned(i.copy(24, 16, 48, 32), 270); }},
        {"irot then clap",
         {irotBox(1), clapBox(32, 1, 48, 1)},
         false,
         [](const QImage& i) { return turned(i, 270).copy(16, 24, 32, 48); }},
        {"irot then imir",
         {irotBox(1), imirBox(1)},
         false,
         [](const QImage& i) { return turned(i, 270).mirrored(true, false); }},
        {"imir then irot",
         {imirBox(1), irotBox(1)},
         false,
         [](const QImage& i) { return turned(i.mirrored(true, false), 270); }},
        {"irot listed before the extent",
         {irotBox(3)},
         true,
         [](const QImage& i) { return turned(i, 90); }},
    };
    for (const auto& c : cases) {
        const QByteArray file = withProperties(plainFile(), c.properties, c.beforeExtent);
        ASSERT_FALSE(file.isEmpty()) << c.what;
        QSize before;
        EXPECT_EQ(decode(file, true, &before), c.expected(plain)) << c.what;
        EXPECT_EQ(before, c.expected(plain).size()) << c.what;
        EXPECT_EQ(decode(file, false, &before), plain) << c.what;
        EXPECT_EQ(before, plain.size()) << c.what;
    }
}

// The colour profile and the EXIF block reach the results that carry them;
// the EXIF block says Orientation 1 and the result's size.
TEST(HeifMetadata, TheProfileAndTheEditedExifReachTheResults) {
    const QByteArray p3 = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    ExifFields fields;
    fields.orientation = 6;
    fields.make = "Phone";
    const QByteArray file =
        encodeHeif({.picture = gradient(96, 64), .icc = p3, .exif = makeExif(fields)});
    HeifPicture picture;
    picture.loadFromData(file);
    EXPECT_EQ(picture.metadata().iccProfile, p3);
    EXPECT_EQ(readExif(picture.metadata().exif).make, "Phone");
    QTemporaryDir dir;
    Bitmap canvas(40, 30);
    canvas.fill(0);
    for (const char* name : {"r.jpg", "r.png", "r.webp"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(saveResult(canvas, path, &picture)) << name;
        EXPECT_EQ(QImage(path).colorSpace().iccProfile(), p3) << name;
    }
    TJPEGImage result;
    result.loadFromFile(dir.filePath(QStringLiteral("r.jpg")));
    const ExifFacts exif = readExif(result.metadata().exif);
    EXPECT_EQ(exif.orientation, 1);
    EXPECT_EQ(exif.make, "Phone");
    EXPECT_EQ(exif.pixelWidth, 40);
}

// Every codec and depth gives the picture it stored; samples of more than 8
// bits are rounded to 8, not cut.
TEST(HeifDepth, EachCodecAndDepthGivesItsPictureRounded) {
    const struct {
        const char* what;
        HeifCodec codec;
        int bits;
        bool alpha;
        bool grid = false; // 2 x 2 tiles of the picture, the grid cropping the last ones
    } cases[] = {
        {"HEVC", HeifCodec::Hevc, 8, false},
        {"AV1", HeifCodec::Av1, 8, false},
        {"HEVC 10 bits", HeifCodec::Hevc, 10, false},
        {"HEVC with alpha", HeifCodec::Hevc, 8, true},
        {"HEVC grid", HeifCodec::Hevc, 8, false, true},
    };
    for (const auto& c : cases) {
        QImage source = gradient(96, 64, c.alpha);
        QByteArray file =
            encodeHeif({.picture = source, .codec = c.codec, .bits = c.bits, .quality = 100});
        if (c.grid) {
            file = gridHeif({file, file, file, file}, 2, 2, 180, 120);
            source = QImage(180, 120, QImage::Format_RGB888);
            QPainter(&source).drawTiledPixmap(0, 0, 180, 120, QPixmap::fromImage(gradient(96, 64)));
        }
        ASSERT_FALSE(file.isEmpty()) << c.what;
        HeifPicture picture;
        picture.loadFromData(file);
        EXPECT_EQ(picture.hasAlpha(), c.alpha) << c.what;
        const QImage decoded = decode(file);
        ASSERT_EQ(decoded.size(), source.size()) << c.what;
        for (const QPoint at : {QPoint(10, 10), c.grid ? QPoint(140, 100) : QPoint(40, 25)}) {
            const QColor got = decoded.pixelColor(at), stored = source.pixelColor(at);
            EXPECT_NEAR(got.red(), stored.red(), 16) << c.what;
            EXPECT_NEAR(got.green(), stored.green(), 16) << c.what;
        }
        if (c.bits == 8)
            continue;
        // libheif's own samples at 16 bits, rounded here to compare.
        const heif::ImagePtr deep = libheifImage(file, heif_chroma_interleaved_RRGGBB_LE);
        ASSERT_TRUE(deep) << c.what;
        int stride = 0;
        const uint8_t* plane =
            heif_image_get_plane_readonly(deep.get(), heif_channel_interleaved, &stride);
        int wrong = 0;
        for (int y = 0; y < decoded.height(); ++y)
            for (int x = 0; x < decoded.width() * 3; ++x) {
                const unsigned v = qFromLittleEndian<quint16>(plane + y * stride + 2 * x);
                wrong += decoded.constScanLine(y)[x] != (v * 255 + 511) / 1023;
            }
        EXPECT_EQ(wrong, 0) << c.what;
    }
}

TEST(HeifDamage, EachDamagedFileGivesItsError) {
    const QByteArray& plain = plainFile();
    QByteArray huge(12, '\0'); // version, flags, then width and height
    qToBigEndian<quint32>(30000, huge.data() + 4);
    qToBigEndian<quint32>(30000, huge.data() + 8);
    // A grid whose tiles' extent (the second `ispe`, after the grid's) is lost.
    QByteArray tilesWithoutExtent = gridHeif({plain, plain, plain, plain}, 2, 2, 120, 90);
    tilesWithoutExtent.replace(
        tilesWithoutExtent.indexOf("ispe", tilesWithoutExtent.indexOf("ispe") + 4), 4, "isQ ");
    QByteArray panorama(12, '\0');
    qToBigEndian<quint32>(30000, panorama.data() + 4);
    qToBigEndian<quint32>(500, panorama.data() + 8);
    const QList<QByteArray> four = {plain, plain, plain, plain};
    // A grid description far larger than the grid's extent (its first `ispe`).
    QByteArray described = gridHeif(four, 2, 2, 51200, 25600);
    const qsizetype extentAt = described.indexOf("ispe") + 8;
    qToBigEndian<quint32>(700, described.data() + extentAt);
    qToBigEndian<quint32>(500, described.data() + extentAt + 4);
    const QByteArray grid = gridHeif(four, 2, 2, 120, 90);
    // The same, its tile list's box claiming more bytes than its parent holds
    // (libheif reads the list whatever its size, then its tiles' uninitialised
    // pixels); and a tile list naming an item that is not there.
    QByteArray overrun = tilesWithoutExtent;
    overrun.replace(overrun.indexOf("dimg") - 4, 4, QByteArray("\0\0\x6a\x14", 4));
    QByteArray missingTile = grid;
    missingTile.replace(missingTile.indexOf("dimg") + 8, 2, QByteArray("\0\x63", 2));
    const struct {
        const char* what;
        QByteArray file;
        const char* reason;
        qint64 shrunkTo = 0; // bytes left of the file once it is loaded
    } cases[] = {
        {"no HEIF file", QByteArray("\xff\xd8\xff\xe0 not a HEIF file at all"),
         "Image invalide: pas un fichier HEIF"},
        {"truncated", plain.left(plain.size() - 200), "Image invalide: "},
        {"cut in its container", plain.left(300), "Image invalide: fichier HEIF tronqué"},
        {"data past the end", withPrimaryOffsetMoved(plain, 1 << 20), "Image invalide: "},
        {"larger than the size limit", withPropertyPayload(plain, "ispe", huge),
         "Image invalide: image trop grande"},
        {"clap with a zero denominator", withProperties(plain, {clapBox(32, 0, 24, 1)}),
         "Image invalide: "},
        {"clap with a negative denominator", withProperties(plain, {clapBox(32, 1, 24, -2)}),
         "Image invalide: "},
        {"no decoder configuration", withPropertyRenamed(plain, "hvcC", "hvcX"),
         "Image invalide: "},
        {"fewer tiles than the grid", gridHeif({plain, plain, plain}, 2, 2, 120, 90),
         "Image invalide: "},
        {"more tiles than the grid", gridHeif({plain, plain, plain, plain, plain}, 2, 2, 120, 90),
         "Image invalide: "},
        {"grid larger than the size limit",
         gridHeif({plain, plain, plain, plain}, 2, 2, 30000, 30000),
         "Image invalide: image trop grande"},
        {"grid description past the limit behind a small extent", described,
         "Image invalide: image trop grande (51200 * 25600)"},
        {"extent of a long panorama", withPropertyPayload(plain, "ispe", panorama), ""},
        {"tiles without an extent", tilesWithoutExtent,
         "Image invalide: fichier HEIF endommagé (une tuile sans taille)"},
        {"tile list overrunning its box, tiles without an extent", overrun,
         "Image invalide: fichier HEIF endommagé (une tuile sans taille)"},
        {"tile list naming a missing item", missingTile,
         "Image invalide: fichier HEIF endommagé (une tuile manquante)"},
        {"more items than a container may hold",
         gridHeif(QList<QByteArray>(1001, plain), 1, 1, 96, 64),
         "Image invalide: fichier HEIF trop complexe (plus de 1000 éléments)"},
        {"cut in its first box", plain.left(20), "Image invalide: fichier HEIF tronqué"},
        {"grid with two rotations", gridHeif(four, 2, 2, 120, 90, {irotBox(1), irotBox(1)}),
         "Image invalide: fichier HEIF endommagé ("},
        {"grid of 10 bits over 8-bit tiles",
         gridHeif(four, 2, 2, 120, 90, {QByteArray("\0\0\0\x10pixi\0\0\0\0\3\n\n\n", 16)}),
         "Image invalide: fichier HEIF endommagé ("},
        {"tile without decoder configuration",
         gridHeif({plain, plain, withPropertyRenamed(plain, "hvcC", "hvcX"), plain}, 2, 2, 120, 90),
         "Image invalide: "},
        {"shrunk once loaded", plain, "Image invalide: fichier HEIF tronqué", plain.size() / 2},
        {"grid shrunk once loaded", grid, "Image invalide: fichier HEIF tronqué",
         grid.size() - 100},
    };
    for (const auto& c : cases) {
        const QString reason = QString::fromUtf8(c.reason); // empty: no error
        EXPECT_TRUE(reason.isEmpty() ? failure(c.file, c.shrunkTo).isEmpty()
                                     : failure(c.file, c.shrunkTo).startsWith(reason))
            << c.what << ": " << failure(c.file, c.shrunkTo).toStdString();
        // The tile path refuses what the whole decode refuses.
        if (c.shrunkTo == 0) {
            EXPECT_EQ(failure(c.file, 0, true), failure(c.file)) << c.what;
        }
    }
}

// A grid put together from its tiles, and a window of it decoded from the
// tiles it touches, hold libheif's whole decode's pixels, through every
// transform and clean aperture (odd sizes, halves, offsets either way, larger
// than the picture); the one the tile path leaves to libheif (a single
// column) is decoded whole, with the same pixels.
TEST(HeifTiles, AWindowOfAGridHoldsTheWholeDecodesPixels) {
    const QImage picture = gradient(192, 128);
    // Plain tiles; tiles of their own colours (BT.709 full range and BT.601
    // limited range in turn) kept on each tile.
    QList<QByteArray> tileSets[2];
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            const QImage part = picture.copy(c * 64, r * 64, 64, 64);
            tileSets[0] << encodeHeif({.picture = part});
            const bool odd = (r + c) % 2 != 0;
            tileSets[1] << encodeHeif(
                {.picture = part, .nclxMatrix = odd ? 6 : 1, .nclxFullRange = !odd});
        }
    const QByteArray p3 = colrBox(QColorSpace(QColorSpace::DisplayP3).iccProfile());
    const struct {
        QList<QByteArray> transforms;
        bool tiled;
        int laterEntries = 0;    // more associations for the grid, each a turn and a mirror
        bool ownColours = false; // the second set of tiles, their colours kept on each
    } rows[] = {
        {{}, true},
        {{p3}, true, 0, true},
        {{colrBox(1, 13, 1, false), irotBox(1)}, true, 0, true},
        {{colrBox(1, 13, 6, false)}, true},
        {{irotBox(3)}, true, 300},
        {{irotBox(1)}, true},
        {{irotBox(2)}, true},
        {{irotBox(3)}, true},
        {{imirBox(0)}, true},
        {{imirBox(1)}, true},
        {{irotBox(1), imirBox(1)}, true},
        {{clapBox(100, 1, 80, 1)}, true},
        {{clapBox(101, 1, 79, 1, 7, 1, -5, 1)}, true},
        {{clapBox(201, 2, 161, 2, 3, 2, -7, 2)}, true},
        {{clapBox(300, 1, 300, 1)}, true},
        {{irotBox(1), clapBox(80, 1, 101, 1, 3, 1, 4, 1)}, true},
        {{clapBox(99, 1, 80, 1, -20, 1, 9, 1), irotBox(3)}, true},
        {{imirBox(1), clapBox(64, 1, 63, 1, 30, 1, -1, 2), irotBox(2)}, true},
        // Fractions libheif halves before it adds them.
        {{clapBox(1785701606, 566339302, 270, 3, 2100945386, 827220416, -497429415, 554636248)},
         true},
        {{clapBox(1493552032, 450833187, 2076967250, 606850909, -818428873, 929708394, 636777407,
                  870509052)},
         true},
        {{clapBox(1, 1, 80, 1)}, false},
        // Less than a column wide: libheif sizes it empty and decodes a column.
        {{clapBox(286622507, 821776236, 184, 2, -2147483647, 1, -39, 3)}, false}};
    const QRect windows[] = {{10, 10, 40, 30},  {50, 40, 30, 40},   {0, 0, 170, 120},
                             {140, 90, 40, 40}, {-5, -5, 500, 500}, {63, 63, 2, 2}};
    for (const auto& [t, tiled, laterEntries, ownColours] : rows) {
        QByteArray file = gridHeif(tileSets[ownColours ? 1 : 0], 2, 3, 170, 120, t, ownColours);
        if (laterEntries > 0)
            file = withLaterAssociations(file, {irotBox(1), imirBox(0)}, laterEntries);
        ASSERT_FALSE(file.isEmpty());
        const heif::HeifSource source(file);
        const std::optional<heif::MetaBox> meta = heif::readMetaBox(source);
        ASSERT_TRUE(meta.has_value());
        // Each association entry is read once, and only the grid's first
        // one gives its transforms.
        const heif::ContainerReading reading = heif::readContainer(*meta, source);
        EXPECT_EQ(reading.associationEntriesRead, 7 + laterEntries);
        const std::optional<heif::GridLayout>& layout = reading.grid;
        EXPECT_EQ(layout && heif::uprightSize(*layout), tiled) << t.size() << " transforms";
        if (layout) {
            EXPECT_EQ(layout->transforms.size(),
                      size_t(std::count_if(t.begin(), t.end(), [](const QByteArray& p) {
                          return p.mid(4, 4) != "colr";
                      })));
        }
        const QImage whole = libheifDecode(file);
        EXPECT_EQ(decode(file), whole) << t.size() << " transforms";
        for (const QRect& window : windows) {
            HeifPicture grid;
            grid.loadFromData(file);
            const std::optional<Bitmap> part = grid.decodeWindow(window, DecodeMode::Seek);
            // Refused only where the decoded size is not the one reported.
            ASSERT_TRUE(part || QSize(grid.width(), grid.height()) != QSize(170, 120));
            if (!part)
                continue;
            EXPECT_EQ(part->image().convertToFormat(QImage::Format_RGB888),
                      whole.copy(window.intersected(whole.rect())))
                << t.size() << " transforms, window " << window.x() << "," << window.y();
            // Its rows, where the grid hands them on a row of tiles at a time.
            HeifPicture streamed;
            streamed.loadFromData(file);
            const QRect shown = window.intersected(whole.rect());
            if (std::unique_ptr<RowSource> band = streamed.readRows(shown, DecodeMode::Seek)) {
                QImage read(band->width(), band->height(), QImage::Format_BGR888);
                for (int y = 0; y < read.height(); ++y)
                    std::memcpy(read.scanLine(y), band->next(), std::size_t(read.width()) * 3);
                EXPECT_EQ(read.convertToFormat(QImage::Format_RGB888), whole.copy(shown))
                    << t.size() << " transforms, rows of " << window.x() << "," << window.y();
            }
        }
    }
}

} // namespace
} // namespace kadrix::test
