// Framing a folder of JPEG pictures to 640 x 480 JPEG results (quality 95,
// every component at full resolution), timed per picture four ways: plain
// libjpeg loops that decode the whole picture or only the visible window,
// and the program's batch run (ProcessRows) with windowed and with whole
// decoding. Run as: bench_paths [benchmark flags] DATA_FOLDER SCRATCH_FOLDER
// After timing it checks that both batch paths write identical files.
#include "application.h"
#include "batch.h"
#include "batch_options.h"
#include "compositor.h"
#include "jpeg_image.h"
#include "qt_picture.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int W = 640, H = 480;

QString dataFolder, scratchFolder;
QStringList names;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Written the way every tool here writes a result: a temporary file beside
// the target, flushed to disk, then renamed over it.
void writeFile(const QString& path, const unsigned char* data, unsigned long size) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size))
        file.commit();
}

void encodeAndWrite(const std::vector<JSAMPLE>& canvas, const QString& path) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = W;
    c.image_height = H;
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    for (int i = 0; i < MAX_COMPONENTS; ++i)
        c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(canvas.data() + std::size_t(c.next_scanline) * W * 3);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    writeFile(path, buffer, size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
}

// One picture framed by a plain libjpeg loop: the whole picture decoded, or
// only the rows and columns of the visible window (one column of margin on
// each side for the up-sampling, trimmed after decoding).
void plainFrame(const QString& name, bool windowed) {
    const QByteArray data = readFile(dataFolder + u'/' + name);
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    const int sw = int(d.output_width), sh = int(d.output_height);
    const QRect window = kadrix::visibleWindow(sw, sh, W, H);
    const int left = std::max(0, (W - sw) / 2), top = std::max(0, (H - sh) / 2);
    std::vector<JSAMPLE> canvas(std::size_t(W) * H * 3, 0);
    const std::size_t rowBytes = std::size_t(window.width()) * 3;
    if (windowed) {
        JDIMENSION x = JDIMENSION(std::max(window.left() - 1, 0));
        JDIMENSION width = JDIMENSION(std::min(window.left() + window.width() + 1, sw)) - x;
        jpeg_crop_scanline(&d, &x, &width);
        std::vector<JSAMPLE> row(std::size_t(d.output_width) * 3);
        JSAMPROW pointer = row.data();
        if (window.top() > 0)
            jpeg_skip_scanlines(&d, JDIMENSION(window.top()));
        for (int y = 0; y < window.height(); ++y) {
            jpeg_read_scanlines(&d, &pointer, 1);
            std::memcpy(&canvas[(std::size_t(top + y) * W + left) * 3],
                        row.data() + (window.left() - int(x)) * 3, rowBytes);
        }
        jpeg_abort_decompress(&d);
    } else {
        std::vector<JSAMPLE> whole(std::size_t(sw) * sh * 3);
        while (d.output_scanline < d.output_height) {
            JSAMPROW pointer = whole.data() + std::size_t(d.output_scanline) * sw * 3;
            jpeg_read_scanlines(&d, &pointer, 1);
        }
        jpeg_finish_decompress(&d);
        for (int y = 0; y < window.height(); ++y)
            std::memcpy(&canvas[(std::size_t(top + y) * W + left) * 3],
                        &whole[(std::size_t(window.top() + y) * sw + window.left()) * 3], rowBytes);
    }
    jpeg_destroy_decompress(&d);
    encodeAndWrite(canvas, scratchFolder + QStringLiteral("/plain_") + name);
}

// The main window's side of a batch run, without prompts or display.
class BenchWindow final : public kadrix::BatchWindow {
public:
    explicit BenchWindow(QString destination) : destination_(std::move(destination)) {}
    void setRunningCountText(const QString&) override {}
    QString destinationText() const override { return destination_; }
    QString targetWidthText() const override { return QString::number(W); }
    void setTargetWidthText(const QString&) override {}
    QString targetHeightText() const override { return QString::number(H); }
    void setTargetHeightText(const QString&) override {}
    void prepareResultView(int, int) override {}
    void showResult(const kadrix::Bitmap&) override {}
    bool stopRequested() const override { return false; }
    void setStopRequested(bool) override {}
    kadrix::Colour wipeColour() const override { return 0; }
    QString SourcePath(int row) override { return dataFolder + u'/' + names[row]; }
    QString BuildResultPath(int row, bool) override {
        return destination_ + u'/' + QFileInfo(names[row]).completeBaseName() +
               QStringLiteral(".JPEG");
    }

private:
    QString destination_;
};

QString emptyFolder(const QString& name) {
    const QString path = scratchFolder + u'/' + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

void batchRun(const QString& destination, kadrix::DecodeMode mode) {
    BenchWindow window(destination);
    kadrix::ProcessRows(window, 0, int(names.size()) - 1, false, true, {.mode = mode});
}

void plainLoop(benchmark::State& state, bool windowed) {
    for (auto _ : state)
        for (const QString& name : names)
            plainFrame(name, windowed);
    state.SetItemsProcessed(state.iterations() * names.size());
}

void batchLoop(benchmark::State& state, kadrix::DecodeMode mode) {
    for (auto _ : state) {
        state.PauseTiming();
        const QString destination = emptyFolder(QStringLiteral("batch"));
        state.ResumeTiming();
        batchRun(destination, mode);
    }
    state.SetItemsProcessed(state.iterations() * names.size());
}

// Both batch paths write byte-identical files.
void checkBatchPaths() {
    const QString windowed = emptyFolder(QStringLiteral("windowed"));
    const QString full = emptyFolder(QStringLiteral("full"));
    batchRun(windowed, kadrix::DecodeMode::Window);
    batchRun(full, kadrix::DecodeMode::Whole);
    int same = 0;
    for (const QString& name : QDir(full).entryList(QDir::Files))
        same += readFile(windowed + u'/' + name) == readFile(full + u'/' + name) ? 1 : 0;
    std::printf("identical batch results (windowed vs whole decode): %d of %d\n", same,
                int(names.size()));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s [benchmark flags] DATA_FOLDER SCRATCH_FOLDER\n", argv[0]);
        return 2;
    }
    dataFolder = QString::fromLocal8Bit(argv[1]);
    scratchFolder = QString::fromLocal8Bit(argv[2]);
    int appArgc = 1;
    kadrix::Application app(appArgc, argv);
    kadrix::registerPlatformPictures();
    kadrix::registerJpegPicture();
    kadrix::JpegDefaults = kadrix::DialogJpegDefaults;
    names = QDir(dataFolder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    QDir().mkpath(scratchFolder);

    const auto add = [](const char* name, auto function) {
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->UseRealTime();
    };
    add("plain_full_decode", [](benchmark::State& s) { plainLoop(s, false); });
    add("plain_windowed", [](benchmark::State& s) { plainLoop(s, true); });
    add("batch_windowed", [](benchmark::State& s) { batchLoop(s, kadrix::DecodeMode::Window); });
    add("batch_full_decode", [](benchmark::State& s) { batchLoop(s, kadrix::DecodeMode::Whole); });
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    checkBatchPaths();
    return 0;
}
