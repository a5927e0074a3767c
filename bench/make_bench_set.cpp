// Writes the benchmark's data set, the same bytes on every run: photo-like
// JPEG files made with libjpeg (smooth shapes with sensor-like grain, 4:2:0,
// quality 92 unless said) in five folders of the folder given as the argument:
//   set12/  24 pictures of 4000 x 3000
//   set24/   4 pictures of 6000 x 4000
//   mixed/  odd sizes, one smaller than 640 x 480, a progressive and a grey file
//   phone/  24 pictures laid out as phones write them: 4032 x 3024, 4:2:0,
//           quality 90, a restart marker at the end of every MCU row, every
//           third one with EXIF Orientation 6 (stored turned, portrait upright)
//   camera/  6 pictures laid out as cameras write them: 6000 x 4000, 4:2:2,
//           quality 92, no restart markers
//   heif/   12 iPhone-like HEIC files: 4032 x 3024 as a grid of 8 x 6 HEVC
//           tiles of 512 x 512 and a thumbnail of 320 x 240, every third one
//           with a rotation of 270 degrees (irot), as phones write portraits
//   heif-large/  one 6000 x 4000 HEIC grid of 12 x 8 tiles, for the peak memory
//   heif-huge/   one 16320 x 12240 (200-megapixel) grid of 32 x 24 tiles
//   scenes/  6 real-looking photos laid out as the phone ones, each with a
//           subject off the centre (the last stored turned, EXIF Orientation 6)
// The HEIC files are cut from photo-like pictures made as the JPEG files are.
// Folders that already hold their files are left as they are.
#include "exif_blocks.h"
#include "heif_files.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Picture {
    std::string name;
    int width, height;
    bool progressive = false;
    bool grey = false;
    int quality = 92;
    int lumaH = 2, lumaV = 2;   // sampling of the first component
    bool restartPerRow = false; // one restart interval per MCU row
    int orientation = 0;        // EXIF Orientation to write (0: no EXIF block)
};

// A small, fast generator: the same sequence for the same seed everywhere.
struct Grain {
    std::uint32_t state;
    int next() {
        state = state * 1664525u + 1013904223u;
        return int((state >> 24) % 13) - 6;
    }
};

// Compresses the rows `rowAt` gives (RGB or grey, top row first) as `p` says.
bool compressJpeg(const std::filesystem::path& path, const Picture& p,
                  const std::function<void(int y, JSAMPLE* row)>& rowAt) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, file);
    c.image_width = JDIMENSION(p.width);
    c.image_height = JDIMENSION(p.height);
    c.input_components = p.grey ? 1 : 3;
    c.in_color_space = p.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, p.quality, TRUE);
    if (p.progressive)
        jpeg_simple_progression(&c);
    if (!p.grey) {
        c.comp_info[0].h_samp_factor = p.lumaH;
        c.comp_info[0].v_samp_factor = p.lumaV;
    }
    if (p.restartPerRow)
        c.restart_interval = JDIMENSION(p.width + 8 * p.lumaH - 1) / JDIMENSION(8 * p.lumaH);
    jpeg_start_compress(&c, TRUE);
    if (p.orientation != 0) {
        const QByteArray exif = kadrix::test::exifBlock(p.orientation, false);
        jpeg_write_marker(&c, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.constData()),
                          unsigned(exif.size()));
    }
    std::vector<JSAMPLE> row(std::size_t(p.width) * std::size_t(c.input_components));
    while (c.next_scanline < c.image_height) {
        rowAt(int(c.next_scanline), row.data());
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&c, &pointer, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(file) == 0;
}

bool writeJpeg(const std::filesystem::path& path, const Picture& p, unsigned seed) {
    // Separable waves per channel, shifted by the seed, plus a few soft discs.
    const double phase = seed * 0.7;
    std::vector<float> wx(std::size_t(p.width) * 3), wy(std::size_t(p.height) * 3);
    for (int x = 0; x < p.width; ++x)
        for (int k = 0; k < 3; ++k)
            wx[std::size_t(x) * 3 + k] = float(60 * std::sin((5.0 + k) * x / p.width + phase + k) +
                                               25 * std::sin(37.0 * x / p.width + k * phase));
    for (int y = 0; y < p.height; ++y)
        for (int k = 0; k < 3; ++k)
            wy[std::size_t(y) * 3 + k] = float(50 * std::cos((3.0 + k) * y / p.height - phase) +
                                               20 * std::sin(29.0 * y / p.height + k));
    Grain grain{seed * 2654435761u + 1};
    const int components = p.grey ? 1 : 3;
    const double cx = p.width * (0.3 + 0.1 * (seed % 5)), cy = p.height * 0.5;
    const double radius2 = double(p.height) * p.height / 9.0;
    return compressJpeg(path, p, [&](int y, JSAMPLE* row) {
        for (int x = 0; x < p.width; ++x) {
            const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            const int disc = d2 < radius2 ? int(40 * (1 - d2 / radius2)) : 0;
            for (int k = 0; k < components; ++k) {
                const int v = 128 + int(wx[std::size_t(x) * 3 + k] + wy[std::size_t(y) * 3 + k]) +
                              disc + grain.next();
                row[std::size_t(x) * components + k] = JSAMPLE(std::clamp(v, 0, 255));
            }
        }
    });
}

// Real-looking photos with a subject off the centre, drawn upright and stored
// as `p` says (turned back for EXIF Orientation 6), with sensor-like grain:
// 0 a face and shoulders left of the centre before a graded sky and a meadow,
// 1 a red and white boat low on the right on a sea under a hazy sky, 2 bright
// flowers high on the left in a soft green meadow, 3 a person at the right
// edge beside grey buildings full of window edges, 4 a brown dog on sand.
QImage drawScene(int scene, int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const auto gradient = [&](QColor top, QColor bottom, QRectF area) {
        QLinearGradient g(area.topLeft(), area.bottomLeft());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        painter.fillRect(area, g);
    };
    const auto ellipse = [&](QColor colour, double x, double y, double rx, double ry) {
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(x * w, y * h), rx * w, ry * h);
    };
    const auto rect = [&](QColor colour, double x, double y, double rw, double rh) {
        painter.fillRect(QRectF(x * w, y * h, rw * w, rh * h), colour);
    };
    const auto person = [&](double x, double y, double s) {
        ellipse(QColor(40, 60, 130), x, y + 2.4 * s, 1.6 * s, 1.4 * s); // shoulders
        ellipse(QColor(60, 40, 25), x, y - 0.35 * s, 0.9 * s, 0.8 * s); // hair
        ellipse(QColor(224, 172, 138), x, y, 0.75 * s, 1.0 * s);        // face
        ellipse(QColor(30, 30, 30), x - 0.28 * s, y - 0.15 * s, 0.09 * s, 0.06 * s);
        ellipse(QColor(30, 30, 30), x + 0.28 * s, y - 0.15 * s, 0.09 * s, 0.06 * s);
        ellipse(QColor(170, 70, 70), x, y + 0.45 * s, 0.25 * s, 0.07 * s);
    };
    switch (scene) {
    case 0:
        gradient(QColor(150, 185, 225), QColor(210, 220, 230), QRectF(0, 0, w, h * 0.6));
        gradient(QColor(110, 140, 80), QColor(80, 110, 60), QRectF(0, h * 0.6, w, h * 0.4));
        person(0.3, 0.42, 0.09);
        break;
    case 1:
        gradient(QColor(200, 210, 220), QColor(170, 190, 210), QRectF(0, 0, w, h * 0.45));
        gradient(QColor(60, 100, 140), QColor(30, 60, 100), QRectF(0, h * 0.45, w, h * 0.55));
        for (int i = 0; i < 40; ++i) // gentle waves
            rect(QColor(70, 110, 150), 0, 0.47 + i * 0.013, 1, 0.002);
        rect(QColor(200, 30, 30), 0.66, 0.72, 0.16, 0.05);
        rect(QColor(240, 240, 240), 0.69, 0.66, 0.09, 0.06);
        rect(QColor(90, 60, 40), 0.735, 0.5, 0.004, 0.16);
        break;
    case 2:
        gradient(QColor(120, 160, 90), QColor(70, 110, 50), QRectF(0, 0, w, h));
        for (int i = 0; i < 30; ++i) {
            const double x = 0.12 + 0.012 * ((i * 7) % 17), y = 0.14 + 0.011 * ((i * 11) % 19);
            ellipse(i % 2 ? QColor(250, 210, 30) : QColor(220, 40, 150), x, y, 0.012, 0.016);
            ellipse(QColor(250, 240, 200), x, y, 0.003, 0.004);
        }
        break;
    case 3:
        gradient(QColor(170, 190, 210), QColor(190, 200, 210), QRectF(0, 0, w, h));
        rect(QColor(120, 120, 125), 0, 0.1, 0.55, 0.9);
        for (int r = 0; r < 14; ++r)
            for (int c = 0; c < 9; ++c)
                rect(QColor(60, 70, 80), 0.02 + c * 0.06, 0.14 + r * 0.06, 0.03, 0.035);
        gradient(QColor(110, 110, 110), QColor(90, 90, 90), QRectF(0, h * 0.85, w, h * 0.15));
        person(0.87, 0.45, 0.07);
        break;
    default:
        gradient(QColor(170, 200, 230), QColor(200, 215, 230), QRectF(0, 0, w, h * 0.35));
        gradient(QColor(205, 185, 150), QColor(185, 165, 130), QRectF(0, h * 0.35, w, h * 0.65));
        ellipse(QColor(120, 75, 40), 0.34, 0.62, 0.08, 0.07);  // body
        ellipse(QColor(110, 65, 35), 0.25, 0.52, 0.035, 0.05); // head
        ellipse(QColor(20, 20, 20), 0.24, 0.5, 0.005, 0.006);
        break;
    }
    painter.end();
    return image;
}

bool writeScene(const std::filesystem::path& path, const Picture& p, int scene, unsigned seed) {
    const bool turned = p.orientation == 6;
    QImage image = drawScene(scene, turned ? p.height : p.width, turned ? p.width : p.height);
    if (turned) // stored a quarter turn anticlockwise, turned back on display
        image = image.transformed(QTransform().rotate(-90));
    Grain grain{seed * 2654435761u + 1};
    return compressJpeg(path, p, [&](int y, JSAMPLE* row) {
        const uchar* from = image.constScanLine(y);
        for (int i = 0; i < p.width * 3; ++i)
            row[i] = JSAMPLE(std::clamp(from[i] + grain.next(), 0, 255));
    });
}

bool writeSet(const std::filesystem::path& folder, const std::vector<Picture>& pictures,
              unsigned firstSeed) {
    std::filesystem::create_directories(folder);
    unsigned seed = firstSeed;
    for (const Picture& p : pictures) {
        const std::filesystem::path path = folder / p.name;
        if (!std::filesystem::exists(path) && !writeJpeg(path, p, seed)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
        ++seed;
    }
    return true;
}

// Whether a file exists and carries a thumbnail reference (files written
// before the sets had thumbnails are written again).
bool hasThumbnail(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) && file.read(64 * 1024).contains("thmb");
}

// HEIC files laid out as iPhones write them: photo-like pictures cut into
// 512 x 512 tiles, each an HEVC image of its own, assembled into a grid whose
// output crops the right and bottom tiles, and a thumbnail of 320 pixels;
// every third one (with `rotateThirds`) stored turned, with a rotation of 270
// degrees on the picture and its thumbnail.
bool writeHeifSet(const std::filesystem::path& folder, const std::string& stem, int count,
                  int width, int height, bool rotateThirds, unsigned firstSeed) {
    using namespace kadrix::test;
    constexpr int Tile = 512;
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        const std::filesystem::path path = folder / (stem + std::to_string(100 + i) + ".heic");
        if (hasThumbnail(path))
            continue;
        const std::filesystem::path photo = folder / "photo.tmp.jpg";
        if (!writeJpeg(photo, {"", width, height}, firstSeed + unsigned(i)))
            return false;
        const QImage image =
            QImage(QString::fromStdString(photo.string())).convertToFormat(QImage::Format_RGB888);
        std::filesystem::remove(photo);
        const int columns = (width + Tile - 1) / Tile, rows = (height + Tile - 1) / Tile;
        QList<QByteArray> tiles;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                tiles << encodeHeif({.picture = image.copy(c * Tile, r * Tile, Tile, Tile),
                                     .quality = 80,
                                     .fast = true});
        QList<QByteArray> transforms;
        if (rotateThirds && i % 3 == 2)
            transforms << irotBox(3);
        // A thumbnail 320 pixels wide (its height even, as HEVC wants), turned
        // as the picture is.
        const QByteArray thumbnail =
            encodeHeif({.picture = image.scaled(320, 320 * height / width / 2 * 2,
                                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                        .quality = 80,
                        .fast = true});
        const QByteArray file = gridHeif(tiles, rows, columns, width, height, transforms, false,
                                         {thumbnail, transforms});
        QFile out(QString::fromStdString(path.string()));
        if (file.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(file) != file.size()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

// A 200-megapixel grid of 32 x 24 tiles of 512 x 512 (16320 x 12240), as a
// recent phone writes it; its tiles are 48 of a photo-like picture in turn.
bool writeHugeGrid(const std::filesystem::path& path) {
    using namespace kadrix::test;
    if (std::filesystem::exists(path))
        return true;
    std::filesystem::create_directories(path.parent_path());
    const std::filesystem::path photo = path.parent_path() / "photo.tmp.jpg";
    if (!writeJpeg(photo, {"", 4096, 3072}, 701))
        return false;
    const QImage picture =
        QImage(QString::fromStdString(photo.string())).convertToFormat(QImage::Format_RGB888);
    std::filesystem::remove(photo);
    QList<QByteArray> own;
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 8; ++c)
            own << encodeHeif(
                {.picture = picture.copy(c * 512, r * 512, 512, 512), .quality = 80, .fast = true});
    QList<QByteArray> tiles;
    for (int i = 0; i < 32 * 24; ++i)
        tiles << own[i % own.size()];
    const QByteArray file = gridHeif(tiles, 24, 32, 16320, 12240);
    QFile out(QString::fromStdString(path.string()));
    return !file.isEmpty() && out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::vector<Picture> set12, set24;
    for (int i = 0; i < 24; ++i)
        set12.push_back({"photo" + std::to_string(100 + i) + ".jpg", 4000, 3000});
    for (int i = 0; i < 4; ++i)
        set24.push_back({"large" + std::to_string(100 + i) + ".jpg", 6000, 4000});
    std::vector<Picture> phone, camera;
    for (int i = 0; i < 24; ++i)
        phone.push_back({"phone" + std::to_string(100 + i) + ".jpg", 4032, 3024, false, false, 90,
                         2, 2, true, i % 3 == 2 ? 6 : 0});
    for (int i = 0; i < 6; ++i)
        camera.push_back({"camera" + std::to_string(100 + i) + ".jpg", 6000, 4000, false, false, 92,
                          2, 1, false});
    const std::vector<Picture> mixed = {
        {"odd_4001x2999.jpg", 4001, 2999},
        {"odd_3999x3001.jpg", 3999, 3001},
        {"odd_4003x3003.jpg", 4003, 3003},
        {"odd_641x481.jpg", 641, 481},
        {"small_639x479.jpg", 639, 479},
        {"progressive_4000x3000.jpg", 4000, 3000, true},
        {"grey_4000x3000.jpg", 4000, 3000, false, true},
    };
    // Real-looking photos, laid out as phones write them.
    std::vector<Picture> scenes;
    for (int i = 0; i < 6; ++i)
        scenes.push_back({"scene" + std::to_string(100 + i) + ".jpg", 4032, 3024, false, false, 90,
                          2, 2, true, i == 5 ? 6 : 0});
    bool sceneSet = true;
    std::filesystem::create_directories(root / "scenes");
    for (std::size_t i = 0; i < scenes.size() && sceneSet; ++i) {
        const std::filesystem::path path = root / "scenes" / scenes[i].name;
        sceneSet = std::filesystem::exists(path) ||
                   writeScene(path, scenes[i], i == 5 ? 0 : int(i), 801 + unsigned(i));
    }
    return sceneSet && writeSet(root / "set12", set12, 1) && writeSet(root / "set24", set24, 101) &&
                   writeSet(root / "mixed", mixed, 201) && writeSet(root / "phone", phone, 301) &&
                   writeSet(root / "camera", camera, 401) &&
                   writeHeifSet(root / "heif", "iphone", 12, 4032, 3024, true, 501) &&
                   writeHeifSet(root / "heif-large", "large", 1, 6000, 4000, false, 601) &&
                   writeHugeGrid(root / "heif-huge" / "huge100.heic")
               ? 0
               : 1;
}
