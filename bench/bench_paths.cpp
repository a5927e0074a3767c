// Framing a folder of JPEG pictures to 640 x 480 JPEG results (quality 95,
// every component at full resolution), timed per picture: plain libjpeg
// loops that decode the whole picture or only the visible window, and the
// program's batch run (ProcessRows) decoding whole, by window and by window
// entered at a restart marker. With a third folder of bands (each picture
// cut losslessly to the MCU rows of its window and one MCU row above, as
// `bench_paths --print-bands DATA_FOLDER` gives them), also the plain
// windowed loop over those bands: the floor for files with restart markers.
// Run as: bench_paths [benchmark flags] DATA_FOLDER SCRATCH_FOLDER [BANDS]
// After timing it checks that the batch paths write identical files.
#include "application.h"
#include "batch.h"
#include "batch_options.h"
#include "compositor.h"
#include "jpeg_image.h"
#include "memory_reuse.h"
#include "orientation.h"
#include "qt_picture.h"
#include "raw_jpeg.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int W = 640, H = 480;

QString dataFolder, scratchFolder, bandFolder;
QStringList names;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Written the way every tool here writes a result: a temporary file beside
// the target, flushed to disk, then renamed over it.
void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        file.commit();
}

// A W x H canvas of BGR rows, at quality 95 with every component at full
// resolution.
void encodeAndWrite(std::vector<JSAMPLE> canvas, const QString& path) {
    const kadrix::test::RawImage image{W, H, 3, std::move(canvas)};
    writeFile(path,
              kadrix::test::encodeRaw(image, {.quality = 95}, {}, [](jpeg_compress_struct& c) {
                  c.in_color_space = JCS_EXT_BGR;
                  for (int i = 0; i < MAX_COMPONENTS; ++i)
                      c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
              }));
}

// A plain libjpeg decompressor over a stream it keeps, its header read.
struct PlainDecoder {
    QByteArray data;
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    explicit PlainDecoder(QByteArray stream) : data(std::move(stream)) {
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(data.constData()),
                     static_cast<unsigned long>(data.size()));
        jpeg_read_header(&d, TRUE);
    }
    ~PlainDecoder() { jpeg_destroy_decompress(&d); }
    PlainDecoder(const PlainDecoder&) = delete;
    PlainDecoder& operator=(const PlainDecoder&) = delete;
};

// The plain windowed loop on a started decompressor: only the columns of
// `window` and one of margin on each side for the up-sampling are turned into
// pixels, the rows above it are skipped and those below it never read. Row y
// of the window goes to rowAt(y).
void readWindowRows(jpeg_decompress_struct& d, const QRect& window,
                    const std::function<JSAMPLE*(int)>& rowAt) {
    JDIMENSION x = JDIMENSION(std::max(window.left() - 1, 0));
    JDIMENSION width =
        JDIMENSION(std::min(window.left() + window.width() + 1, int(d.output_width))) - x;
    jpeg_crop_scanline(&d, &x, &width);
    std::vector<JSAMPLE> row(std::size_t(d.output_width) * 3);
    JSAMPROW pointer = row.data();
    if (window.top() > 0)
        jpeg_skip_scanlines(&d, JDIMENSION(window.top()));
    for (int y = 0; y < window.height(); ++y) {
        jpeg_read_scanlines(&d, &pointer, 1);
        std::memcpy(rowAt(y), row.data() + (window.left() - int(x)) * 3,
                    std::size_t(window.width()) * 3);
    }
    jpeg_abort_decompress(&d);
}

// The rows of a stored picture that hold the stored window of its visible
// (upright) window and one MCU row above, whole MCU rows; where that window
// then lies in them, and the turn that makes it upright.
struct Band {
    QRect rows;   // in the stored picture
    QRect window; // in the band
    kadrix::Orientation turn = kadrix::Orientation::Normal;
};
std::map<QString, Band> bands;

Band bandOf(const QString& path) {
    kadrix::TJPEGImage picture;
    picture.loadFromFile(path);
    const PlainDecoder decoder(picture.data());
    const QSize stored(int(decoder.d.image_width), int(decoder.d.image_height));
    const int mcuRow = decoder.d.max_v_samp_factor * DCTSIZE;
    const kadrix::Orientation turn = picture.orientation();
    const QSize upright = kadrix::uprightSize(turn, stored);
    const QRect window = kadrix::storedRect(
        turn, stored, kadrix::visibleWindow(upright.width(), upright.height(), W, H));
    const int top = std::max(0, (window.top() / mcuRow - 1) * mcuRow);
    const int bottom = std::min(stored.height(), (window.bottom() / mcuRow + 1) * mcuRow);
    return {QRect(0, top, stored.width(), bottom - top), window.translated(0, -top), turn};
}

// One picture framed by a plain windowed libjpeg loop over its band: the
// stored window decoded (one column of margin on each side), turned upright.
void plainBandFrame(const QString& name, const Band& band) {
    PlainDecoder decoder(readFile(bandFolder + u'/' + name));
    decoder.d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&decoder.d);
    kadrix::Bitmap part(band.window.width(), band.window.height());
    readWindowRows(decoder.d, band.window, [&](int y) { return part.scanLine(y); });
    if (band.turn != kadrix::Orientation::Normal)
        part = kadrix::turnUpright(std::move(part), band.turn);
    std::vector<JSAMPLE> canvas(std::size_t(W) * H * 3, 0);
    for (int y = 0; y < std::min(H, part.height()); ++y)
        std::memcpy(&canvas[std::size_t(y) * W * 3], part.scanLine(y),
                    std::size_t(std::min(W, part.width())) * 3);
    encodeAndWrite(std::move(canvas), scratchFolder + QStringLiteral("/band_") + name);
}

// One picture framed by a plain libjpeg loop: the whole picture decoded, or
// only the rows and columns of the visible window (one column of margin on
// each side for the up-sampling, trimmed after decoding).
void plainFrame(const QString& name, bool windowed) {
    PlainDecoder decoder(readFile(dataFolder + u'/' + name));
    jpeg_decompress_struct& d = decoder.d;
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    const int sw = int(d.output_width), sh = int(d.output_height);
    const QRect window = kadrix::visibleWindow(sw, sh, W, H);
    const int left = std::max(0, (W - sw) / 2), top = std::max(0, (H - sh) / 2);
    std::vector<JSAMPLE> canvas(std::size_t(W) * H * 3, 0);
    const auto canvasRow = [&](int y) { return &canvas[(std::size_t(top + y) * W + left) * 3]; };
    if (windowed) {
        readWindowRows(d, window, canvasRow);
    } else {
        std::vector<JSAMPLE> whole(std::size_t(sw) * sh * 3);
        while (d.output_scanline < d.output_height) {
            JSAMPROW pointer = whole.data() + std::size_t(d.output_scanline) * sw * 3;
            jpeg_read_scanlines(&d, &pointer, 1);
        }
        jpeg_finish_decompress(&d);
        for (int y = 0; y < window.height(); ++y)
            std::memcpy(canvasRow(y),
                        &whole[(std::size_t(window.top() + y) * sw + window.left()) * 3],
                        std::size_t(window.width()) * 3);
    }
    encodeAndWrite(std::move(canvas), scratchFolder + QStringLiteral("/plain_") + name);
}

// The main window's side of a batch run, without prompts or display.
class BenchWindow final : public kadrix::BatchWindow {
public:
    explicit BenchWindow(QString destination) : destination_(std::move(destination)) {}
    void setRunningCountText(const QString&) override {}
    QString destinationText() const override { return destination_; }
    kadrix::TargetSizeText targetSizeText() const override {
        return {QString::number(W), QString::number(H)};
    }
    void setTargetSizeText(const kadrix::TargetSizeText&) override {}
    void prepareResultView(int, int) override {}
    void showResult(const kadrix::Bitmap&) override {}
    bool& stopFlag() override { return stop_; }
    kadrix::Colour wipeColour() const override { return 0; }
    QString SourcePath(int row) override { return dataFolder + u'/' + names[row]; }
    QString BuildResultPath(int row, bool) override {
        return destination_ + u'/' + QFileInfo(names[row]).completeBaseName() +
               QStringLiteral(".JPEG");
    }

private:
    QString destination_;
    bool stop_ = false;
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

void bandLoop(benchmark::State& state) {
    for (auto _ : state)
        for (const QString& name : names)
            plainBandFrame(name, bands.at(name));
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

// The batch paths write byte-identical files.
void checkBatchPaths() {
    const QString full = emptyFolder(QStringLiteral("full"));
    batchRun(full, kadrix::DecodeMode::Whole);
    for (const auto& [mode, label] : {std::pair{kadrix::DecodeMode::Window, "windowed"},
                                      std::pair{kadrix::DecodeMode::Seek, "seek"}}) {
        const QString folder = emptyFolder(QString::fromLatin1(label));
        batchRun(folder, mode);
        int same = 0;
        for (const QString& name : QDir(full).entryList(QDir::Files))
            same += readFile(folder + u'/' + name) == readFile(full + u'/' + name) ? 1 : 0;
        std::printf("identical batch results (%s vs whole decode): %d of %d\n", label, same,
                    int(names.size()));
    }
}

} // namespace

int main(int argc, char** argv) {
    kadrix::tuneMemoryForPictures(); // as the program does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    kadrix::JpegDefaults = kadrix::DialogJpegDefaults;
    if (argc == 3 && std::strcmp(argv[1], "--print-bands") == 0) {
        // One line per picture: its name and the jpegtran -crop region of its band.
        dataFolder = QString::fromLocal8Bit(argv[2]);
        for (const QString& name :
             QDir(dataFolder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name)) {
            const QRect rows = bandOf(dataFolder + u'/' + name).rows;
            std::printf("%s %dx%d+%d+%d\n", qPrintable(name), rows.width(), rows.height(),
                        rows.left(), rows.top());
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s [benchmark flags] DATA_FOLDER SCRATCH_FOLDER [BANDS]\n",
                     argv[0]);
        return 2;
    }
    dataFolder = QString::fromLocal8Bit(argv[1]);
    scratchFolder = QString::fromLocal8Bit(argv[2]);
    if (argc == 4)
        bandFolder = QString::fromLocal8Bit(argv[3]);
    int appArgc = 1;
    kadrix::Application app(appArgc, argv);
    kadrix::registerPlatformPictures();
    kadrix::registerJpegPicture();
    kadrix::JpegDefaults = kadrix::DialogJpegDefaults;
    names = QDir(dataFolder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    QDir().mkpath(scratchFolder);
    if (!bandFolder.isEmpty())
        for (const QString& name : names)
            bands[name] = bandOf(dataFolder + u'/' + name);

    const auto add = [](const char* name, auto function) {
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->UseRealTime();
    };
    add("plain_full_decode", [](benchmark::State& s) { plainLoop(s, false); });
    add("plain_windowed", [](benchmark::State& s) { plainLoop(s, true); });
    if (!bandFolder.isEmpty())
        add("plain_band_floor", bandLoop);
    add("batch_seek", [](benchmark::State& s) { batchLoop(s, kadrix::DecodeMode::Seek); });
    add("batch_windowed", [](benchmark::State& s) { batchLoop(s, kadrix::DecodeMode::Window); });
    add("batch_full_decode", [](benchmark::State& s) { batchLoop(s, kadrix::DecodeMode::Whole); });
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    checkBatchPaths();
    return 0;
}
