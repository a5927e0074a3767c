// Framing a 12-megapixel photo stored turned, with EXIF Orientation 6, onto
// a 640 x 480 canvas against the same photo stored upright: the window is
// decoded from the stored picture and turned, so the cost should stay close
// to the upright one (target: at most 1.2 times).
#include "exif_blocks.h"
#include "framing.h"
#include "jpeg_image.h"
#include "orientation.h"
#include "photo_bitmap.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace kadrix;

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
        const Bitmap picture = bench::photoBitmap(3000, 4000, 7); // upright portrait
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
