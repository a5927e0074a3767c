#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <optional>

namespace kadrix::cli {

// One share of the source list: the positions p with p mod count == index.
// Taking every count-th position (rather than one contiguous range) keeps a
// source's shard independent of the list's length, so a list that grows at
// its end leaves the earlier sources where they were, and spreads a folder
// of large pictures over every shard instead of loading one with it.
struct Shard {
    int index = 0;
    int count = 1;
    bool owns(qsizetype position) const { return position % count == index; }
    friend bool operator==(const Shard&, const Shard&) = default;
};

// What --shard and --shard-count asked for.
struct ShardRequest {
    enum class Kind { Whole, Fixed, FromEngine };
    Kind kind = Kind::Whole;
    Shard fixed;                   // with Fixed
    std::optional<int> shardCount; // --shard-count, with FromEngine
};

// "K/N" with N from 1 and K from 0 to N-1.
std::optional<Shard> parseShard(const QString& text);

// The variable a Kubernetes manifest sets to the Job's completions when
// --shard-count is not given.
inline constexpr char ShardCountVariable[] = "KADRIX_SHARD_COUNT";

struct ShardChoice {
    std::optional<Shard> shard;
    QString error; // set when there is no shard
};

// The shard a request stands for. For FromEngine the index and count come
// from the first engine whose variables are set: a Slurm job array
// (SLURM_ARRAY_TASK_ID less SLURM_ARRAY_TASK_MIN of SLURM_ARRAY_TASK_COUNT,
// the step being 1), a Kubernetes Indexed Job (JOB_COMPLETION_INDEX, the
// count from --shard-count or KADRIX_SHARD_COUNT) or an AWS Batch array job
// (AWS_BATCH_JOB_ARRAY_INDEX of AWS_BATCH_JOB_ARRAY_SIZE).
ShardChoice chooseShard(const ShardRequest& request, const QProcessEnvironment& environment);

} // namespace kadrix::cli
