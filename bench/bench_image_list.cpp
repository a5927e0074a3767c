// The image list at 100 and 100,000 rows: setting the row count, painting a
// screen of rows, and "Tout Cocher" over every row.
#include "application.h"
#include "form_kadrix.h"
#include "image_list_view.h"
#include "program.h"

#include <QAction>
#include <QPixmap>

#include <benchmark/benchmark.h>

namespace {

kadrix::Forms* forms = nullptr; // made in main(), after the application object

kadrix::TFormKadrix& window() { return *forms->FormKadrix; }

kadrix::ImageListView& fill(int rows) {
    auto& w = window();
    auto& list = *w.findChild<kadrix::ImageListView*>(QStringLiteral("ListBox1"));
    auto& sources = w.sourceList();
    sources.clear();
    for (int i = 0; i < rows; ++i)
        sources.append(QStringLiteral("IMG_%1.JPG").arg(i, 6, 10, QLatin1Char('0')));
    return list;
}

void setRowCount(benchmark::State& state) {
    auto& list = fill(int(state.range(0)));
    for (auto _ : state)
        list.setCount(int(state.range(0)));
}

void paintScreen(benchmark::State& state) {
    auto& list = fill(int(state.range(0)));
    list.setCount(int(state.range(0)));
    window().show();
    for (auto _ : state) {
        QPixmap shot = list.viewport()->grab();
        benchmark::DoNotOptimize(shot);
    }
}

void checkAll(benchmark::State& state) {
    auto& list = fill(int(state.range(0)));
    list.setCount(int(state.range(0)));
    auto* action = window().findChild<QAction*>(QStringLiteral("ToutCocher1"));
    for (auto _ : state)
        action->trigger();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(setRowCount)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(paintScreen)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(checkAll)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    kadrix::PictureTypes pictureTypes;
    kadrix::Application app(argc, argv);
    kadrix::Forms theForms;
    forms = &theForms;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
