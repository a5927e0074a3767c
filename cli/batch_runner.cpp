#include "batch_runner.h"

#include "atomic_file.h"
#include "batch_plan.h"
#include "errors.h"
#include "format_list.h"
#include "framed_save.h"
#include "framing.h"
#include "heif_picture.h"
#include "jpeg_image.h"
#include "json_lines.h"
#include "memory_budget.h"
#include "naming.h"
#include "native_name.h"
#include "native_path.h"
#include "picture_registry.h"
#include "placements_file.h"
#include "qt_picture.h"
#include "result_claims.h"
#include "result_writer.h"
#include "source_list_file.h"
#include "stale_temporaries.h"
#include "standard_streams.h"
#include "stop_signals.h"
#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <new>
#include <optional>
#include <thread>

#include <unistd.h>

namespace kadrix::cli {
namespace {

const QString Program = QStringLiteral("kadrix-batch");

// One of kadrix-batch's own texts: written in English, shown translated
// (French under a French locale), English in the JSON lines.
Text own(const char* source, QStringList args = {}) {
    return Text("kadrix-batch", source, std::move(args));
}

// Every picture type, in the window's order, so that the filter text (and
// with it the folder scan) is the same.
void registerPictureTypes() {
    registerHeifPicture([] { return JpegDefaults.AutoOrient; });
    registerPlatformPictures();
    registerJpegPicture();
}

// What became of one source.
struct RowResult {
    SourceStatus status = SourceStatus::Framed;
    Text error; // why it was skipped or failed
    int width = -1;
    int height = -1;
    std::optional<FrameGeometry> frame = std::nullopt; // of a framed source
    int stopError = 0; // the destination's fault that every later write would meet alike
    std::optional<bool> clamped = std::nullopt; // placed by hand: moved within reach
};

// Whether a write's system error stops the run: the destination, not the
// picture, is at fault, so every later write would fail alike.
bool stopsTheRun(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
    case EROFS:
    case EACCES:
    case ENOENT: // the destination folder went away
    case ENAMETOOLONG:
        return true;
    default:
        return false;
    }
}

// What stopped the run, for its messages.
Text stopCause(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return own(QT_TRANSLATE_NOOP("kadrix-batch", "the destination is full"));
    case EFBIG:
        return own(QT_TRANSLATE_NOOP("kadrix-batch", "the file size limit is reached"));
    case ENOENT:
        return own(QT_TRANSLATE_NOOP("kadrix-batch", "the destination folder is gone"));
    default:
        return own(QT_TRANSLATE_NOOP("kadrix-batch", "the destination cannot be written: %1"),
                   {qt_error_string(error)});
    }
}

// The fault of the destination that writing `target` would meet, seen before
// its picture is read: its folder gone (ENOENT), read-only (EROFS), closed to
// this user (EACCES), or a name too long for it (ENAMETOOLONG). 0 when none
// shows.
int destinationFault(const QString& target) {
    const QString folder = folderPart(target);
    const QByteArray native = nativeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (::access(native.constData(), W_OK | X_OK) != 0)
        return errno;
    const long longest = ::pathconf(native.constData(), _PC_NAME_MAX);
    if (longest > 0 && nativeName(target.mid(folder.size())).size() > longest)
        return ENAMETOOLONG;
    return 0;
}

// The result folders that could not be made, each with the system's reason.
using FolderFaults = QHash<QString, int>;

// An error's text, with libjpeg's own wording after a codec error's number.
Text problemText(const Error& e) {
    if (const auto* codec = dynamic_cast<const EJPEG*>(&e))
        return Text::untranslated(codec->detailedMessage());
    return e.text();
}

// Frames one source with the worker's framer, into `target` or, when given,
// into the open file `into`. The decision about an existing result comes
// before anything is decoded, so that a re-run skips finished files at once.
RowResult frameRow(const BatchOptions& options, const SourceFile& file, const QString& target,
                   DescriptorDevice* into, const FolderFaults& unmade, SourceFramer& framer,
                   Reporter& reporter, MemoryBudget& budget, qint64& held) {
    const QString source = file.path();
    const QString shown = file.shown();
    RowResult result;
    const auto failed = [&](const Text& why) {
        reporter.problem(Program + QStringLiteral(": ") + shown + QStringLiteral(": ") +
                         why.translated());
        result.status = SourceStatus::Failed;
        result.error = why;
        return result;
    };
    // A failure with the system's error: one of the destination, which every
    // later write would meet alike, stops the run.
    const auto failedWith = [&](int error, const Text& why) {
        if (stopsTheRun(error))
            result.stopError = error;
        return failed(why);
    };
    const auto skipped = [&](const Text& why, const QString& path) {
        reporter.notice(own(QT_TRANSLATE_NOOP("kadrix-batch", "%1: skipped, %2: %3"),
                            {Program, why.translated(), path})
                            .translated());
        result.status = SourceStatus::Skipped;
        result.error = why;
        return result;
    };
    try {
        // An open file is written into as a stream is: nothing to ask, name or replace.
        const SaveDecision decision = into != nullptr
                                          ? SaveDecision::Stream
                                          : decideSave(target, [&] { return options.overwrite; });
        switch (decision) {
        case SaveDecision::KeepExisting:
            return skipped(own(QT_TRANSLATE_NOOP("kadrix-batch", "the result exists")), target);
        case SaveDecision::CannotReplace:
            return failed(own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot replace %1"), {target}));
        case SaveDecision::Write:
        case SaveDecision::Replace:
        case SaveDecision::Stream:
            break;
        }
        if (const int error = unmade.value(folderPart(target)); error != 0)
            return failedWith(
                error, own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot create the folder %1: %2"),
                           {folderPart(target), qt_error_string(error)}));
        // A destination gone, read-only or closed, or a name too long for it,
        // is seen before the picture is read.
        if (const int error = decision == SaveDecision::Stream ? 0 : destinationFault(target);
            error != 0)
            return failedWith(error, own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot write %1: %2"),
                                         {target, qt_error_string(error)}));

        // The decoded picture waits for room in the run's memory; the
        // worker's previous picture goes first.
        FramedSave how{
            options.wipe,    options.decode, options.framing, {}, decision == SaveDecision::Replace,
            options.encoding};
        how.topLeft = file.placement;
        how.into = into;
        how.beforeDecode = [&](const Picture& picture, const FrameGeometry& frame) {
            const qint64 need = framedSaveBytes(picture, frame, target, how);
            if (!budget.exchange(held, need))
                throw Error(own(
                    QT_TRANSLATE_NOOP("kadrix-batch", "not enough memory: the picture needs %1 MB, "
                                                      "more than the %2 MB a run may hold"),
                    {QString::number((need >> 20) + 1), QString::number(budget.total() >> 20)}));
        };
        bool framed = false;
        const SaveOutcome saved = frameAndSave(framer, file.picture(), target, how, framed);
        if (const Picture* picture = framer.source()) {
            result.width = picture->width();
            result.height = picture->height();
        }
        if (framed && file.placement)
            result.clamped = framer.geometry().topLeft != *file.placement;
        if (!framed)
            return skipped(own(QT_TRANSLATE_NOOP("kadrix-batch", "empty picture")), shown);
        result.frame = framer.geometry();
        if (!saved)
            return failedWith(saved.systemError,
                              own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot write %1: %2"),
                                  {target, saved.error}));
        reporter.detail(
            QStringLiteral("%1 -> %2 (%3x%4)")
                .arg(shown, target, QString::number(result.width), QString::number(result.height)));
        return result;
    } catch (const Error& e) {
        return failed(problemText(e));
    } catch (const std::bad_alloc&) {
        return failed(own(QT_TRANSLATE_NOOP("kadrix-batch", "not enough memory")));
    }
}

// A later source naming the result of an earlier one.
RowResult duplicateRow(const SourceFile& file, const SourceFile& first, const QString& target,
                       Reporter& reporter) {
    reporter.notice(
        own(QT_TRANSLATE_NOOP("kadrix-batch", "%1: skipped, %2: its result %3 is written for %4"),
            {Program, file.shown(), target, first.shown()})
            .translated());
    return {
        SourceStatus::Skipped,
        own(QT_TRANSLATE_NOOP("kadrix-batch", "the result is written for %1"), {first.shown()})};
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
        claims = firstClaims(targets, folderIgnoresLetterCase);
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
        reporter.notice(Program +
                        QStringLiteral(": removed the temporary file of an interrupted run: ") +
                        path);
}

RunTotals sum(const std::vector<RunTotals>& totals) {
    RunTotals all;
    all.jobs = int(totals.size());
    for (const RunTotals& t : totals) {
        all.framed += t.framed;
        all.skipped += t.skipped;
        all.failed += t.failed;
    }
    return all;
}

// Makes each folder the shard writes results into, once: a folder that goes
// away during the run is not made again, so that no run's results end up
// split between two folders. Returns the folders that could not be made.
FolderFaults makeResultFolders(const Share& share) {
    QSet<QString> made;
    FolderFaults unmade;
    for (const qsizetype position : share.positions) {
        const QString folder = folderPart(share.targets[std::size_t(position)]);
        if (!share.writes(position) || made.contains(folder) || unmade.contains(folder))
            continue;
        if (makeFolders(folder))
            made.insert(folder);
        else
            unmade.insert(folder, errno != 0 ? errno : EIO);
    }
    return unmade;
}

} // namespace

RunTotals runBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                   Reporter& reporter, const Shard& shard, DescriptorDevice* into) {
    const Share share(options, sources, shard);
    // A result written into an open file has no folder, nor temporaries.
    FolderFaults unmade;
    if (into == nullptr) {
        removeTemporariesOf(share, reporter);
        unmade = makeResultFolders(share);
    }
    const qsizetype rows = qsizetype(share.positions.size());
    std::atomic<qsizetype> next{0};
    // Once the destination fails no new picture is started: each would fail alike.
    std::atomic<int> stopError{0};
    std::vector<char> handled(std::size_t(rows), 0); // each element written by one worker
    MemoryBudget budget(options.memory > 0 ? options.memory : defaultMemoryBudget());
    std::vector<RunTotals> totals(std::size_t(
        std::clamp(qsizetype(options.jobs), qsizetype(1), std::max(rows, qsizetype(1)))));
    const auto work = [&](RunTotals& mine) {
        std::optional<SourceFramer> framer;
        qint64 held = 0; // of the run's memory budget
        for (;;) {
            if (stopSignal() != 0 || stopError != 0)
                break;
            const qsizetype i = next++;
            if (i >= rows)
                break;
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
                        framer.emplace(options.resultSize());
                    result = frameRow(options, file, target, into, unmade, *framer, reporter,
                                      budget, held);
                } catch (const Error& e) { // no canvas of that size: every source fails
                    reporter.problem(Program + QStringLiteral(": ") + file.shown() +
                                     QStringLiteral(": ") + e.message());
                    result = {SourceStatus::Failed, e.text()};
                }
            }
            if (result.stopError != 0) {
                int none = 0;
                stopError.compare_exchange_strong(none, result.stopError);
            }
            handled[std::size_t(i)] = 1;
            count(mine, result.status);
            if (options.json)
                reporter.record(jsonLine({file.shown(),
                                          {},
                                          target,
                                          result.status,
                                          inEnglish(result.error),
                                          result.width,
                                          result.height,
                                          clock.elapsed(),
                                          options.framing,
                                          result.frame,
                                          result.clamped}));
            reporter.advance();
        }
        budget.release(held);
    };
    {
        std::vector<std::jthread> helpers;
        for (std::size_t i = 1; i < totals.size(); ++i)
            helpers.emplace_back(work, std::ref(totals[i]));
        work(totals[0]);
    } // the helpers are joined here
    RunTotals all = sum(totals);
    const Text cause = stopCause(stopError);
    const QString notStarted =
        own(QT_TRANSLATE_NOOP("kadrix-batch", "not started: %1"), {inEnglish(cause)}).in(nullptr);
    for (qsizetype i = 0; stopError != 0 && i < rows; ++i) {
        if (handled[std::size_t(i)])
            continue;
        const qsizetype position = share.positions[std::size_t(i)];
        if (options.json)
            reporter.record(jsonLine({sources[std::size_t(position)].shown(),
                                      {},
                                      share.targets[std::size_t(position)],
                                      SourceStatus::Failed,
                                      notStarted,
                                      -1,
                                      -1,
                                      0,
                                      options.framing}));
        ++all.notFramed;
    }
    if (all.notFramed > 0) {
        all.failed += all.notFramed;
        reporter.problem(
            Program + QStringLiteral(": ") +
            (all.notFramed == 1
                 ? own(QT_TRANSLATE_NOOP("kadrix-batch", "stopped, %1: 1 picture not framed"),
                       {cause.translated()})
                 : own(QT_TRANSLATE_NOOP("kadrix-batch", "stopped, %1: %2 pictures not framed"),
                       {cause.translated(), QString::number(all.notFramed)}))
                .translated());
    } else {
        all.notStarted = int(rows - std::min(next.load(), rows));
    }
    return all;
}

RunTotals planBatch(const BatchOptions& options, const std::vector<SourceFile>& sources,
                    Reporter& reporter, const Shard& shard) {
    const Share share(options, sources, shard);
    RunTotals totals;
    PictureLoader loader;
    for (const qsizetype position : share.positions) {
        if (stopSignal() != 0) {
            ++totals.notStarted;
            continue;
        }
        const SourceFile& file = sources[std::size_t(position)];
        const QString source = file.path();
        const QString& target = share.targets[std::size_t(position)];
        if (!share.writes(position)) {
            duplicateRow(file, sources[std::size_t(share.claims[std::size_t(position)])], target,
                         reporter);
            ++totals.skipped;
        } else {
            try {
                loader.loadFromFile(file.picture());
                const FrameGeometry frame = frameGeometryOf(*loader.picture(), options.resultSize(),
                                                            options.framing, file.placement);
                reporter.line(planLine(file.shown(), loader.width(), loader.height(), frame, target,
                                       target != u"-" && pathKind(target) != PathKind::None,
                                       options.resultSize().isRatio(), file.placement));
                ++totals.framed;
            } catch (const Error& e) {
                reporter.problem(Program + QStringLiteral(": ") + file.shown() +
                                 QStringLiteral(": ") + problemText(e).translated());
                ++totals.failed;
            }
        }
        reporter.advance();
    }
    return totals;
}

namespace {

// Qt's own messages (a reader's warnings, libpng's among them) go through
// the run's reporter: prefixed with the program's name, quiet under -q.
Reporter* qtMessageReporter = nullptr;

void reportQtMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (qtMessageReporter == nullptr)
        return;
    const QString line = Program + QStringLiteral(": ") + text;
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qtMessageReporter->problem(line);
    else if (type == QtDebugMsg)
        qtMessageReporter->detail(line);
    else
        qtMessageReporter->notice(line);
}

// Routes Qt's messages to a reporter while it lives.
class QtMessageRoute {
public:
    explicit QtMessageRoute(Reporter& reporter) {
        qtMessageReporter = &reporter;
        previous_ = qInstallMessageHandler(reportQtMessage);
    }
    ~QtMessageRoute() {
        qInstallMessageHandler(previous_);
        qtMessageReporter = nullptr;
    }
    QtMessageRoute(const QtMessageRoute&) = delete;
    QtMessageRoute& operator=(const QtMessageRoute&) = delete;

private:
    QtMessageHandler previous_ = nullptr;
};

// Why the results written into --out would be sources of the next run of
// `input` (and of later shards): --out is that source folder, or a folder
// its --recursive walk enters. "" when they would not.
QString outAmongSources(const QString& input, const BatchOptions& options) {
    if (options.outDir.isEmpty())
        return {};
    switch (placeOfFolder(options.outDir, input)) {
    case FolderPlace::Same:
        return QCoreApplication::translate("kadrix-batch",
                                           "--out is the source folder %1: its results would "
                                           "become sources of the next run")
            .arg(input);
    case FolderPlace::Inside:
        if (options.recursive)
            return QCoreApplication::translate(
                       "kadrix-batch", "--out is inside the source folder %1, which --recursive "
                                       "walks: its results would become sources of the next run")
                .arg(input);
        return {};
    case FolderPlace::Apart:
        return {};
    }
    return {};
}

// A source that names no file to frame.
struct Unreadable {
    QString shown;
    QByteArray bytes; // the exact name when it is not valid UTF-8
    Text why;
};

// The sources of the arguments, then those of the --files-from list, and
// what of them cannot be read. False when the list itself cannot be read.
bool gatherSources(const BatchOptions& options, CollectedSources& collected,
                   std::vector<Unreadable>& unreadable, Reporter& reporter) {
    QStringList inputs = options.inputs;
    if (!options.filesFrom.isEmpty()) {
        QString why;
        const auto list = readSourceListFile(options.filesFrom, why);
        if (!list) {
            reporter.problem(own(QT_TRANSLATE_NOOP("kadrix-batch", "%1: cannot read the list %2"),
                                 {Program, options.filesFrom})
                                 .translated() +
                             QStringLiteral(": ") + why);
            return false;
        }
        // Names that are not UTF-8 keep their bytes (see native_name.h).
        for (const ListedSource& entry : splitSourceList(*list, options.nulSeparated)) {
            const QString input = nameFromNative(entry.raw);
            if (const QString error = outAmongSources(input, options); !error.isEmpty()) {
                reporter.problem(Program + QStringLiteral(": ") + error);
                return false;
            }
            inputs << input;
        }
    }
    FolderWalk walk;
    walk.recursive = options.recursive;
    if (!options.outDir.isEmpty())
        walk.excluded = absolutePath(options.outDir);
    collected = collectSources(inputs, pictureNameRule(pictureRegistry()), walk);
    if (!collected.excludedReached.isEmpty()) {
        reporter.problem(Program + QStringLiteral(": ") +
                         QCoreApplication::translate("kadrix-batch",
                                                     "--recursive walks into --out through %1: its "
                                                     "results would become sources of the next run")
                             .arg(collected.excludedReached));
        return false;
    }
    for (const QString& missing : collected.missing)
        unreadable.push_back(
            {missing, {}, own(QT_TRANSLATE_NOOP("kadrix-batch", "no such file or folder"))});
    return true;
}

// Gives the sources the placements of the --placements file. False, with
// the message said, when the file cannot be read, has a bad line or names a
// source the run does not have: nothing is framed then.
bool placeSources(const BatchOptions& options, std::vector<SourceFile>& sources,
                  Reporter& reporter) {
    QString why;
    const auto bytes = readSourceListFile(options.placements, why);
    if (!bytes) {
        reporter.problem(own(QT_TRANSLATE_NOOP("kadrix-batch", "%1: cannot read the placements %2"),
                             {Program, options.placements})
                             .translated() +
                         QStringLiteral(": ") + why);
        return false;
    }
    const PlacementsRead read = parsePlacements(*bytes, options.placements);
    QString error = read.error;
    if (error.isEmpty()) {
        for (const QString& warning : read.warnings)
            reporter.notice(Program + QStringLiteral(": ") + warning);
        error = assignPlacements(read.lines, sources, options.placements);
    }
    if (!error.isEmpty())
        reporter.problem(Program + QStringLiteral(": ") + error);
    return error.isEmpty();
}

} // namespace

int runCommandLine(const QStringList& arguments, int cores) {
    installTranslations();
    Reporter reporter(stdout, stderr, {});
    const QtMessageRoute qtMessages(reporter);
    const ParsedArguments parsed = parseArguments(arguments, cores);
    const auto usageError = [&](const QString& text) {
        reporter.problem(Program + QStringLiteral(": ") + text);
        reporter.problem(
            own(QT_TRANSLATE_NOOP("kadrix-batch", "Try '%1 --help' for more information."),
                {Program})
                .translated());
        return 2;
    };
    // Output that could not be written is an error, never a silent loss.
    const auto outputLost = [&](int status) {
        const int error = reporter.flushOutput();
        if (error == 0)
            return false;
        reporter.problem(
            own(QT_TRANSLATE_NOOP("kadrix-batch", "%1: cannot write to standard output: %2"),
                {Program, qt_error_string(error)})
                .translated());
        return status != 0;
    };
    if (!parsed.helpText.isEmpty() || !parsed.versionText.isEmpty()) {
        reporter.text(parsed.helpText.isEmpty() ? parsed.versionText : parsed.helpText.trimmed());
        return outputLost(2) ? 2 : 0;
    }
    if (parsed.listFormats) {
        registerPictureTypes();
        reporter.text(formatListText(pictureRegistry()));
        return outputLost(2) ? 2 : 0;
    }
    if (!parsed.options)
        return usageError(parsed.usageError);
    BatchOptions options = *parsed.options;
    const bool quiet = options.verbosity == Verbosity::Quiet;
    reporter.setMode({options.progress == ProgressMode::Always ||
                          (options.progress == ProgressMode::Auto && !quiet && !options.json &&
                           isatty(fileno(stderr)) != 0),
                      quiet, options.verbosity == Verbosity::Verbose});
    const ShardChoice chosen = chooseShard(options.shard, QProcessEnvironment::systemEnvironment());
    if (!chosen.shard)
        return usageError(chosen.error);
    const Shard shard = *chosen.shard;
    installStopSignals();
    // A write past the file size limit fails with EFBIG, reported as any
    // failed write, rather than ending the program; a closed pipe or socket
    // is an error to report, not an end.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);

    // Fixed before any worker starts; the workers only read them.
    registerPictureTypes();
    JpegDefaults = options.jpeg;

    std::vector<Unreadable> unreadable;
    const bool toStandardOutput = options.output == QStringLiteral("-");
    // A picture's bytes on a terminal are of no use and can upset it.
    if (toStandardOutput && !options.dryRun && !options.force && isatty(options.outputStream) != 0)
        return usageError(QCoreApplication::translate(
            "kadrix-batch", "the result would go to a terminal; use --force to write it there"));
    // A result for standard output passes through a file without a name, so
    // that nothing is left behind however the program ends; it is copied out
    // once whole.
    std::unique_ptr<QFile> resultFile;
    DescriptorDevice resultInto;
    if (toStandardOutput && !options.dryRun) {
        resultFile = namelessTemporaryFile();
        if (!resultFile) {
            reporter.problem(
                own(QT_TRANSLATE_NOOP("kadrix-batch", "%1: cannot keep the result in %2: %3"),
                    {Program, temporaryFolder(), QString::fromLocal8Bit(std::strerror(errno))})
                    .translated());
            return 1;
        }
        resultInto.attach(resultFile->handle());
    }
    const qsizetype standardInput = options.inputs.indexOf(QStringLiteral("-"));
    if (standardInput >= 0 && options.output.isEmpty() && options.outDir.isEmpty())
        return usageError(QCoreApplication::translate(
            "kadrix-batch", "a picture from standard input (-) wants --output or --out"));
    StandardInput standardInputFile;
    // Results written among the sources would be sources of every re-run and
    // of later shards.
    for (const QString& input : options.inputs)
        if (const QString error = outAmongSources(input, options); !error.isEmpty())
            return usageError(error);
    if (!toStandardOutput && QFileInfo(options.output).isDir())
        return usageError(
            QCoreApplication::translate("kadrix-batch", "--output names a file, not the folder %1")
                .arg(options.output));
    if (standardInput >= 0) {
        standardInputFile = saveStandardInput();
        if (standardInputFile.path.isEmpty()) {
            options.inputs.removeAt(standardInput);
            unreadable.push_back({QStringLiteral("-"), {}, standardInputFile.error});
        } else {
            options.inputs[standardInput] = standardInputFile.path;
        }
    }
    if (!options.output.isEmpty() && !options.inputs.isEmpty() &&
        QFileInfo(options.inputs.front()).isDir())
        return usageError(
            QCoreApplication::translate("kadrix-batch",
                                        "--output names the result of a single file, not of the "
                                        "folder %1")
                .arg(options.inputs.front()));
    // Named nowhere, the result takes the format of the extension chosen.
    if (toStandardOutput)
        options.encoding.format = resultFormatOf(QStringLiteral("result") +
                                                 extensionOfItem(options.scheme.extensionItem));

    CollectedSources collected;
    if (!gatherSources(options, collected, unreadable, reporter))
        return 2;
    // Standard input's result is named after "stdin".
    for (SourceFile& file : collected.files)
        if (!standardInputFile.path.isEmpty() && file.path() == standardInputFile.path) {
            file.keptAt = file.path();
            file.name = QStringLiteral("stdin.") + standardInputFile.extension;
            file.label = QStringLiteral("-");
        }
    if (!options.placements.isEmpty() && !placeSources(options, collected.files, reporter))
        return 2;
    // Each shard reports its share of the unreadable sources, so that the
    // shards together report each once.
    int failedToRead = 0;
    for (std::size_t i = 0; i < unreadable.size(); ++i) {
        if (!shard.owns(qsizetype(i)))
            continue;
        const Unreadable& u = unreadable[i];
        reporter.problem(Program + QStringLiteral(": ") + u.shown + QStringLiteral(": ") +
                         u.why.translated());
        if (options.json)
            reporter.record(jsonLine({u.shown,
                                      u.bytes,
                                      {},
                                      SourceStatus::Failed,
                                      inEnglish(u.why),
                                      -1,
                                      -1,
                                      0,
                                      options.framing}));
        ++failedToRead;
    }

    const qsizetype listed = qsizetype(collected.files.size());
    const int framable = int(listed / shard.count + (listed % shard.count > shard.index ? 1 : 0));
    QElapsedTimer clock;
    clock.start();
    reporter.setTotal(framable);
    RunTotals totals = options.dryRun ? planBatch(options, collected.files, reporter, shard)
                                      : runBatch(options, collected.files, reporter, shard,
                                                 resultFile ? &resultInto : nullptr);
    reporter.finish();
    totals.failed += failedToRead;

    // Every source counted once: those listed and those that could not be read.
    const int sources = framable + failedToRead;
    const int jobs = options.dryRun ? 1 : totals.jobs;
    const qint64 ms = clock.elapsed();
    const QStringList counts{
        QString::number(totals.framed),
        QString::number(totals.skipped),
        QString::number(totals.failed),
        (sources == 1
             ? own(QT_TRANSLATE_NOOP("kadrix-batch", "1 source"))
             : own(QT_TRANSLATE_NOOP("kadrix-batch", "%1 sources"), {QString::number(sources)}))
            .translated(),
        QString::number(ms),
        QString::number(sources > 0 ? double(ms) / sources : 0.0, 'f', 1),
        (jobs == 1 ? own(QT_TRANSLATE_NOOP("kadrix-batch", "1 job"))
                   : own(QT_TRANSLATE_NOOP("kadrix-batch", "%1 jobs"), {QString::number(jobs)}))
            .translated(),
        shard.count > 1 ? own(QT_TRANSLATE_NOOP("kadrix-batch", ", shard %1/%2"),
                              {QString::number(shard.index), QString::number(shard.count)})
                              .translated()
                        : QString()};
    QString summary =
        options.dryRun
            ? own(QT_TRANSLATE_NOOP("kadrix-batch", "%1 planned, %2 skipped, %3 failed (%4, "
                                                    "%5 ms, %6 ms per source, %7%8)"),
                  counts)
                  .translated()
            : own(QT_TRANSLATE_NOOP("kadrix-batch", "%1 framed, %2 skipped, %3 failed (%4, "
                                                    "%5 ms, %6 ms per source, %7%8)"),
                  counts)
                  .translated();
    const int signal = stopSignal();
    if (signal != 0)
        summary += own(QT_TRANSLATE_NOOP("kadrix-batch", "; stopped by %1, %2 not started"),
                       {signal == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM"),
                        QString::number(totals.notStarted)})
                       .translated();
    if (options.json || !options.output.isEmpty()) // standard output holds only data
        reporter.notice(summary);
    else if (!quiet)
        reporter.line(summary);
    // A result framed before a stop signal is still handed over.
    if (toStandardOutput && totals.framed == 1 && !options.dryRun) {
        if (const QString error = copyToStandardOutput(*resultFile, options.outputStream);
            !error.isEmpty()) {
            reporter.problem(
                own(QT_TRANSLATE_NOOP("kadrix-batch", "%1: cannot write to standard output: %2"),
                    {Program, error})
                    .translated());
            return signal != 0 ? stoppedStatus(signal) : 1;
        }
    }
    if (outputLost(1) && signal == 0)
        return 1;
    if (signal != 0)
        return stoppedStatus(signal);
    return totals.failed > 0 ? 1 : 0;
}

} // namespace kadrix::cli
