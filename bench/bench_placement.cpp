// Placing pictures by hand: reading a placements file of 10,000 lines and
// giving each source its placement (what --placements adds to a run).
#include "placements_file.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace kadrix::cli;

constexpr int Lines = 10000;

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
