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
//           tiles of 512 x 512, every third one with a rotation of 270 degrees
//           (irot), as phones write portraits
//   heif-large/  one 6000 x 4000 HEIC grid of 12 x 8 tiles, for the peak memory
//   heif-huge/   one 16320 x 12240 (200-megapixel) grid of 32 x 24 tiles
// The HEIC files are cut from photo-like pictures made as the JPEG files are.
// Folders that already hold their files are left as they are.
#include "exif_blocks.h"
#include "heif_files.h"

#include <QFile>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
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

bool writeJpeg(const std::filesystem::path& path, const Picture& p, unsigned seed) {
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
    const int components = c.input_components;
    std::vector<JSAMPLE> row(std::size_t(p.width) * components);
    const double cx = p.width * (0.3 + 0.1 * (seed % 5)), cy = p.height * 0.5;
    const double radius2 = double(p.height) * p.height / 9.0;
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < p.width; ++x) {
            const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            const int disc = d2 < radius2 ? int(40 * (1 - d2 / radius2)) : 0;
            for (int k = 0; k < components; ++k) {
                const int v = 128 + int(wx[std::size_t(x) * 3 + k] + wy[std::size_t(y) * 3 + k]) +
                              disc + grain.next();
                row[std::size_t(x) * components + k] = JSAMPLE(std::clamp(v, 0, 255));
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&c, &pointer, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(file) == 0;
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

// HEIC files laid out as iPhones write them: photo-like pictures cut into
// 512 x 512 tiles, each an HEVC image of its own, assembled into a grid whose
// output crops the right and bottom tiles; every third one (with
// `rotateThirds`) stored turned, with a rotation of 270 degrees.
bool writeHeifSet(const std::filesystem::path& folder, const std::string& stem, int count,
                  int width, int height, bool rotateThirds, unsigned firstSeed) {
    using namespace kadrix::test;
    constexpr int Tile = 512;
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        const std::filesystem::path path = folder / (stem + std::to_string(100 + i) + ".heic");
        if (std::filesystem::exists(path))
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
        const QByteArray file = gridHeif(tiles, rows, columns, width, height, transforms);
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
    return writeSet(root / "set12", set12, 1) && writeSet(root / "set24", set24, 101) &&
                   writeSet(root / "mixed", mixed, 201) && writeSet(root / "phone", phone, 301) &&
                   writeSet(root / "camera", camera, 401) &&
                   writeHeifSet(root / "heif", "iphone", 12, 4032, 3024, true, 501) &&
                   writeHeifSet(root / "heif-large", "large", 1, 6000, 4000, false, 601) &&
                   writeHugeGrid(root / "heif-huge" / "huge100.heic")
               ? 0
               : 1;
}
