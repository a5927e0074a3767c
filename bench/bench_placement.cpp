// Placing pictures by hand: framing a 12-megapixel JPEG again at 640 x 480
// as a drag in the "Result" view moves it (each update of the view), and
// reading a placements file of 10,000 lines and giving each source its
// placement (what --placements adds to a run).
#include "framing.h"
#include "jpeg_image.h"
#include "photo_bitmap.h"
#include "placements_file.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace kadrix::cli;

constexpr int Lines = 10000;

// One step of a drag: the window moved a few pixels right, at the height of
// the argument (0 the top, 1 the middle, 2 the bottom of the picture: the
// rows above the window are read too, so the bottom costs most).
void reframeDragged(benchmark::State& state) {
    constexpr int PictureWidth = 4000, PictureHeight = 3000, Width = 640, Height = 480;
    static QTemporaryDir dir;
    static const QString path = [] {
        kadrix::registerJpegPicture();
        kadrix::TJPEGImage jpeg;
        jpeg.assign(kadrix::bench::photoBitmap(PictureWidth, PictureHeight, 11));
        const QString file = dir.filePath(QStringLiteral("photo.jpg"));
        jpeg.saveToFile(file);
        return file;
    }();
    const int y = int(state.range(0)) * (PictureHeight - Height) / 2;
    kadrix::SourceFramer framer(Width, Height);
    int x = 0;
    for (auto _ : state) {
        x = (x + 7) % (PictureWidth - Width);
        benchmark::DoNotOptimize(framer.frame(path, 0, {}, {}, {}, QPoint(x, y)));
    }
    state.SetLabel(y == 0 ? "top" : y < PictureHeight - Height ? "middle" : "bottom");
}
BENCHMARK(reframeDragged)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void readPlacements(benchmark::State& state) {
    std::vector<SourceFile> sources;
    QByteArray file;
    for (int i = 0; i < Lines; ++i) {
        sources.push_back({QStringLiteral("/photos/2024/"), QStringLiteral("IMG_%1.jpg").arg(i)});
        // A line as --json writes it, with every field.
        file += QStringLiteral(R"({"anchor":"centre","error":null,"fill":"colour","height":3000,)"
                               R"("ms":12,"result":"/photos/2024/cropped/cropped_IMG_%1.BMP",)"
                               R"("source":"/photos/2024/IMG_%1.jpg","status":"framed",)"
                               R"("width":4000,"x":%2,"y":%3})")
                    .arg(i)
                    .arg(i % 3360)
                    .arg(-(i % 480))
                    .toUtf8() +
                '\n';
    }
    for (auto _ : state) {
        const PlacementsRead read = parsePlacements(file, QStringLiteral("placements"));
        const QString error = assignPlacements(read.lines, sources, QStringLiteral("placements"));
        benchmark::DoNotOptimize(error);
    }
    state.SetItemsProcessed(state.iterations() * Lines);
}
BENCHMARK(readPlacements)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
