#include "batch_run.h"
#include "jpeg_test_files.h"
#include "memory_budget.h"
#include "result_claims.h"
#include "shard.h"
#include "source_list_file.h"
#include "stale_temporaries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <sys/file.h>

namespace kadrix::cli {
namespace {

using namespace Qt::StringLiterals;

QProcessEnvironment environment(std::initializer_list<std::pair<const char*, const char*>> vars) {
    QProcessEnvironment env;
    for (const auto& [name, value] : vars)
        env.insert(QString::fromUtf8(name), QString::fromUtf8(value));
    return env;
}

TEST(ShardTest, ParsesKOfN) {
    struct Case {
        const char* text;
        std::optional<Shard> shard;
    };
    for (const Case& c :
         {Case{"0/1", Shard{0, 1}}, Case{"3/4", Shard{3, 4}}, Case{"4/4", std::nullopt},
          Case{"0/0", std::nullopt}, Case{"-1/4", std::nullopt}, Case{"1/", std::nullopt},
          Case{"1 /4", std::nullopt}, Case{"99999999999/3", std::nullopt}})
        EXPECT_EQ(parseShard(QString::fromUtf8(c.text)), c.shard) << c.text;
}

TEST(ShardTest, AutoTakesTheIndexAndCountFromTheEngine) {
    struct Case {
        const char* what;
        QProcessEnvironment env;
        std::optional<int> shardCount;
        std::optional<Shard> shard; // nothing: refused with an error
    };
    const std::vector<Case> cases = {
        {"Slurm, array 5-8",
         environment({{"SLURM_ARRAY_TASK_ID", "7"},
                      {"SLURM_ARRAY_TASK_MIN", "5"},
                      {"SLURM_ARRAY_TASK_COUNT", "4"},
                      {"SLURM_ARRAY_TASK_STEP", "1"}}),
         {},
         Shard{2, 4}},
        {"Slurm, step 2",
         environment({{"SLURM_ARRAY_TASK_ID", "2"},
                      {"SLURM_ARRAY_TASK_MIN", "0"},
                      {"SLURM_ARRAY_TASK_COUNT", "4"},
                      {"SLURM_ARRAY_TASK_STEP", "2"}}),
         {},
         std::nullopt},
        {"Slurm, a list with a gap: index beyond the count",
         environment({{"SLURM_ARRAY_TASK_ID", "5"},
                      {"SLURM_ARRAY_TASK_MIN", "0"},
                      {"SLURM_ARRAY_TASK_COUNT", "3"},
                      {"SLURM_ARRAY_TASK_STEP", "1"}}),
         {},
         std::nullopt},
        {"Slurm, --shard-count disagrees",
         environment({{"SLURM_ARRAY_TASK_ID", "0"},
                      {"SLURM_ARRAY_TASK_MIN", "0"},
                      {"SLURM_ARRAY_TASK_COUNT", "3"},
                      {"SLURM_ARRAY_TASK_STEP", "1"}}),
         5, std::nullopt},
        {"Kubernetes with --shard-count", environment({{"JOB_COMPLETION_INDEX", "3"}}), 8,
         Shard{3, 8}},
        {"Kubernetes with the manifest's count",
         environment({{"JOB_COMPLETION_INDEX", "0"}, {"KADRIX_SHARD_COUNT", "2"}}),
         {},
         Shard{0, 2}},
        {"Kubernetes without a count",
         environment({{"JOB_COMPLETION_INDEX", "0"}}),
         {},
         std::nullopt},
        {"Kubernetes, index beyond the count", environment({{"JOB_COMPLETION_INDEX", "2"}}), 2,
         std::nullopt},
        {"AWS Batch",
         environment({{"AWS_BATCH_JOB_ARRAY_INDEX", "9"}, {"AWS_BATCH_JOB_ARRAY_SIZE", "10"}}),
         {},
         Shard{9, 10}},
        {"AWS Batch without a size",
         environment({{"AWS_BATCH_JOB_ARRAY_INDEX", "0"}}),
         {},
         std::nullopt},
        {"no engine", environment({{"SLURM_JOB_ID", "12"}}), {}, std::nullopt},
    };
    for (const Case& c : cases) {
        ShardRequest request;
        request.kind = ShardRequest::Kind::FromEngine;
        request.shardCount = c.shardCount;
        const ShardChoice choice = chooseShard(request, c.env);
        EXPECT_EQ(choice.shard, c.shard) << c.what;
        EXPECT_EQ(choice.error.isEmpty(), c.shard.has_value()) << c.what;
    }
}

TEST(SourceListTest, SplitsLinesOrNulsKeepingEveryOtherByte) {
    struct Case {
        QByteArray bytes;
        bool nul;
        QStringList paths;
    };
    const std::vector<Case> cases = {
        {"a.jpg\r\n\n b.jpg \nlast", false, {u"a.jpg"_s, u" b.jpg "_s, u"last"_s}},
        {QByteArray("new\nline.jpg\0\0x.jpg\r\0", 20), true, {u"new\nline.jpg"_s, u"x.jpg\r"_s}},
        {"\n\r\n", false, {}},
    };
    for (const Case& c : cases) {
        QStringList paths;
        for (const ListedSource& entry : splitSourceList(c.bytes, c.nul)) {
            paths << entry.path;
            EXPECT_TRUE(entry.validUtf8);
        }
        EXPECT_EQ(paths, c.paths) << c.bytes.toStdString();
    }
    const auto latin1 = splitSourceList("caf\xE9.jpg\n", false);
    ASSERT_EQ(latin1.size(), 1u);
    EXPECT_FALSE(latin1[0].validUtf8);
    EXPECT_EQ(latin1[0].raw, QByteArray("caf\xE9.jpg"));
}

// A worker whose picture does not fit waits until another lets its own go;
// a picture larger than the whole budget is refused without waiting.
TEST(MemoryBudgetTest, PicturesWaitForRoomAndTooLargeOnesAreRefused) {
    MemoryBudget budget(100);
    qint64 first = 0, second = 0;
    ASSERT_TRUE(budget.exchange(first, 60));
    std::atomic<bool> admitted{false};
    std::thread other([&] {
        EXPECT_TRUE(budget.exchange(second, 60));
        admitted = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(admitted);
    EXPECT_TRUE(budget.exchange(first, 30)); // lets the 60 go, takes 30 beside the other's 60
    other.join();
    EXPECT_TRUE(admitted);
    EXPECT_FALSE(budget.exchange(second, 101));
    EXPECT_EQ(second, 0);
    budget.release(first);
    EXPECT_TRUE(budget.exchange(second, 100));
}

// The budget is half of the smallest limit: the machine's memory, the
// control group's (v2 memory.max, v1 memory.limit_in_bytes, along the group
// and its parents) and the process's address space and data limits.
TEST(MemoryBudgetTest, TheBudgetIsHalfOfTheSmallestLimit) {
    QTemporaryDir root;
    const auto limit = [&](const char* path, const char* text) {
        test::writeBytes(root.filePath(QString::fromUtf8(path)), text);
    };
    QDir(root.path()).mkpath(u"job/step"_s);
    QDir(root.path()).mkpath(u"memory/slurm/job"_s);
    limit("memory.max", "max\n");
    limit("job/memory.max", "1073741824\n");
    limit("job/step/memory.max", "max\n");
    limit("memory/slurm/memory.limit_in_bytes", "9223372036854771712\n"); // v1: none
    limit("memory/slurm/job/memory.limit_in_bytes", "536870912\n");
    constexpr qint64 G = qint64(1) << 30;
    const struct {
        const char* cgroup;
        MemoryLimits limits; // group filled from the files
        qint64 budget;
    } cases[] = {
        {"0::/\n", {16 * G}, 8 * G},
        {"0::/job/step\n", {16 * G}, G / 2},              // the parent's limit holds
        {"4:memory:/slurm/job\n0::/\n", {16 * G}, G / 4}, // v1
        {"0::/gone\n", {16 * G, 0, 2 * G}, G},            // RLIMIT_AS
        {"0::/job\n", {16 * G, 0, 0, G / 4}, G / 8},      // RLIMIT_DATA
        {"", {0}, 64 << 20},                              // nothing known
    };
    for (const auto& c : cases) {
        MemoryLimits limits = c.limits;
        limits.group = controlGroupLimit(c.cgroup, root.path());
        EXPECT_EQ(memoryBudgetFor(limits), c.budget) << c.cgroup;
    }
}

TEST(ResultClaimsTest, TheLowestPositionTakesAName) {
    const std::vector<QString> paths = {u"/o/a"_s, u"/o/b"_s, u"/o/a"_s,
                                        u"/p/a"_s, u"/o/b"_s, u"/o/a"_s};
    EXPECT_EQ(firstClaims(paths), (std::vector<qsizetype>{0, 1, 0, 3, 1, 0}));
    // On a destination that ignores letter case, /c/A and /c/a are one file.
    const std::vector<QString> cased = {u"/c/A.jpg"_s, u"/s/A.jpg"_s, u"/c/a.jpg"_s, u"/s/a.jpg"_s};
    const auto caseless = [](const QString& folder) { return folder == u"/c/"_s; };
    EXPECT_EQ(firstClaims(cased, caseless), (std::vector<qsizetype>{0, 1, 0, 3}));
}

TEST(StaleTemporaryTest, OnlyTheProgramsTemporariesOfOwnResultsAreRemoved) {
    QTemporaryDir dir;
    const auto put = [&](const char* name, const QByteArray& bytes) {
        test::writeBytes(dir.filePath(QString::fromUtf8(name)), bytes);
    };
    put(".kadrix-cropped_a.BMP.AbC123.tmp", "BM\x01\x02");    // killed while writing a BMP
    put(".kadrix-cropped_a.JPEG.zzzzzz.tmp", "\xFF\xD8\xFF"); // ... a JPEG
    put(".kadrix-cropped_a.JPEG.000000.tmp", "");             // ... before the first byte
    put(".kadrix-cropped_a.PNG.Png123.tmp", "\x89PNG\r\n");   // ... a PNG
    put("cropped_a.BMP.backup", "BM user notes");             // a user's file, begun like a BMP
    put("cropped_a.BMP.AbC123", "BM");                        // no temporary of this program's
    put(".kadrix-cropped_b.BMP.AbC123.tmp", "BM");            // another shard's live temporary
    put("cropped_a.BMP", "BM");                               // a finished result
    put(".kadrix-cropped_a.BMP.x3YqZ.tmp", "BM");             // not the pattern: five characters,
    put(".kadrix-cropped_a.BMP.x3Yq_0.tmp", "BM");            // ... not a letter or digit
    put(".kadrix-cropped_a.PNG.x3YqZ0.tmp", "BM");            // not the start of a PNG file
    put(".kadrix-cropped_a.BMP.Live12.tmp", "BM");            // a live run's, which it locks
    QFile live(dir.filePath(u".kadrix-cropped_a.BMP.Live12.tmp"_s));
    ASSERT_TRUE(live.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(live.handle(), LOCK_EX | LOCK_NB), 0);
    const QStringList removed = removeStaleTemporaries(
        {dir.filePath(u"cropped_a.BMP"_s), dir.filePath(u"cropped_a.JPEG"_s),
         dir.filePath(u"cropped_a.PNG"_s), dir.filePath(u"gone/cropped_c.BMP"_s)});
    EXPECT_EQ(removed.size(), 4) << removed.join(u' ').toStdString();
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_EQ(
        left,
        (QStringList{u".kadrix-cropped_a.BMP.Live12.tmp"_s, u".kadrix-cropped_a.BMP.x3YqZ.tmp"_s,
                     u".kadrix-cropped_a.BMP.x3Yq_0.tmp"_s, u".kadrix-cropped_a.PNG.x3YqZ0.tmp"_s,
                     u".kadrix-cropped_b.BMP.AbC123.tmp"_s, u"cropped_a.BMP"_s,
                     u"cropped_a.BMP.AbC123"_s, u"cropped_a.BMP.backup"_s}));
}

// --- the built program --------------------------------------------------------

// Every file below a folder, by relative path, with its bytes.
QMap<QString, QByteArray> filesBelow(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files.insert(QDir(folder).relativeFilePath(path), file.readAll());
    }
    return files;
}

class ClusterRunTest : public BatchRunTest {
protected:
    QString path(const char* relative) const { return dir.filePath(QString::fromUtf8(relative)); }
};

TEST_F(ClusterRunTest, ShardsTogetherWriteExactlyTheWholeRun) {
    for (const char* name : {"a.1.jpg", "a.2.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.jpg"})
        writeJpeg(u"src/"_s + QLatin1String(name), 40 + name[0], 30);
    for (const QStringList& naming : {QStringList{}, QStringList{"--number", "3:5"}}) {
        const QStringList base =
            naming + QStringList{"--size", "24x20", "--jobs", "3", path("src")};
        const QString whole = path("whole");
        ASSERT_LE(run(QStringList{"--out", whole} + base).status, 1);
        const QString sharded = path("sharded");
        for (int k = 0; k < 3; ++k)
            run(QStringList{"--out", sharded, "--shard", u"%1/3"_s.arg(k)} + base);
        const auto expected = filesBelow(whole);
        // Unnumbered, a.2.jpg names a.1.jpg's result and is skipped.
        EXPECT_EQ(expected.size(), naming.isEmpty() ? 6 : 7);
        EXPECT_EQ(filesBelow(sharded), expected);
        QDir(whole).removeRecursively();
        QDir(sharded).removeRecursively();
    }
}

TEST_F(ClusterRunTest, ListsFromStandardInputAndNulFilesJoinTheArguments) {
    writeJpeg("one.jpg", 30, 30);
    writeJpeg("sub/two\nlines.jpg", 30, 30);
    writeJpeg("three.jpg", 30, 30);
    const QByteArray nulList("sub/two\nlines.jpg\0gone.jpg\0", 26);
    test::writeBytes(path("list0"), nulList);
    const Outcome nul = run(
        {"--json", "--number", "1", "--files-from", "list0", "--null", "--out", "o", "three.jpg"});
    EXPECT_EQ(nul.status, 1) << nul.err.toStdString();
    EXPECT_TRUE(nul.err.contains(u"gone.jpg: no such file or folder"_s));
    EXPECT_TRUE(QFile::exists(path("o/cropped_three1.BMP")));
    EXPECT_TRUE(QFile::exists(path("o/cropped_two\nlines2.BMP")));

    const Outcome lines = run({"--files-from", "-", "--out", "p"}, "one.jpg\r\n\nthree.jpg\n");
    EXPECT_EQ(lines.status, 0) << lines.err.toStdString();
    EXPECT_EQ(filesBelow(path("p")).keys(), (QStringList{"cropped_one.BMP", "cropped_three.BMP"}));
}

TEST_F(ClusterRunTest, EveryJsonLineParsesAndTheSummaryGoesToStandardError) {
    writeJpeg("src/a.jpg", 50, 40);
    test::writeBytes(path("src/bad.jpg"), "not a picture");
    test::writeBytes(path("latin1"), "caf\xE9.jpg\n");
    const Outcome r = run({"--json", "--files-from", "latin1", "--size", "20x20", "--gravity",
                           "South", "--fill", "mirror", path("src"), path("gone.jpg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(u"1 framed, 0 skipped, 3 failed"_s)) << r.err.toStdString();
    QMap<QString, QJsonObject> bySource;
    for (const QByteArray& line : r.bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        bySource.insert(QFileInfo(object.value(u"source"_s).toString()).fileName(), object);
    }
    ASSERT_EQ(bySource.size(), 4) << r.out.toStdString();
    EXPECT_EQ(bySource[u"a.jpg"_s].value(u"status"_s), u"framed"_s);
    EXPECT_EQ(bySource[u"a.jpg"_s].value(u"width"_s), 50);
    // The result's size and its top-left corner in the picture: 20x20 south.
    for (const auto& [key, value] :
         {std::pair{u"result_width"_s, 20}, {u"result_height"_s, 20}, {u"x"_s, 15}, {u"y"_s, 20}})
        EXPECT_EQ(bySource[u"a.jpg"_s].value(key), value) << key.toStdString();
    EXPECT_TRUE(bySource[u"bad.jpg"_s].value(u"x"_s).isNull());
    for (const QJsonObject& object : bySource) {
        EXPECT_EQ(object.value(u"anchor"_s), u"south"_s);
        EXPECT_EQ(object.value(u"fill"_s), u"mirror"_s);
    }
    EXPECT_EQ(bySource[u"bad.jpg"_s].value(u"status"_s), u"failed"_s);
    EXPECT_TRUE(bySource[u"gone.jpg"_s].value(u"result"_s).isNull());
    EXPECT_EQ(bySource[u"gone.jpg"_s].value(u"status"_s), u"failed"_s);
    EXPECT_EQ(bySource[QString::fromUtf8("caf\uFFFD.jpg")].value(u"source_base64"_s),
              u"Y2Fm6S5qcGc="_s);
}

// An --out the walk would enter, directly or through a link, is refused:
// its results would be sources of the next run. The default result folders
// beside the sources are left out of the walk.
TEST_F(ClusterRunTest, RecursionMirrorsTheTreeAndSkipsResultFoldersAndLoops) {
    writeJpeg("src/a.jpg", 30, 30);
    writeJpeg("src/x/b.jpg", 30, 30);
    writeJpeg("src/x/y/c.jpg", 30, 30);
    writeJpeg("src/cropped/old.jpg", 30, 30);
    writeJpeg("src/out/old.jpg", 30, 30);
    ASSERT_TRUE(QFile::link(path("src"), path("src/x/loop")));
    const Outcome inside = run({"--recursive", "--out", path("src/out"), path("src")});
    EXPECT_EQ(inside.status, 2);
    EXPECT_TRUE(inside.err.contains(u"--out is inside the source folder"_s))
        << inside.err.toStdString();
    EXPECT_EQ(filesBelow(path("src/out")).keys(), QStringList{"old.jpg"});
    const Outcome r = run({"--recursive", "--number", "1", "--out", path("out"), path("src")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(filesBelow(path("out")).keys(),
              (QStringList{"cropped_a1.BMP", "out/cropped_old2.BMP", "x/cropped_b3.BMP",
                           "x/y/cropped_c4.BMP"}));
    ASSERT_TRUE(QFile::link(path("out"), path("src/x/results")));
    const Outcome linked = run({"--recursive", "--out", path("out"), path("src")});
    EXPECT_EQ(linked.status, 2);
    EXPECT_TRUE(linked.err.contains(u"--recursive walks into --out through"_s))
        << linked.err.toStdString();
    QFile::remove(path("src/x/results"));
    EXPECT_EQ(run({"--recursive", "-s8x8", path("src")}).status, 0);
    EXPECT_TRUE(QFile::exists(path("src/x/y/cropped/cropped_c.BMP")));
    EXPECT_FALSE(QFile::exists(path("src/cropped/cropped/cropped_old.BMP")));
}

TEST_F(ClusterRunTest, ARunKilledBeforeACommitIsCompletedByTheNextOne) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        writeJpeg(u"src/"_s + QLatin1String(name), 60, 50);
    const QStringList base{"--jobs", "1", "--format", "jpeg", "--size", "32x32", path("src")};
    ASSERT_EQ(run(QStringList{"--out", path("clean")} + base).status, 0);

    // Without O_TMPFILE, as on NFS, and killed in place of the third commit.
    QProcessEnvironment nfs = speaking("C.UTF-8");
    nfs.insert(u"LD_PRELOAD"_s, QStringLiteral(NAMED_TEMPORARIES_PRELOAD));
    nfs.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0:verify_asan_link_order=0"_s);
    QProcessEnvironment killed = nfs;
    killed.insert(u"KADRIX_KILL_AT_RENAME"_s, u"3"_s);
    const QStringList arguments = QStringList{"--out", path("out")} + base;
    EXPECT_EQ(run(arguments, {}, killed).status, -1);
    const QStringList left = QDir(path("out")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    ASSERT_EQ(left.size(), 3) << left.join(u' ').toStdString();
    EXPECT_TRUE(isSaveTemporaryOf(left[0], u"cropped_c.JPEG"_s)) << left[0].toStdString();

    const Outcome again = run(arguments, {}, nfs);
    EXPECT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_TRUE(again.err.contains(u"removed the temporary file of an interrupted run"_s));
    EXPECT_EQ(filesBelow(path("out")), filesBelow(path("clean")));
}

} // namespace
} // namespace kadrix::cli
