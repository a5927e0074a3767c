// Writes the seed corpora of the fuzz targets into <folder>/<target>/: small
// JPEG streams of every layout the decoder handles (baseline, progressive,
// greyscale, CMYK, restart markers, arithmetic coding, a truncated one,
// one with an EXIF block), EXIF blocks of every orientation, BMP, PNG and
// ICO pictures in several pixel formats, and texts for the integer fields,
// the naming and the filter. Everything is generated here.
#include "exif_blocks.h"
#include "heif_container.h"
#include "heif_files.h"
#include "jpeg_image.h"
#include "raw_jpeg.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

#include <jpeglib.h>

using namespace kadrix;

namespace {

QString root;

void write(const QString& target, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(root + QLatin1Char('/') + target);
    QFile file(root + QLatin1Char('/') + target + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

// A colourful gradient, so that the encoders have something to code.
QImage pattern(int w, int h, QImage::Format format) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, QColor((x * 37) & 255, (y * 53) & 255, ((x + y) * 11) & 255));
    return image.convertToFormat(format);
}

QByteArray viaPicture(const TJPEGDefaults& options, int w, int h) {
    JpegDefaults = options;
    TJPEGImage picture;
    picture.assign(Bitmap(pattern(w, h, QImage::Format_BGR888)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.saveToStream(buffer);
    return bytes;
}

// Straight through libjpeg, for the layouts the picture type never writes.
QByteArray viaLibjpeg(int components, const std::function<void(jpeg_compress_struct&)>& configure) {
    test::RawImage image{13, 11, components, {}};
    image.pixels.resize(std::size_t(13 * 11 * components));
    const std::size_t stride = std::size_t(13 * components);
    for (std::size_t y = 0; y < 11; ++y)
        for (std::size_t i = 0; i < stride; ++i)
            image.pixels[y * stride + i] = std::uint8_t((i * 29 + y * 7) & 255);
    return test::encodeRaw(image, {}, {}, configure);
}

QByteArray qtImage(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot encode %s: %s\n", format, qPrintable(writer.errorString()));
        std::exit(1);
    }
    return bytes;
}

void jpegSeeds() {
    TJPEGDefaults o;
    write("jpeg", "baseline.jpg", viaPicture(o, 16, 16));
    const QByteArray odd = viaPicture(o, 19, 7);
    write("jpeg", "odd.jpg", odd);
    write("jpeg", "truncated.jpg", odd.left(odd.size() * 2 / 3));
    o.GrayScale = true;
    write("jpeg", "grey.jpg", viaPicture(o, 12, 9));
    o = {};
    o.ProgressiveEncoding = true;
    write("jpeg", "progressive.jpg", viaPicture(o, 24, 17));
    o.HorzSubSampling = o.VertSubSampling = false;
    o.CompressionQuality = 30;
    write("jpeg", "progressive444.jpg", viaPicture(o, 9, 21));
    write("jpeg", "cmyk.jpg", viaLibjpeg(4, [](jpeg_compress_struct&) {}));
    write("jpeg", "ycck.jpg",
          viaLibjpeg(4, [](jpeg_compress_struct& c) { jpeg_set_colorspace(&c, JCS_YCCK); }));
    write("jpeg", "restart.jpg",
          viaLibjpeg(3, [](jpeg_compress_struct& c) { c.restart_interval = 1; }));
    // A restart marker opening each of 100 MCU rows: the subject's measure
    // reads only some of them.
    test::RawImage tall{16, 800, 3, {}};
    tall.pixels.resize(std::size_t(16 * 800 * 3));
    for (std::size_t i = 0; i < tall.pixels.size(); ++i)
        tall.pixels[i] = std::uint8_t((i * 31 + i / 48 * 5) & 255);
    write("jpeg", "restart_rows.jpg", test::encodeRaw(tall, {90, false, 1, 1, 2}));
    write("jpeg", "arithmetic.jpg",
          viaLibjpeg(3, [](jpeg_compress_struct& c) { c.arith_code = TRUE; }));
    write("jpeg", "rgb.jpg",
          viaLibjpeg(3, [](jpeg_compress_struct& c) { jpeg_set_colorspace(&c, JCS_RGB); }));
    write("jpeg", "empty.jpg", QByteArray());
}

void exifSeeds() {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        write("exif", QStringLiteral("mm%1").arg(orientation), test::exifBlock(orientation, true));
        write("exif", QStringLiteral("ii%1").arg(orientation), test::exifBlock(orientation, false));
    }
    // A JPEG source with its EXIF block, for the picture type's target.
    write("jpeg", "exif6.jpg",
          test::withApp1(viaPicture(TJPEGDefaults{}, 19, 7), test::exifBlock(6)));
}

void pictureSeeds() {
    write("qt_picture", "rgb.bmp", qtImage(pattern(7, 5, QImage::Format_RGB888), "bmp"));
    write("qt_picture", "argb.bmp", qtImage(pattern(6, 3, QImage::Format_ARGB32), "bmp"));
    write("qt_picture", "indexed.bmp", qtImage(pattern(9, 4, QImage::Format_Indexed8), "bmp"));
    write("qt_picture", "mono.bmp", qtImage(pattern(17, 3, QImage::Format_Mono), "bmp"));
    write("qt_picture", "rgb.png", qtImage(pattern(8, 8, QImage::Format_RGB888), "png"));
    write("qt_picture", "alpha.png", qtImage(pattern(5, 6, QImage::Format_ARGB32), "png"));
    write("qt_picture", "grey.png", qtImage(pattern(4, 4, QImage::Format_Grayscale8), "png"));
    write("qt_picture", "indexed.png", qtImage(pattern(6, 6, QImage::Format_Indexed8), "png"));
    write("qt_picture", "icon.ico", qtImage(pattern(16, 16, QImage::Format_ARGB32), "ico"));
    write("qt_picture", "small.ico", qtImage(pattern(3, 5, QImage::Format_RGB32), "ico"));
}

void textSeeds() {
    // Integer fields: a first byte (bit 0: Latin-1 text, bit 1: "+" or "-")
    // then the text.
    int n = 0;
    for (const char* text : {"95", " 800", "800 ", "$FF", "0x7FFFFFFF", "-2147483648", "2147483648",
                             "abc", "12a", "", "+5", "-7", "951", "  ", "x", "-$10", "\t12"}) {
        write("integer", QStringLiteral("t%1").arg(n),
              QByteArray(1, char(1 | (n & 2))) + QByteArray(text));
        ++n;
    }
    // Naming and filter: any bytes feed the data providers; a few printable
    // ones give them texts that look like fields.
    static const char defaults[] = "\x01\x01\x00\x01\x01\x01\x29\x00\x00\x00"
                                   "cropped_\\_\\4\\1\\*.JPG;*.JPEG\\/photos/ \\IMG_0042.JPG";
    write("naming", "defaults", QByteArray(defaults, sizeof defaults - 1));
    write(
        "naming", "numbers",
        QByteArray("\x01\x01\x01\x01\x01\x01\xff\xff\xff\x7f$\\-\\2147483647\\-3\\*.BMP\\  d:/out  "
                   "\\a.b.c.bmp"));
    write("filter", "three", QByteArray("\x03Images PNG\\png\\Ic\xc3\xb4nes\\ico\\Bitmaps\\bmp"));
    write("filter", "pipes",
          QByteArray("\x02"
                     "a|b\\c||\\d\\e|"));
}

// Small HEIC and AVIF files of every kind the picture type reads: 4:2:0 and
// 4:4:4, 10 bits, an alpha plane, a colour profile and an EXIF block, and the
// transforms (rotation, mirror, clean aperture) in both orders.
void heifSeeds() {
    using namespace kadrix::test;
    const QImage rgb = pattern(24, 16, QImage::Format_RGB888);
    const QByteArray plain = encodeHeif({.picture = rgb, .quality = 50});
    const QByteArray full = encodeHeif({.picture = rgb, .quality = 50, .fullChroma = true});
    write("heif", "plain.heic", plain);
    write("heif", "full.heic", full);
    write("heif", "deep.heic", encodeHeif({.picture = rgb, .bits = 10, .quality = 50}));
    write("heif", "alpha.heic",
          encodeHeif({.picture = pattern(16, 16, QImage::Format_RGBA8888), .quality = 50}));
    write("heif", "plain.avif",
          encodeHeif({.picture = rgb, .codec = HeifCodec::Av1, .quality = 50}));
    write("heif", "metadata.heic",
          encodeHeif({.picture = rgb,
                      .quality = 50,
                      .icc = QByteArray(128, '\0') + QByteArray("acsp"),
                      .exif = exifBlock(6)}));
    // A thumbnail large enough to stand for the picture in the subject's measure.
    write("heif", "thumbnail.heic",
          encodeHeif({.picture = pattern(640, 480, QImage::Format_RGB888),
                      .quality = 20,
                      .thumbnailSide = 214}));
    write("heif", "irot.heic", withProperties(full, {irotBox(3)}));
    write("heif", "imir.heic", withProperties(full, {imirBox(1)}));
    write("heif", "clap-irot.heic", withProperties(full, {clapBox(12, 1, 8, 1, 2, 1), irotBox(1)}));
    write("heif", "irot-first.heic", withProperties(plain, {irotBox(1), imirBox(0)}, true));
    // Grids of 64 x 64 tiles, as phones write them, for the tile path.
    QList<QByteArray> tiles;
    for (int i = 0; i < 4; ++i)
        tiles << encodeHeif(
            {.picture = pattern(64 + i, 64, QImage::Format_RGB888).copy(i, 0, 64, 64),
             .quality = 30});
    const QByteArray grids[] = {
        gridHeif(tiles, 2, 2, 100, 90), gridHeif(tiles, 2, 2, 128, 128, {irotBox(3), imirBox(1)}),
        gridHeif(tiles, 2, 2, 120, 100, {clapBox(101, 1, 79, 2, 3, 1, -5, 2), irotBox(1)})};
    const char* names[] = {"grid.heic", "grid-irot.heic", "grid-clap.heic"};
    for (int k = 0; k < 3; ++k) {
        write("heif", names[k], grids[k]);
        write("heif_boxes", names[k], grids[k]);
    }
    write("heif_boxes", "plain.heic", plain);
    // The last grid with its tiles' extent renamed away and its tile list's
    // box claiming more bytes than its parent holds (a fuzzing finding).
    QByteArray overrun = grids[2];
    overrun.replace(overrun.indexOf("ispe", overrun.indexOf("ispe") + 4), 4, "isQ ");
    overrun.replace(overrun.indexOf("dimg") - 4, 4, QByteArray("\0\0\x6a\x14", 4));
    write("heif", "grid-dimg-overrun.heic", overrun);
    write("heif_boxes", "grid-dimg-overrun.heic", overrun);
    write("heif_boxes", "grid-later-associations.heic",
          withLaterAssociations(grids[1], {irotBox(1), imirBox(0)}, 3));
    write("heif_boxes", "clap-irot.heic",
          withProperties(full, {clapBox(12, 1, 8, 1, 2, 1), irotBox(1)}));
    // Each tile of the first grid as the tile wrapper's input: its type, its
    // size less one, its configuration's length, the configuration, the data.
    const kadrix::heif::HeifSource source(grids[0]);
    const auto meta = kadrix::heif::readMetaBox(source);
    const auto grid = meta ? kadrix::heif::readContainer(*meta, source).grid : std::nullopt;
    for (size_t k = 0; grid && k < grid->tiles.size(); ++k) {
        const auto& tile = grid->tiles[k];
        QByteArray input(7, '\0');
        qToBigEndian<quint16>(quint16(grid->tileWidth - 1), input.data() + 1);
        qToBigEndian<quint16>(quint16(grid->tileHeight - 1), input.data() + 3);
        qToBigEndian<quint16>(quint16(tile.config.size()), input.data() + 5);
        input += tile.config.toByteArray() +
                 source.read(tile.data.offset, tile.data.length).value_or(QByteArray());
        write("heif_tile", QStringLiteral("tile%1").arg(k), input);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <folder>\n");
        return 2;
    }
    root = QString::fromLocal8Bit(argv[1]);
    jpegSeeds();
    exifSeeds();
    pictureSeeds();
    textSeeds();
    heifSeeds();
    return 0;
}
