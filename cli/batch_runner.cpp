#include "batch_runner.h"

#include "batch_plan.h"
#include "errors.h"
#include "framing.h"
#include "heif_picture.h"
#include "jpeg_image.h"
#include "json_lines.h"
#include "naming.h"
#include "picture_registry.h"
#include "qt_picture.h"
#include "result_claims.h"
#include "result_writer.h"
#include "source_list_file.h"
#include "stale_temporaries.h"

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

// What became of one source.
struct RowResult {
    SourceStatus status = SourceStatus::Framed;
    QString error; // why it was skipped or failed
    int width = -1;
    int height = -1;
};

// An error's text, with libjpeg's own wording after a codec error's number.
QString problemText(const Error& e) {
    if (const auto* codec = dynamic_cast<const EJPEG*>(&e))
        return codec->detailedMessage();
    return e.message();
}

// Frames one source with the worker's framer. The decision about an
// existing result comes before anything is decoded, so that a re-run skips
// finished files at once.
RowResult frameRow(const BatchOptions& options, const SourceFile& file, const QString& target,
                   SourceFramer& framer, Reporter& reporter) {
    const QString source = file.path();
    RowResult result;
    const auto failed = [&](const QString& why) {
        reporter.problem(Program + QStringLiteral(": ") + source + QStringLiteral(": ") + why);
        result.status = SourceStatus::Failed;
        result.error = why;
        return result;
    };
    const auto skipped = [&](const QString& why, const QString& path) {
        reporter.problem(Program + QStringLiteral(": skipped, ") + why + QStringLiteral(": ") +
                         path);
        result.status = SourceStatus::Skipped;
        result.error = why;
        return result;
    };
    try {
        switch (decideSave(target, [&] { return options.overwrite; })) {
        case SaveDecision::KeepExisting:
            return skipped(QStringLiteral("the result exists"), target);
        case SaveDecision::CannotReplace:
            return failed(QStringLiteral("cannot replace ") + target);
        case SaveDecision::Write:
            break;
        }
        if (!QDir().mkpath(folderPart(target)))
            return failed(QStringLiteral("cannot create the folder ") + folderPart(target));

        const bool framed = framer.frame(source, options.wipe, options.decode);
        if (const Picture* picture = framer.source()) {
            result.width = picture->width();
            result.height = picture->height();
        }
        if (!framed)
            return skipped(QStringLiteral("empty picture"), source);
        const SaveOutcome saved = saveResult(framer.canvas(), target, framer.source());
        if (!saved)
            return failed(QStringLiteral("cannot write ") + target + QStringLiteral(": ") +
                          saved.error);
        return result;
    } catch (const Error& e) {
        return failed(problemText(e));
    } catch (const std::bad_alloc&) {
        return failed(QStringLiteral("not enough memory"));
    }
}

// A later source naming the result of an earlier one.
RowResult duplicateRow(const SourceFile& file, const SourceFile& first, const QString& target,
                       Reporter& reporter) {
    reporter.problem(Program + QStringLiteral(": skipped, ") + file.path() +
                     QStringLiteral(": its result ") + target + QStringLiteral(" is written for ") +
                     first.path());
    return {SourceStatus::Skipped, QStringLiteral("the result is written for ") + first.path()};
}

void count(RunTotals& totals, SourceStatus status) {
    switch (status) {
    case SourceStatus::Framed:
        ++totals.framed;
        break;
    case SourceStatus::Skipped:
        ++totals.skipped;
        break;
    case SourceStatus::Failed:
        ++totals.failed;
        break;
    }
}

// The result path of every position, which position writes each, and the
// positions of this run's shard.
struct Share {
    std::vector<QString> targets;
    std::vector<qsizetype> claims;
    std::vector<qsizetype> positions;

    Share(const BatchOptions& options, const std::vector<SourceFile>& sources, const Shard& shard) {
        targets.reserve(sources.size());
        for (std::size_t row = 0; row < sources.size(); ++row)
            targets.push_back(resultPathOf(options, sources[row], int(row)));
        claims = firstClaims(targets);
        for (std::size_t row = std::size_t(shard.index); row < sources.size();
             row += std::size_t(shard.count))
            positions.push_back(qsizetype(row));
    }
    bool writes(qsizetype position) const { return claims[std::size_t(position)] == position; }
};

// Removes the named temporaries that an interrupted run of this shard left
// beside its results (see stale_temporaries.h).
void removeTemporariesOf(const Share& share, Reporter& reporter) {
    std::vector<QString> mine;
    for (const qsizetype position : share.positions)
        if (share.writes(position))
            mine.push_back(share.targets[std::size_t(position)]);
    for (const QString& path : removeStaleTemporaries(mine))
        reporter.problem(Program +
                         QStringLiteral(": removed the temporary file of an interrupted run: ") +
                         path);
}

RunTotals sum(const std::vector<RunTotals>& totals) {
    RunTotals all;
    for (const RunTotals& t : totals) {
        all.framed += t.framed;
        all.skipped += t.skipped;
        all.failed += t.failed;
    }
    return all;
}

} // namespace

RunTotals runBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                   Reporter& reporter, const Shard& shard) {
    const Share share(options, sources, shard);
    removeTemporariesOf(share, reporter);
    const qsizetype rows = qsizetype(share.positions.size());
    std::atomic<qsizetype> next{0};
    std::vector<RunTotals> totals(std::size_t(
        std::clamp(qsizetype(options.jobs), qsizetype(1), std::max(rows, qsizetype(1)))));
    const auto work = [&](RunTotals& mine) {
        std::optional<SourceFramer> framer;
        for (qsizetype i = next++; i < rows; i = next++) {
            const qsizetype position = share.positions[std::size_t(i)];
            const SourceFile& file = sources[std::size_t(position)];
            const QString& target = share.targets[std::size_t(position)];
            QElapsedTimer clock;
            clock.start();
            RowResult result;
            if (!share.writes(position)) {
                result =
                    duplicateRow(file, sources[std::size_t(share.claims[std::size_t(position)])],
                                 target, reporter);
            } else {
                try {
                    if (!framer)
                        framer.emplace(options.size.width(), options.size.height());
                    result = frameRow(options, file, target, *framer, reporter);
                } catch (const Error& e) { // no canvas of that size: every source fails
                    reporter.problem(Program + QStringLiteral(": ") + file.path() +
                                     QStringLiteral(": ") + e.message());
                    result = {SourceStatus::Failed, e.message()};
                }
            }
            count(mine, result.status);
            if (options.json)
                reporter.record(jsonLine({file.path(),
                                          {},
                                          target,
                                          result.status,
                                          result.error,
                                          result.width,
                                          result.height,
                                          clock.elapsed()}));
            reporter.advance();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t i = 1; i < totals.size(); ++i)
            helpers.emplace_back(work, std::ref(totals[i]));
        work(totals[0]);
    } // the helpers are joined here
    return sum(totals);
}

RunTotals planBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                    Reporter& reporter, const Shard& shard) {
    const Share share(options, sources, shard);
    RunTotals totals;
    PictureLoader loader;
    for (const qsizetype position : share.positions) {
        const SourceFile& file = sources[std::size_t(position)];
        const QString source = file.path();
        const QString& target = share.targets[std::size_t(position)];
        if (!share.writes(position)) {
            duplicateRow(file, sources[std::size_t(share.claims[std::size_t(position)])], target,
                         reporter);
            ++totals.skipped;
        } else {
            try {
                loader.loadFromFile(source);
                reporter.line(planLine(source, loader.width(), loader.height(), options.size,
                                       target, QFileInfo::exists(target)));
                ++totals.framed;
            } catch (const Error& e) {
                reporter.problem(Program + QStringLiteral(": ") + source + QStringLiteral(": ") +
                                 problemText(e));
                ++totals.failed;
            }
        }
        reporter.advance();
    }
    return totals;
}

namespace {

// A source that names no file to frame.
struct Unreadable {
    QString shown;
    QByteArray bytes; // the exact name when it is not valid UTF-8
    QString why;
};

// The sources of the arguments, then those of the --files-from list, and
// what of them cannot be read. False when the list itself cannot be read.
bool gatherSources(const BatchOptions& options, CollectedSources& collected,
                   std::vector<Unreadable>& unreadable, Reporter& reporter) {
    QStringList inputs = options.inputs;
    std::vector<Unreadable> badNames;
    if (!options.filesFrom.isEmpty()) {
        const auto list = readSourceListFile(options.filesFrom);
        if (!list) {
            reporter.problem(Program + QStringLiteral(": cannot read the list ") +
                             options.filesFrom);
            return false;
        }
        for (const ListedSource& entry : splitSourceList(*list, options.nulSeparated)) {
            if (entry.validUtf8)
                inputs << entry.path;
            else
                badNames.push_back({entry.path, entry.raw,
                                    QStringLiteral("the name is not valid UTF-8, which Qt "
                                                   "cannot open")});
        }
    }
    FolderWalk walk;
    walk.recursive = options.recursive;
    if (!options.outDir.isEmpty())
        walk.excluded = QDir::cleanPath(QFileInfo(options.outDir).absoluteFilePath());
    collected = collectSources(inputs, pictureNameRule(pictureRegistry()), walk);
    for (const QString& missing : collected.missing)
        unreadable.push_back({missing, {}, QStringLiteral("no such file or folder")});
    unreadable.insert(unreadable.end(), badNames.begin(), badNames.end());
    return true;
}

} // namespace

int runCommandLine(const QStringList& arguments, int cores) {
    Reporter reporter(stdout, stderr, isatty(fileno(stderr)) != 0);
    const ParsedArguments parsed = parseArguments(arguments, cores);
    const auto usageError = [&](const QString& text) {
        reporter.problem(Program + QStringLiteral(": ") + text);
        reporter.problem(QStringLiteral("Try '%1 --help' for more information.").arg(Program));
        return 2;
    };
    if (!parsed.helpText.isEmpty()) {
        reporter.line(parsed.helpText.trimmed());
        return 0;
    }
    if (!parsed.options)
        return usageError(parsed.usageError);
    const BatchOptions& options = *parsed.options;
    const ShardChoice chosen = chooseShard(options.shard, QProcessEnvironment::systemEnvironment());
    if (!chosen.shard)
        return usageError(chosen.error);
    const Shard shard = *chosen.shard;

    // Fixed before any worker starts; the workers only read them. The same
    // order as the window's, so that the filter text is the same.
    registerHeifPicture([] { return JpegDefaults.AutoOrient; });
    registerPlatformPictures();
    registerJpegPicture();
    JpegDefaults = options.jpeg;

    CollectedSources collected;
    std::vector<Unreadable> unreadable;
    if (!gatherSources(options, collected, unreadable, reporter))
        return 2;
    // Each shard reports its share of the unreadable sources, so that the
    // shards together report each once.
    int failedToRead = 0;
    for (std::size_t i = 0; i < unreadable.size(); ++i) {
        if (!shard.owns(qsizetype(i)))
            continue;
        const Unreadable& u = unreadable[i];
        reporter.problem(Program + QStringLiteral(": ") + u.shown + QStringLiteral(": ") + u.why);
        if (options.json)
            reporter.record(jsonLine({u.shown, u.bytes, {}, SourceStatus::Failed, u.why}));
        ++failedToRead;
    }

    const qsizetype listed = qsizetype(collected.files.size());
    const int sources = int(listed / shard.count + (listed % shard.count > shard.index ? 1 : 0));
    QElapsedTimer clock;
    clock.start();
    reporter.setTotal(sources);
    RunTotals totals = options.dryRun ? planBatch(options, collected.files, reporter, shard)
                                      : runBatch(options, collected.files, reporter, shard);
    reporter.finish();
    totals.failed += failedToRead;

    const qint64 ms = clock.elapsed();
    const QString summary =
        QStringLiteral("%1 %2, %3 skipped, %4 failed (%5 sources, %6 ms, %7 ms per source, %8 "
                       "jobs%9)")
            .arg(totals.framed)
            .arg(options.dryRun ? QStringLiteral("planned") : QStringLiteral("framed"))
            .arg(totals.skipped)
            .arg(totals.failed)
            .arg(sources)
            .arg(ms)
            .arg(sources > 0 ? double(ms) / sources : 0.0, 0, 'f', 1)
            .arg(options.dryRun ? 1 : options.jobs)
            .arg(shard.count > 1 ? QStringLiteral(", shard %1/%2").arg(shard.index).arg(shard.count)
                                 : QString());
    if (options.json) // standard output holds only the JSON lines
        reporter.problem(summary);
    else
        reporter.line(summary);
    return totals.failed > 0 ? 1 : 0;
}

} // namespace kadrix::cli
