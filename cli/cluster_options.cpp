#include "cluster_options.h"

namespace kadrix::cli {

void ClusterOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions(
        {filesFrom_, null_, shard_, shardCount_, json_, placements_, recursive_, memory_});
}

QString ClusterOptions::read(const QCommandLineParser& parser, BatchOptions& options) const {
    if (parser.isSet(filesFrom_)) {
        options.filesFrom = parser.value(filesFrom_);
        if (options.filesFrom.isEmpty())
            return QCoreApplication::translate(
                "kadrix-batch", "--files-from wants a file, or - for standard input");
    }
    options.nulSeparated = parser.isSet(null_);
    if (options.nulSeparated && options.filesFrom.isEmpty())
        return QCoreApplication::translate("kadrix-batch", "--null goes with --files-from");

    if (parser.isSet(shard_)) {
        const QString text = parser.value(shard_);
        if (text == QStringLiteral("auto")) {
            options.shard.kind = ShardRequest::Kind::FromEngine;
        } else if (const auto shard = parseShard(text)) {
            options.shard.kind = ShardRequest::Kind::Fixed;
            options.shard.fixed = *shard;
        } else {
            return QCoreApplication::translate(
                       "kadrix-batch", "--shard wants K/N with K from 0 to N-1, or auto: \"%1\"")
                .arg(text);
        }
    }
    if (parser.isSet(shardCount_)) {
        if (options.shard.kind != ShardRequest::Kind::FromEngine)
            return QCoreApplication::translate("kadrix-batch",
                                               "--shard-count goes with --shard auto");
        const auto count = parseShard(QStringLiteral("0/") + parser.value(shardCount_));
        if (!count)
            return QCoreApplication::translate("kadrix-batch",
                                               "--shard-count wants a count from 1: \"%1\"")
                .arg(parser.value(shardCount_));
        options.shard.shardCount = count->count;
    }

    options.json = parser.isSet(json_);
    if (options.json && options.dryRun)
        return QCoreApplication::translate("kadrix-batch",
                                           "--json and --dry-run do not go together");
    if (parser.isSet(placements_)) {
        options.placements = parser.value(placements_);
        if (options.placements.isEmpty())
            return QCoreApplication::translate(
                "kadrix-batch", "--placements wants a file, or - for standard input");
    }
    options.recursive = parser.isSet(recursive_);
    if (parser.isSet(memory_)) {
        const std::optional<qint64> bytes = parseByteSize(parser.value(memory_));
        if (!bytes)
            return QCoreApplication::translate("kadrix-batch",
                                               "--memory wants a size such as 512M or 4G: \"%1\"")
                .arg(parser.value(memory_));
        options.memory = *bytes;
    }
    // Standard input is read once: as one picture, the list or the placements.
    if (options.inputs.count(QStringLiteral("-")) + (options.filesFrom == u"-" ? 1 : 0) +
            (options.placements == u"-" ? 1 : 0) >
        1)
        return QCoreApplication::translate("kadrix-batch",
                                           "standard input (-) can be read only once");
    return {};
}

} // namespace kadrix::cli
