#include "batch_runner.h"

#include "batch_plan.h"
#include "errors.h"
#include "framing.h"
#include "jpeg_image.h"
#include "naming.h"
#include "picture_registry.h"
#include "qt_picture.h"
#include "result_writer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <new>
#include <optional>
#include <thread>

#include <unistd.h>

namespace kadrix::cli {
namespace {

const QString Program = QStringLiteral("kadrix-batch");

enum class Outcome { Framed, Skipped, Failed };

// Frames one source with the worker's framer. The decision about an
// existing result comes before anything is decoded, so that a re-run skips
// finished files at once.
Outcome frameRow(const BatchOptions& options, const SourceFile& file, int row, SourceFramer& framer,
                 Reporter& reporter) {
    const QString source = file.path();
    const QString target = resultPathOf(options, file, row);
    const auto failed = [&](const QString& why) {
        reporter.problem(Program + QStringLiteral(": ") + source + QStringLiteral(": ") + why);
        return Outcome::Failed;
    };
    try {
        switch (decideSave(target, [&] { return options.overwrite; })) {
        case SaveDecision::KeepExisting:
            reporter.problem(Program + QStringLiteral(": skipped, the result exists: ") + target);
            return Outcome::Skipped;
        case SaveDecision::CannotReplace:
            return failed(QStringLiteral("cannot replace ") + target);
        case SaveDecision::Write:
            break;
        }
        if (!QDir().mkpath(folderPart(target)))
            return failed(QStringLiteral("cannot create the folder ") + folderPart(target));

        if (!framer.frame(source, options.wipe, options.decode)) {
            reporter.problem(Program + QStringLiteral(": skipped, empty picture: ") + source);
            return Outcome::Skipped;
        }
        const SaveOutcome saved = saveResult(framer.canvas(), target);
        if (!saved)
            return failed(QStringLiteral("cannot write ") + target + QStringLiteral(": ") +
                          saved.error);
        return Outcome::Framed;
    } catch (const Error& e) {
        return failed(e.message());
    } catch (const std::bad_alloc&) {
        return failed(QStringLiteral("not enough memory"));
    }
}

void count(RunTotals& totals, Outcome outcome) {
    switch (outcome) {
    case Outcome::Framed:
        ++totals.framed;
        break;
    case Outcome::Skipped:
        ++totals.skipped;
        break;
    case Outcome::Failed:
        ++totals.failed;
        break;
    }
}

} // namespace

RunTotals runBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                   Reporter& reporter) {
    const int rows = int(sources.size());
    std::atomic<int> next{0};
    std::vector<RunTotals> totals(std::size_t(std::clamp(options.jobs, 1, std::max(rows, 1))));
    const auto work = [&](RunTotals& mine) {
        std::optional<SourceFramer> framer;
        for (int row = next++; row < rows; row = next++) {
            const SourceFile& file = sources[std::size_t(row)];
            try {
                if (!framer)
                    framer.emplace(options.size.width(), options.size.height());
            } catch (const Error& e) { // no canvas of that size: every source fails
                reporter.problem(Program + QStringLiteral(": ") + file.path() +
                                 QStringLiteral(": ") + e.message());
                count(mine, Outcome::Failed);
                reporter.advance();
                continue;
            }
            count(mine, frameRow(options, file, row, *framer, reporter));
            reporter.advance();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t i = 1; i < totals.size(); ++i)
            helpers.emplace_back(work, std::ref(totals[i]));
        work(totals[0]);
    } // the helpers are joined here
    RunTotals sum;
    for (const RunTotals& t : totals) {
        sum.framed += t.framed;
        sum.skipped += t.skipped;
        sum.failed += t.failed;
    }
    return sum;
}

RunTotals planBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                    Reporter& reporter) {
    RunTotals totals;
    PictureLoader loader;
    for (std::size_t row = 0; row < sources.size(); ++row) {
        const QString source = sources[row].path();
        const QString target = resultPathOf(options, sources[row], int(row));
        try {
            loader.loadFromFile(source);
            reporter.line(planLine(source, loader.width(), loader.height(), options.size, target,
                                   QFileInfo::exists(target)));
            ++totals.framed;
        } catch (const Error& e) {
            reporter.problem(Program + QStringLiteral(": ") + source + QStringLiteral(": ") +
                             e.message());
            ++totals.failed;
        }
        reporter.advance();
    }
    return totals;
}

int runCommandLine(const QStringList& arguments, int cores) {
    Reporter reporter(stdout, stderr, isatty(fileno(stderr)) != 0);
    const ParsedArguments parsed = parseArguments(arguments, cores);
    if (!parsed.helpText.isEmpty()) {
        reporter.line(parsed.helpText.trimmed());
        return 0;
    }
    if (!parsed.options) {
        reporter.problem(Program + QStringLiteral(": ") + parsed.usageError);
        reporter.problem(QStringLiteral("Try '%1 --help' for more information.").arg(Program));
        return 2;
    }
    const BatchOptions& options = *parsed.options;

    // Fixed before any worker starts; the workers only read them.
    registerPlatformPictures();
    registerJpegPicture();
    JpegDefaults = options.jpeg;

    const CollectedSources collected =
        collectSources(options.inputs, combinedExtensionFilter(pictureRegistry().filterText()));
    for (const QString& missing : collected.missing)
        reporter.problem(Program + QStringLiteral(": ") + missing +
                         QStringLiteral(": no such file or folder"));

    QElapsedTimer clock;
    clock.start();
    reporter.setTotal(int(collected.files.size()));
    RunTotals totals = options.dryRun ? planBatch(options, collected.files, reporter)
                                      : runBatch(options, collected.files, reporter);
    reporter.finish();
    totals.failed += int(collected.missing.size());

    const qint64 ms = clock.elapsed();
    const int sources = int(collected.files.size());
    reporter.line(QStringLiteral("%1 %2, %3 skipped, %4 failed (%5 sources, %6 ms, %7 ms per "
                                 "source, %8 jobs)")
                      .arg(totals.framed)
                      .arg(options.dryRun ? QStringLiteral("planned") : QStringLiteral("framed"))
                      .arg(totals.skipped)
                      .arg(totals.failed)
                      .arg(sources)
                      .arg(ms)
                      .arg(sources > 0 ? double(ms) / sources : 0.0, 0, 'f', 1)
                      .arg(options.dryRun ? 1 : options.jobs));
    return totals.failed > 0 ? 1 : 0;
}

} // namespace kadrix::cli
