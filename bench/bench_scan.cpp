// The folder scan over 1,000, 10,000 and 100,000 files, a third of them
// accepted: the whole scan through the main window (listing, filter,
// duplicate test, running count and one pass of the event loop per entry),
// the directory listing alone (the file system's share), and the listing
// rules alone over a listing held in memory.
#include "application.h"
#include "folder_scan.h"
#include "form_kadrix.h"
#include "program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

const QString Bitmaps = QStringLiteral("BITMAPS (*.BMP)");

// The program's forms and the benchmark folders, made in main() so that they
// go before the application object.
kadrix::Forms* theForms = nullptr;
std::map<int, std::unique_ptr<QTemporaryDir>>* theFolders = nullptr;

kadrix::TFormKadrix& window() {
    return *theForms->FormKadrix;
}

QString entryName(int i) {
    static const char* const extensions[] = {".bmp", ".txt", ".dat"};
    return QStringLiteral("IMG_%1%2")
        .arg(i, 6, 10, QLatin1Char('0'))
        .arg(QLatin1String(extensions[i % 3]));
}

// A folder of `files` empty files, made once per size: the scan opens none.
QString folderOf(int files) {
    auto& dir = (*theFolders)[files];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        for (int i = 0; i < files; ++i) {
            QFile f(dir->filePath(entryName(i)));
            if (!f.open(QIODevice::WriteOnly))
                return {};
        }
    }
    return dir->path() + u'/';
}

void scanFolderThroughWindow(benchmark::State& state) {
    const int files = int(state.range(0));
    const QString folder = folderOf(files);
    if (folder.isEmpty()) {
        state.SkipWithError("cannot create the folder");
        return;
    }
    auto& w = window();
    w.show();
    for (auto _ : state) {
        const bool found = w.ScanFolder(folder, Bitmaps);
        benchmark::DoNotOptimize(found);
    }
    if (w.sourceList().count() != (files + 2) / 3)
        state.SkipWithError("wrong count");
    state.SetItemsProcessed(state.iterations() * files);
}

class ListedWalk final : public kadrix::DirectoryWalk {
public:
    explicit ListedWalk(const std::vector<kadrix::DirectoryEntry>& entries) : entries_(entries) {}
    std::optional<kadrix::DirectoryEntry> next() override {
        if (next_ >= entries_.size())
            return std::nullopt;
        return entries_[next_++];
    }

private:
    const std::vector<kadrix::DirectoryEntry>& entries_;
    size_t next_ = 0;
};

class QuietWindow final : public kadrix::ScanWindow {
public:
    void setFoundCountText(const QString& text) override { benchmark::DoNotOptimize(text); }
    void processScanMessages() override {}
    bool stopRequested() const override { return false; }
    void setStopRequested(bool) override {}
};

void scanRulesOnly(benchmark::State& state) {
    const int files = int(state.range(0));
    std::vector<kadrix::DirectoryEntry> entries;
    for (int i = 0; i < files; ++i)
        entries.push_back({entryName(i), i % 977});
    QuietWindow quiet;
    for (auto _ : state) {
        ListedWalk walk(entries);
        kadrix::SourceList list;
        kadrix::ScanTally tally(list);
        kadrix::scanEntries(walk, Bitmaps, tally, quiet);
        benchmark::DoNotOptimize(tally.largestRow());
    }
    state.SetItemsProcessed(state.iterations() * files);
}

void walkOnly(benchmark::State& state) {
    const QString folder = folderOf(int(state.range(0)));
    for (auto _ : state) {
        kadrix::FolderWalk walk(folder);
        int n = 0;
        while (walk.next())
            ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(walkOnly)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(scanFolderThroughWindow)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(scanRulesOnly)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    kadrix::PictureTypes pictureTypes;
    kadrix::Application app(argc, argv);
    const QString startedIn = QDir::currentPath(); // each scan moves into its folder
    std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    kadrix::Forms forms;
    theForms = &forms;
    theFolders = &folders;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir::setCurrent(startedIn);
    return 0;
}
