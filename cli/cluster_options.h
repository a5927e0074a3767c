#pragma once

#include "batch_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

namespace kadrix::cli {

// The options for running kadrix-batch as one task of many: lists of
// sources, shards, JSON lines, placements and sub-folders.
class ClusterOptions {
public:
    void addTo(QCommandLineParser& parser) const;
    // Fills the fields these options set; returns the usage error, "" when none.
    QString read(const QCommandLineParser& parser, BatchOptions& options) const;

private:
    QCommandLineOption filesFrom_{
        QStringLiteral("files-from"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Reads more sources from FILE (\"-\": standard input), one path a line, "
            "after the argument sources."),
        QStringLiteral("FILE")};
    QCommandLineOption null_{QStringLiteral("null"),
                             QCoreApplication::translate(
                                 "kadrix-batch", "The --files-from list separates paths by NUL, as "
                                                 "find -print0 writes them.")};
    QCommandLineOption shard_{
        QStringLiteral("shard"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Frames only share K of N (K from 0): the sources whose position in the "
            "whole list leaves K divided by N, numbered as in the whole run. auto "
            "takes K and N from a Slurm, Kubernetes or AWS Batch array task."),
        QStringLiteral("K/N|auto")};
    QCommandLineOption shardCount_{
        QStringLiteral("shard-count"),
        QCoreApplication::translate(
            "kadrix-batch",
            "With --shard auto: the count of tasks (a Kubernetes Job's completions; "
            "else read from KADRIX_SHARD_COUNT)."),
        QStringLiteral("N")};
    QCommandLineOption json_{QStringLiteral("json"),
                             QCoreApplication::translate(
                                 "kadrix-batch",
                                 "Writes one JSON object a line per source on standard output, the "
                                 "summary on standard error.")};
    QCommandLineOption placements_{
        QStringLiteral("placements"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Frames the sources FILE (\"-\": standard input) names where it says: JSON lines "
            "with \"source\" (as the run names it) or \"source_base64\", and \"x\", \"y\", "
            "the result's top-left corner in the upright picture, as --json writes them. "
            "Others are placed by --gravity."),
        QStringLiteral("FILE")};
    QCommandLineOption memory_{
        QStringLiteral("memory"),
        QCoreApplication::translate(
            "kadrix-batch",
            "What the pictures in hand may hold together, in bytes or with K, M, G or T "
            "(default: half of the smallest of the physical memory, the control group's "
            "limit and the process's RLIMIT_AS and RLIMIT_DATA)."),
        QStringLiteral("SIZE")};
    QCommandLineOption recursive_{
        QStringLiteral("recursive"),
        QCoreApplication::translate(
            "kadrix-batch", "Takes the sub-folders of folders too (never \"cropped\" folders), "
                            "mirroring them under --out; an --out the walk would enter is "
                            "refused.")};
};

} // namespace kadrix::cli
