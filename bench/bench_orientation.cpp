// Framing a 12-megapixel photo stored turned, with EXIF Orientation 6, onto
// a 640 x 480 canvas against the same photo stored upright: the window is
// decoded from the stored picture and turned, so the cost should stay close
// to the upright one (target: at most 1.2 times).
#include "exif_blocks.h"
#include "framing.h"
#include "jpeg_image.h"
#include "orientation.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

using namespace kadrix;

// Smooth shapes with sensor-like noise, in portrait: 3000 x 4000 upright.
Bitmap portrait() {
    Bitmap bitmap(3000, 4000);
    std::mt19937 noise(7);
    std::uniform_int_distribution<int> grain(-6, 6);
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            const double u = double(x) / bitmap.width(), v = double(y) / bitmap.height();
            const double base[3] = {128 + 100 * std::sin(6.0 * u + 2.0 * v),
                                    128 + 90 * std::cos(4.0 * v - 3.0 * u),
                                    128 + 80 * std::sin(9.0 * u * v + 1.0)};
            for (int k = 0; k < 3; ++k)
                row[x * 3 + k] = std::uint8_t(std::clamp(int(base[k]) + grain(noise), 0, 255));
        }
    }
    return bitmap;
}

QByteArray encoded(const Bitmap& bitmap) {
    JpegDefaults = TJPEGDefaults{};
    JpegDefaults.CompressionQuality = 92;
    TJPEGImage picture;
    picture.assign(bitmap);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.saveToStream(buffer);
    return bytes;
}

struct Sources {
    QTemporaryDir dir;
    QString upright;
    QString oriented;
};

const Sources& sources() {
    static Sources s = [] {
        Sources made;
        const Bitmap picture = portrait();
        made.upright = made.dir.filePath(QStringLiteral("upright.jpg"));
        made.oriented = made.dir.filePath(QStringLiteral("oriented.jpg"));
        // Stored landscape: the portrait turned back by a quarter to the left.
        const QByteArray stored = test::withApp1(
            encoded(turnUpright(picture, Orientation::Rotate270)), test::exifBlock(6));
        for (const auto& [path, bytes] :
             {std::pair{made.upright, encoded(picture)}, std::pair{made.oriented, stored}}) {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        }
        return made;
    }();
    return s;
}

void frame(benchmark::State& state, const QString& path) {
    constexpr int W = 640, H = 480;
    JpegDefaults = DialogJpegDefaults;
    SourceFramer framer(W, H);
    for (auto _ : state) {
        framer.frame(path, 0);
        benchmark::DoNotOptimize(framer.canvas().scanLine(0));
    }
}

void frameStoredUpright(benchmark::State& state) {
    frame(state, sources().upright);
}
void frameOrientation6(benchmark::State& state) {
    frame(state, sources().oriented);
}

BENCHMARK(frameStoredUpright)->Unit(benchmark::kMillisecond);
BENCHMARK(frameOrientation6)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    registerJpegPicture();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
