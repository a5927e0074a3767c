#include "shard.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace kadrix::cli {
namespace {

constexpr int MaxShards = 1000000000;

std::optional<int> count(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > MaxShards)
        return std::nullopt;
    return value;
}

ShardChoice refused(const QString& why) {
    return {std::nullopt, why};
}

// The shard of an engine giving an index and a count, both as text.
ShardChoice shardOf(const QString& engine, const QString& indexText, long long offset,
                    const std::optional<int>& shards) {
    bool ok = false;
    const long long index = indexText.toLongLong(&ok) - offset;
    if (!ok)
        return refused(
            QCoreApplication::translate("kadrix-batch", "%1: the task index \"%2\" is not a number")
                .arg(engine, indexText));
    if (!shards)
        return refused(
            QCoreApplication::translate("kadrix-batch", "%1: the count of tasks is not known")
                .arg(engine));
    if (index < 0 || index >= *shards)
        return refused(
            QCoreApplication::translate("kadrix-batch", "%1: task %2 lies outside 0 to %3")
                .arg(engine, QString::number(index), QString::number(*shards - 1)));
    return {Shard{int(index), *shards}, {}};
}

ShardChoice fromSlurm(const QProcessEnvironment& env, const std::optional<int>& shardCount) {
    const QString engine = QStringLiteral("Slurm job array");
    if (env.value(QStringLiteral("SLURM_ARRAY_TASK_STEP")) != QStringLiteral("1"))
        return refused(QCoreApplication::translate(
                           "kadrix-batch", "%1: the array's step (SLURM_ARRAY_TASK_STEP) must "
                                           "be 1, as with --array=0-N-1")
                           .arg(engine));
    bool ok = false;
    const long long first = env.value(QStringLiteral("SLURM_ARRAY_TASK_MIN")).toLongLong(&ok);
    if (!ok)
        return refused(
            QCoreApplication::translate("kadrix-batch", "%1: SLURM_ARRAY_TASK_MIN is not set")
                .arg(engine));
    const auto shards = count(env.value(QStringLiteral("SLURM_ARRAY_TASK_COUNT")));
    if (shardCount && shards != shardCount)
        return refused(QCoreApplication::translate("kadrix-batch",
                                                   "%1: --shard-count differs from the array's "
                                                   "SLURM_ARRAY_TASK_COUNT")
                           .arg(engine));
    return shardOf(engine, env.value(QStringLiteral("SLURM_ARRAY_TASK_ID")), first, shards);
}

ShardChoice fromKubernetes(const QProcessEnvironment& env, const std::optional<int>& shardCount) {
    const QString engine = QStringLiteral("Kubernetes Indexed Job");
    const QString variable = QString::fromLatin1(ShardCountVariable);
    std::optional<int> shards = shardCount;
    if (!shards && env.contains(variable)) {
        shards = count(env.value(variable));
        if (!shards)
            return refused(
                QCoreApplication::translate("kadrix-batch", "%1: %2 wants a count from 1: \"%3\"")
                    .arg(engine, variable, env.value(variable)));
    }
    if (!shards)
        return refused(
            QCoreApplication::translate("kadrix-batch",
                                        "%1: give the Job's completions with --shard-count or %2")
                .arg(engine, variable));
    return shardOf(engine, env.value(QStringLiteral("JOB_COMPLETION_INDEX")), 0, shards);
}

ShardChoice fromAwsBatch(const QProcessEnvironment& env, const std::optional<int>& shardCount) {
    const QString engine = QStringLiteral("AWS Batch array job");
    const auto shards = count(env.value(QStringLiteral("AWS_BATCH_JOB_ARRAY_SIZE")));
    if (shardCount && shards != shardCount)
        return refused(QCoreApplication::translate("kadrix-batch",
                                                   "%1: --shard-count differs from the array's "
                                                   "AWS_BATCH_JOB_ARRAY_SIZE")
                           .arg(engine));
    return shardOf(engine, env.value(QStringLiteral("AWS_BATCH_JOB_ARRAY_INDEX")), 0, shards);
}

} // namespace

std::optional<Shard> parseShard(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,10})/(\\d{1,10})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const auto shards = count(match.captured(2));
    bool ok = false;
    const long long index = match.captured(1).toLongLong(&ok);
    if (!shards || !ok || index >= *shards)
        return std::nullopt;
    return Shard{int(index), *shards};
}

ShardChoice chooseShard(const ShardRequest& request, const QProcessEnvironment& environment) {
    switch (request.kind) {
    case ShardRequest::Kind::Whole:
        return {Shard{}, {}};
    case ShardRequest::Kind::Fixed:
        return {request.fixed, {}};
    case ShardRequest::Kind::FromEngine:
        break;
    }
    if (environment.contains(QStringLiteral("SLURM_ARRAY_TASK_ID")))
        return fromSlurm(environment, request.shardCount);
    if (environment.contains(QStringLiteral("JOB_COMPLETION_INDEX")))
        return fromKubernetes(environment, request.shardCount);
    if (environment.contains(QStringLiteral("AWS_BATCH_JOB_ARRAY_INDEX")))
        return fromAwsBatch(environment, request.shardCount);
    return refused(QCoreApplication::translate(
        "kadrix-batch",
        "--shard auto: no task index found (SLURM_ARRAY_TASK_ID, JOB_COMPLETION_INDEX or "
        "AWS_BATCH_JOB_ARRAY_INDEX); outside a job array give --shard K/N"));
}

} // namespace kadrix::cli
