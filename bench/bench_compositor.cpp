// ComposeResult against the bound of plain memset + memcpy of the same bytes,
// and the framing step of a phone-sized JPEG on a square canvas with each fill.
#include "compositor.h"
#include "framing.h"
#include "jpeg_image.h"
#include "photo_bitmap.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

using kadrix::Bitmap;

Bitmap source(int w, int h) {
    Bitmap b(w, h);
    b.fill(0x00336699);
    return b;
}

void composeLargeSource(benchmark::State& state) {
    const Bitmap src = source(6000, 4000);
    Bitmap canvas(640, 480);
    for (auto _ : state) {
        kadrix::ComposeResult(src, 640, 480, 0, canvas);
        benchmark::DoNotOptimize(canvas.scanLine(0));
    }
}

// The bound: fill the canvas bytes, copy the visible rows.
void boundLargeSource(benchmark::State& state) {
    const Bitmap src = source(6000, 4000);
    Bitmap canvas(640, 480);
    for (auto _ : state) {
        std::memset(canvas.scanLine(0), 0, size_t(canvas.bytesPerLine()) * 480);
        for (int y = 0; y < 480; ++y)
            std::memcpy(canvas.scanLine(y), src.scanLine(1760 + y) + 2680 * 3, 640 * 3);
        benchmark::DoNotOptimize(canvas.scanLine(0));
    }
}

void composeLargeCanvas(benchmark::State& state) {
    const Bitmap src = source(640, 480);
    Bitmap canvas(6000, 4000);
    for (auto _ : state) {
        kadrix::ComposeResult(src, 6000, 4000, 0x00102030, canvas);
        benchmark::DoNotOptimize(canvas.scanLine(0));
    }
}

void boundLargeCanvas(benchmark::State& state) {
    const Bitmap src = source(640, 480);
    Bitmap canvas(6000, 4000);
    for (auto _ : state) {
        std::memset(canvas.scanLine(0), 0x20, size_t(canvas.bytesPerLine()) * 4000);
        for (int y = 0; y < 480; ++y)
            std::memcpy(canvas.scanLine(1760 + y) + 2680 * 3, src.scanLine(y), 640 * 3);
        benchmark::DoNotOptimize(canvas.scanLine(0));
    }
}

// A 4032 x 3024 photo framed to 4032 x 4032 (margins above and below):
// decoding and composing, the result not written. Argument: the fill.
void frameSquare(benchmark::State& state) {
    static QTemporaryDir dir;
    static const QString path = [] {
        kadrix::registerJpegPicture();
        kadrix::TJPEGImage jpeg;
        jpeg.assign(kadrix::bench::photoBitmap(4032, 3024, 7));
        const QString file = dir.filePath(QStringLiteral("phone.jpg"));
        jpeg.saveToFile(file);
        return file;
    }();
    const auto fill = kadrix::Fill(state.range(0));
    kadrix::SourceFramer framer(4032, 4032);
    for (auto _ : state)
        benchmark::DoNotOptimize(framer.frame(path, 0, {}, {kadrix::Anchor::Centre, fill, false}));
    state.SetLabel(kadrix::fillName(fill).toStdString());
}

BENCHMARK(frameSquare)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(composeLargeSource)->Unit(benchmark::kMicrosecond);
BENCHMARK(boundLargeSource)->Unit(benchmark::kMicrosecond);
BENCHMARK(composeLargeCanvas)->Unit(benchmark::kMillisecond);
BENCHMARK(boundLargeCanvas)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
