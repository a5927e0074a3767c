#include "batch_options.h"
#include "batch_plan.h"
#include "exif_blocks.h"
#include "heif_files.h"
#include "jpeg_test_files.h"
#include "native_name.h"
#include "picture_registry.h"
#include "reporter.h"
#include "source_collection.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <map>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kadrix::cli {
namespace {

QStringList args(std::initializer_list<const char*> items) {
    QStringList list{QStringLiteral("kadrix-batch")};
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}

TEST(BatchOptionsTest, DefaultsAreTheProgramsOwn) {
    const ParsedArguments parsed = parseArguments(args({"a.jpg"}), 2);
    ASSERT_TRUE(parsed.options) << parsed.usageError.toStdString();
    const BatchOptions& o = *parsed.options;
    EXPECT_EQ(o.size, QSize(640, 480));
    EXPECT_EQ(o.wipe, makeColour(0, 0, 0));
    EXPECT_TRUE(o.outDir.isEmpty());
    EXPECT_EQ(o.scheme.extensionItem, QStringLiteral("*.BMP"));
    TJPEGDefaults dialogButExactGrey = DialogJpegDefaults;
    dialogButExactGrey.ExactGrey = true; // grey files keep their 256 levels
    EXPECT_EQ(o.jpeg, dialogButExactGrey);
    EXPECT_EQ(o.jpeg.CompressionQuality, 95);
    EXPECT_FALSE(o.jpeg.HorzSubSampling);
    EXPECT_TRUE(o.jpeg.AutoOrient);
    EXPECT_EQ(o.scheme.prefix, QStringLiteral("cropped_"));
    EXPECT_TRUE(o.scheme.prefixOn && o.scheme.nameOn);
    EXPECT_FALSE(o.scheme.suffixOn || o.scheme.numberOn);
    EXPECT_EQ(o.jobs, 2);
    EXPECT_FALSE(o.dryRun || o.overwrite);
    EXPECT_EQ(o.decode.mode, DecodeMode::Seek);
    EXPECT_EQ(o.encoding.pngLevel, 6);
    EXPECT_EQ(o.encoding.tiff, TiffCompression::Lzw);
    EXPECT_EQ(o.encoding.webpQuality, 95);
    EXPECT_EQ(o.framing, FramingOptions{});
}

TEST(BatchOptionsTest, EveryOptionIsRead) {
    // clang-format off
    const ParsedArguments parsed = parseArguments(
        args({"--size",        "320x200",  "--wipe",    "#FF8000",   "--out",         "/tmp/x",
              "--format",      "jpeg",     "--quality", "50",        "--progressive", "--grey",
              "--subsampling", "--prefix", "",          "--no-name", "--suffix",      "_s",
              "--number",      "3:7",      "--jobs",    "1",         "--dry-run",     "--overwrite",
              "--decode",      "whole",    "--no-auto-orient",      "--png-level",   "9",
              "--tiff-compression", "none", "--webp-quality", "100",  "--gravity", "NorthEast",
              "--fill",        "MIRROR",   "--keep-dates",          "a",         "b"}),
        2);
    // clang-format on
    ASSERT_TRUE(parsed.options) << parsed.usageError.toStdString();
    const BatchOptions& o = *parsed.options;
    EXPECT_EQ(o.inputs, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(o.size, QSize(320, 200));
    EXPECT_EQ(o.wipe, makeColour(0xFF, 0x80, 0x00));
    EXPECT_EQ(o.outDir, QStringLiteral("/tmp/x"));
    EXPECT_EQ(o.scheme.extensionItem, QStringLiteral("*.JPG;*.JPEG"));
    EXPECT_EQ(o.jpeg.CompressionQuality, 50);
    EXPECT_TRUE(o.jpeg.ProgressiveEncoding && o.jpeg.GrayScale);
    EXPECT_TRUE(o.jpeg.HorzSubSampling && o.jpeg.VertSubSampling);
    EXPECT_FALSE(o.jpeg.AutoOrient);
    EXPECT_FALSE(o.scheme.prefixOn || o.scheme.nameOn);
    EXPECT_TRUE(o.scheme.suffixOn && o.scheme.numberOn);
    EXPECT_EQ(o.scheme.digits, QStringLiteral("3"));
    EXPECT_EQ(o.scheme.start, QStringLiteral("7"));
    EXPECT_EQ(o.jobs, 1);
    EXPECT_TRUE(o.dryRun && o.overwrite);
    EXPECT_EQ(o.decode.mode, DecodeMode::Whole);
    EXPECT_EQ(o.encoding.pngLevel, 9);
    EXPECT_EQ(o.encoding.tiff, TiffCompression::None);
    EXPECT_EQ(o.encoding.webpQuality, 100);
    EXPECT_EQ(o.framing, (FramingOptions{Anchor::NorthEast, Fill::Mirror, true}));
}

TEST(BatchOptionsTest, DirectionsAndFillsTakeEverySpelling) {
    for (const char* text : {"centre", "Center", "CENTER"})
        EXPECT_EQ(parseAnchor(QString::fromUtf8(text)), Anchor::Centre) << text;
    for (const char* text : {"south-west", "SouthWest", "southwest", "SOUTH-WEST"})
        EXPECT_EQ(parseAnchor(QString::fromUtf8(text)), Anchor::SouthWest) << text;
    EXPECT_EQ(parseAnchor(QStringLiteral("up")), std::nullopt);
    EXPECT_EQ(parseFill(QStringLiteral("Color")), Fill::WipeColour);
    EXPECT_EQ(parseFill(QStringLiteral("stretch")), std::nullopt);
    // A wrong value names the accepted ones.
    EXPECT_TRUE(parseArguments(args({"--gravity", "up", "a"}), 1)
                    .usageError.contains(QStringLiteral("north-east")));
    EXPECT_TRUE(parseArguments(args({"--fill", "stretch", "a"}), 1)
                    .usageError.contains(QStringLiteral("mirror")));
}

TEST(BatchOptionsTest, WrongArgumentsAreUsageErrors) {
    const std::vector<QStringList> wrong = {
        args({}),
        args({"--size", "640", "a"}),
        args({"--size", "0x480", "a"}),
        args({"--size", "640x99999", "a"}),
        args({"--wipe", "reddish", "a"}),
        args({"--wipe", "#12345", "a"}),
        args({"--format", "gif", "a"}),
        args({"--quality", "4", "a"}),
        args({"--quality", "96", "a"}),
        args({"--number", "0", "a"}),
        args({"--number", "3:x", "a"}),
        args({"--jobs", "0", "a"}),
        args({"--out", "", "a"}),
        args({"--bogus", "a"}),
        args({"--decode", "fast", "a"}),
        args({"--png-level", "10", "a"}),
        args({"--png-level", "-1", "a"}),
        args({"--tiff-compression", "zip", "a"}),
        args({"--tiff-compression", "deflate", "a"}), // Qt's TIFF writer has no deflate
        args({"--webp-quality", "101", "a"}),
        args({"--format", "ico", "a"}), // read, never written
        args({"--progress", "sometimes", "a"}),
        args({"-q", "-v", "a"}),
        args({"-j", "x", "a"}),
        args({"--output", "o", "a", "b"}),
        args({"--output", "o", "--output", "p", "a"}),
        args({"--output", "o", "--files-from", "list", "a"}),
        args({"--json", "--output", "-", "a"}),
        args({"--gravity", "up", "a"}),
        args({"--fill", "stretch", "a"}),
    };
    for (const QStringList& arguments : wrong) {
        const ParsedArguments parsed = parseArguments(arguments, 2);
        EXPECT_FALSE(parsed.options) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(parsed.usageError.isEmpty()) << arguments.join(u' ').toStdString();
    }
    const ParsedArguments help = parseArguments(args({"--help"}), 2);
    EXPECT_FALSE(help.options);
    for (const char* option :
         {"--size",        "--wipe",   "--out",         "--format",           "--quality",
          "--progressive", "--grey",   "--subsampling", "--prefix",           "--no-name",
          "--suffix",      "--number", "--jobs",        "--dry-run",          "--overwrite",
          "--decode",      "--strip",  "--png-level",   "--tiff-compression", "--webp-quality",
          "--list-formats", "--gravity", "--fill",      "--keep-dates"})
        EXPECT_TRUE(help.helpText.contains(QString::fromUtf8(option))) << option;
}

// Short, compact and long forms read alike; "--" ends the options.
TEST(BatchOptionsTest, OptionFormsAgree) {
    const auto summary = [](const QStringList& arguments) {
        const ParsedArguments parsed = parseArguments(arguments, 2);
        if (!parsed.options)
            return parsed.usageError.toStdString();
        const BatchOptions& o = *parsed.options;
        return QStringLiteral("%1 %2x%3 %4 %5 %6 %7 %8 %9")
            .arg(o.inputs.join(u','))
            .arg(o.size.width())
            .arg(o.size.height())
            .arg(o.outDir, o.scheme.extensionItem)
            .arg(o.jobs)
            .arg(int(o.verbosity))
            .arg(int(o.progress))
            .arg(o.output)
            .toStdString();
    };
    const std::vector<std::pair<QStringList, QStringList>> pairs = {
        {args({"-s", "32x16", "a"}), args({"--size", "32x16", "a"})},
        {args({"-s32x16", "a"}), args({"--size=32x16", "a"})},
        {args({"-o", "/x", "a"}), args({"--out", "/x", "a"})},
        {args({"-f", "png", "a"}), args({"--format", "png", "a"})},
        {args({"-j3", "a"}), args({"--jobs", "3", "a"})},
        {args({"-q", "a"}), args({"--quiet", "a"})},
        {args({"-v", "a"}), args({"--verbose", "a"})},
        {args({"-qj2", "a"}), args({"--quiet", "--jobs", "2", "a"})},
        {args({"--progress", "never", "-", "--output", "-"}),
         args({"--progress=never", "--output=-", "--", "-"})},
        {args({"-o", "/x", "--", "-j"}), args({"--out=/x", "--", "-j"})},
    };
    for (const auto& [first, second] : pairs) {
        const std::string expected = summary(second);
        EXPECT_EQ(summary(first), expected) << first.join(u' ').toStdString();
        EXPECT_TRUE(parseArguments(first, 2).options) << expected;
    }
    EXPECT_EQ(parseArguments(args({"--", "-s", "--out"}), 2).options->inputs,
              (QStringList{QStringLiteral("-s"), QStringLiteral("--out")}));
    for (const char* version : {"-V", "--version"})
        EXPECT_TRUE(parseArguments(args({version}), 2).versionText.startsWith(u"kadrix-batch 1"));
    const QString help = parseArguments(args({"--help"}), 2).helpText;
    for (const char* option : {"-V, --version", "-q, --quiet", "-v, --verbose", "--progress",
                               "-o, --out", "-j, --jobs", "-s, --size", "-f, --format", "--output"})
        EXPECT_TRUE(help.contains(QString::fromUtf8(option))) << option;
}

TEST(BatchOptionsTest, WipeTakesWhatQtsColourParserTakes) {
    const struct {
        const char* text;
        std::optional<Colour> colour;
    } cases[] = {{"white", makeColour(255, 255, 255)},
                 {"#fff", makeColour(255, 255, 255)},
                 {"#FF8000", makeColour(255, 128, 0)},
                 {"FF8000", makeColour(255, 128, 0)},
                 {"DarkGrey", makeColour(169, 169, 169)},
                 {"#12345", std::nullopt},
                 {"whitish", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(parseWipe(QString::fromUtf8(c.text)), c.colour) << c.text;
}

TEST(ReporterTest, ControlCharactersAndForeignBytesAreShownEscaped) {
    const struct {
        QString name;
        QString shown;
    } cases[] = {
        {QStringLiteral("a\nb\tc\x1b[31m\x7f.jpg"), QStringLiteral("a\\nb\\tc\\x1b[31m\\x7f.jpg")},
        {nameFromNative("caf\xE9.jpg"), QStringLiteral("caf\\xe9.jpg")},
        {QStringLiteral("Été.jpg"), QStringLiteral("Été.jpg")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(escapedForTerminal(c.name), c.shown) << c.shown.toStdString();
}

TEST(BatchOptionsTest, FormatsPickTheDestinationItemAndStripDropsMetadata) {
    const struct {
        const char* format;
        const char* item;
    } cases[] = {{"bmp", "*.BMP"},        {"JPG", "*.JPG;*.JPEG"},  {"png", "*.PNG"},
                 {"tif", "*.TIF;*.TIFF"}, {"TIFF", "*.TIF;*.TIFF"}, {"webp", "*.WEBP"}};
    for (const auto& c : cases) {
        const ParsedArguments parsed = parseArguments(args({"--format", c.format, "a"}), 1);
        ASSERT_TRUE(parsed.options) << c.format;
        EXPECT_EQ(parsed.options->scheme.extensionItem, QString::fromLatin1(c.item)) << c.format;
        EXPECT_TRUE(parsed.options->jpeg.KeepMetadata);
    }
    EXPECT_FALSE(parseArguments(args({"--strip", "a"}), 1).options->jpeg.KeepMetadata);
}

TEST(BatchPlanTest, AxesFollowTheCompositorsPlacement) {
    struct Case {
        int source, canvas, before, after;
    };
    for (const Case c : {Case{640, 640, 0, 0}, Case{637, 640, 1, 2}, Case{643, 640, -1, -2},
                         Case{641, 640, 0, -1}, Case{1, 640, 319, 320}}) {
        const AxisChange change = axisChange(c.source, c.canvas);
        EXPECT_EQ(change.before, c.before) << c.source;
        EXPECT_EQ(change.after, c.after) << c.source;
    }
    EXPECT_EQ(planLine(QStringLiteral("a.jpg"), 643, 477, QSize(640, 480), QStringLiteral("r"),
                       true, Anchor::SouthWest),
              QStringLiteral("a.jpg: 643x477, columns: 0 left, crop 3 right; rows: pad 3 top, 0 "
                             "bottom -> r (exists)"));
    EXPECT_EQ(planLine(QStringLiteral("/s/a%1.jpg"), 643, 477, QSize(640, 480),
                       QStringLiteral("/s/cropped/cropped_a%1.BMP"), false),
              QStringLiteral("/s/a%1.jpg: 643x477, columns: crop 1 left, crop 2 right; rows: pad 1 "
                             "top, pad 2 bottom -> /s/cropped/cropped_a%1.BMP (new)"));
}

TEST(BatchPlanTest, ResultsAreNamedByTheRenameScheme) {
    BatchOptions options =
        *parseArguments(args({"--number", "3:7", "--suffix", "_x", "a"}), 1).options;
    const SourceFile file{QStringLiteral("/photos/"), QStringLiteral("IMG.1.jpg")};
    EXPECT_EQ(resultPathOf(options, file, 2),
              QStringLiteral("/photos/cropped/cropped_IMG_x009.BMP"));
    options.outDir = QStringLiteral("/out");
    options.scheme.extensionItem = QStringLiteral("*.JPG;*.JPEG");
    EXPECT_EQ(resultPathOf(options, file, 0), QStringLiteral("/out/cropped_IMG_x007.JPEG"));
}

TEST(SourceCollectionTest, FoldersGiveTheirPicturesByTheCombinedExtensionRule) {
    const QString filter = combinedExtensionFilter(pictureRegistry().filterText());
    EXPECT_TRUE(filter.startsWith(QStringLiteral("TOUS (")));
    EXPECT_TRUE(filter.contains(QStringLiteral("*.JPG")));

    QTemporaryDir dir;
    for (const char* name : {"b.JPG", "a.bmp", "B.jpg", "notes.txt", "noext", "c.Jpeg", "d.HEIC",
                             "e.avif", "f.Hif", "g.heif"}) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // Two names that are not UTF-8 (Latin-1 "d\xff" and "d\xfe"), which Qt
    // would decode to one "d\uFFFD.jpg".
    for (const char* name : {"d\xff.jpg", "d\xfe.jpg"}) {
        const int fd = ::open((QFile::encodeName(dir.path()) + '/' + name).constData(),
                              O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    QDir(dir.path()).mkdir(QStringLiteral("sub.jpg"));
    const QString single = dir.filePath(QStringLiteral("notes.txt"));
    const QString before = QDir::currentPath();
    const CollectedSources collected =
        collectSources({single, dir.path(), dir.filePath(QStringLiteral("gone.jpg"))},
                       pictureNameRule(pictureRegistry()));
    EXPECT_EQ(QDir::currentPath(), before);
    QList<QByteArray> names;
    for (const SourceFile& f : collected.files)
        names << nativeName(f.name);
    // "B.jpg" and "b.JPG" differ only in case: two files, both kept; the
    // names that are not UTF-8 keep their bytes.
    EXPECT_EQ(names, (QList<QByteArray>{"notes.txt", "B.jpg", "a.bmp", "b.JPG", "c.Jpeg",
                                        "d.HEIC", "d\xfe.jpg", "d\xff.jpg", "e.avif", "f.Hif",
                                        "g.heif"}));
    EXPECT_EQ(collected.files[1].folder, QDir(dir.path()).absolutePath() + u'/');
    EXPECT_EQ(collected.missing, QStringList{dir.filePath(QStringLiteral("gone.jpg"))});
}

// The name rule answers as the combined entry of the actual filter text does,
// and asks whether a type's reader is installed only when the answer depends
// on it.
TEST(SourceCollectionTest, TheNameRuleAsksForOptionalTypesOnlyWhenTheyDecide) {
    const struct {
        const char* name;
        bool accepted;
        bool asks;
    } cases[] = {
        {"a.JPG", true, false},      {"a.j", true, false},
        {"notes.txt", false, false}, {"noext", false, false},
        {"a.", false, false},        {"a.Tif", false, true}, // its reader is missing
        {"a.WEB", true, true},                               // it starts the installed "webp"
        {"a.b;*.tif", false, true}, // not letters and digits: the actual text decides
    };
    for (const auto& c : cases) {
        int asked = 0;
        const auto presence = [&](bool present) {
            return std::make_shared<const Presence>([&asked, present] {
                ++asked;
                return present;
            });
        };
        const auto none = [] { return std::unique_ptr<Picture>(); };
        PictureRegistry registry;
        registry.registerFormat(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), none);
        registry.registerFormat(QStringLiteral("tif"), QStringLiteral("TIFF"), none,
                                presence(false));
        registry.registerFormat(QStringLiteral("webp"), QStringLiteral("WebP"), none,
                                presence(true));
        registry.registerFormat(QStringLiteral("jpg"), QStringLiteral("JPEG"), none);
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(pictureNameRule(registry)(name), c.accepted) << c.name;
        EXPECT_EQ(asked > 0, c.asks) << c.name;
        EXPECT_EQ(extensionAccepted(name, combinedExtensionFilter(registry.filterText())),
                  c.accepted)
            << c.name;
    }
}

// --- the built program --------------------------------------------------------

struct Outcome {
    int status;
    QString out;
    QString err;
};

class KadrixBatchTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    // In an English locale unless told otherwise.
    static QProcessEnvironment speaking(const char* lang) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(lang));
        return env;
    }

    Outcome run(const QStringList& arguments, const QByteArray& input = {},
                QByteArray* output = nullptr, const char* lang = "C.UTF-8") {
        QProcess process;
        process.setProcessEnvironment(speaking(lang));
        process.start(QStringLiteral(KADRIX_BATCH_PATH), arguments);
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        const QByteArray out = process.readAllStandardOutput();
        if (output)
            *output = out;
        return {process.exitCode(), QString::fromLocal8Bit(out),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QString writeJpeg(const QString& name, int w, int h) {
        return write(name, test::encodeRaw(test::photoLike(w, h)));
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

TEST_F(KadrixBatchTest, FramesAFolderIntoCroppedWithTheRenameScheme) {
    writeJpeg(QStringLiteral("src/a.jpg"), 900, 700);
    writeJpeg(QStringLiteral("src/b.x.JPG"), 300, 200);
    const Outcome r =
        run({QStringLiteral("--size"), QStringLiteral("64x48"), QStringLiteral("--number"),
             QStringLiteral("2"), QStringLiteral("--jobs"), QStringLiteral("2"),
             dir.filePath(QStringLiteral("src"))});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 framed, 0 skipped, 0 failed")))
        << r.out.toStdString();
    for (const char* name : {"src/cropped/cropped_a01.BMP", "src/cropped/cropped_b02.BMP"}) {
        const QImage result(dir.filePath(QString::fromUtf8(name)));
        EXPECT_EQ(result.size(), QSize(64, 48)) << name;
    }
}

TEST_F(KadrixBatchTest, ExistingResultsAreSkippedUnlessOverwritten) {
    const QString source = writeJpeg(QStringLiteral("a.jpg"), 200, 100);
    const QString out = dir.filePath(QStringLiteral("out"));
    const QString result = out + QStringLiteral("/cropped_a.JPEG");
    const QStringList base{QStringLiteral("--out"),
                           out,
                           QStringLiteral("--format"),
                           QStringLiteral("jpeg"),
                           QStringLiteral("--size"),
                           QStringLiteral("32x32"),
                           source};
    EXPECT_EQ(run(base).status, 0);
    ASSERT_TRUE(QFile::exists(result));
    write(QStringLiteral("out/cropped_a.JPEG"), "keep me");

    const Outcome skipped = run(base);
    EXPECT_EQ(skipped.status, 0);
    EXPECT_TRUE(skipped.err.contains(result)) << skipped.err.toStdString();
    EXPECT_TRUE(skipped.out.contains(QStringLiteral("0 framed, 1 skipped")))
        << skipped.out.toStdString();
    QFile kept(result);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    kept.close();

    EXPECT_EQ(run(QStringList{QStringLiteral("--overwrite")} + base).status, 0);
    EXPECT_EQ(QImage(result).size(), QSize(32, 32));
}

TEST_F(KadrixBatchTest, DryRunPrintsThePlanAndWritesNothing) {
    const QString source = writeJpeg(QStringLiteral("a.jpg"), 643, 477);
    const Outcome r = run({QStringLiteral("--dry-run"), source});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QString result = dir.filePath(QStringLiteral("cropped/cropped_a.BMP"));
    EXPECT_TRUE(r.out.contains(source +
                               QStringLiteral(": 643x477, columns: crop 1 left, crop 2 "
                                              "right; rows: pad 1 top, pad 2 bottom -> ") +
                               result + QStringLiteral(" (new)")))
        << r.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("cropped"))));
}

// With --keep-dates a result carries its source's modification time; without,
// the time it was written. The dry run prints the anchored crop and margins.
TEST_F(KadrixBatchTest, KeptDatesAndAnchoredPlans) {
    const QString source = writeJpeg(QStringLiteral("a.jpg"), 643, 477);
    const QDateTime old = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6, 789), Qt::UTC);
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QString result = dir.filePath(QStringLiteral("cropped/cropped_a.BMP"));
    ASSERT_EQ(run({source}).status, 0);
    EXPECT_GT(QFileInfo(result).lastModified(), old.addYears(10));
    ASSERT_EQ(run({QStringLiteral("--keep-dates"), QStringLiteral("--overwrite"), source}).status,
              0);
    EXPECT_EQ(QFileInfo(result).lastModified().toUTC(), old);

    const Outcome plan = run({QStringLiteral("--dry-run"), QStringLiteral("--gravity"),
                              QStringLiteral("NorthEast"), source});
    EXPECT_TRUE(plan.out.contains(QStringLiteral(": 643x477, columns: crop 3 left, 0 right; rows: "
                                                 "0 top, pad 3 bottom -> ")))
        << plan.out.toStdString();
}

// A photo stored landscape with Orientation 6 (a HEIC file: a rotation of
// its own) is measured (and so framed) upright; --no-auto-orient takes it as
// stored.
TEST_F(KadrixBatchTest, OrientedPhotosAreUprightUnlessAskedNotTo) {
    QImage heifPhoto(96, 64, QImage::Format_RGB888);
    heifPhoto.fill(QColor(40, 90, 160));
    const struct {
        const char* name;
        QByteArray bytes;
        const char *upright, *stored;
    } cases[] = {
        {"a.jpg", test::withApp1(test::encodeRaw(test::photoLike(40, 30)), test::exifBlock(6)),
         ": 30x40", ": 40x30"},
        {"b.HEIC",
         test::withProperties(test::encodeHeif({.picture = heifPhoto}), {test::irotBox(3)}),
         ": 64x96", ": 96x64"},
    };
    for (const auto& c : cases) {
        const QString source = write(QString::fromUtf8(c.name), c.bytes);
        const Outcome upright = run({QStringLiteral("--dry-run"), source});
        EXPECT_TRUE(upright.out.contains(source + QString::fromUtf8(c.upright)))
            << upright.out.toStdString();
        const Outcome stored =
            run({QStringLiteral("--dry-run"), QStringLiteral("--no-auto-orient"), source});
        EXPECT_TRUE(stored.out.contains(source + QString::fromUtf8(c.stored)))
            << stored.out.toStdString();
    }
}

// Photos with a restart marker per MCU row, one stored turned and one with a
// marker out of turn above its window, frame to the same results whichever
// way they are decoded.
TEST_F(KadrixBatchTest, RestartMarkedPhotosFrameAlikeInEveryDecodeMode) {
    const test::EncodeSettings phoneLike{90, false, 2, 2, 25}; // 400 wide: 25 MCUs a row
    const QByteArray plain = test::encodeRaw(test::photoLike(400, 600, 3, 5), phoneLike);
    QByteArray damaged = plain;
    const qsizetype rst3 = damaged.indexOf(QByteArray("\xFF\xD3", 2));
    ASSERT_GT(rst3, 0);
    damaged[rst3 + 1] = char(0xD5);
    write(QStringLiteral("src/a.jpg"), plain);
    write(QStringLiteral("src/b.jpg"), test::withApp1(plain, test::exifBlock(6)));
    write(QStringLiteral("src/c.jpg"), damaged);
    std::map<QString, QByteArray> first;
    for (const char* mode : {"whole", "window", "seek"}) {
        const QString out = dir.filePath(QString::fromUtf8(mode));
        const Outcome r = run({QStringLiteral("--decode"), QString::fromUtf8(mode),
                               QStringLiteral("--size"), QStringLiteral("128x96"),
                               QStringLiteral("--out"), out, dir.filePath(QStringLiteral("src"))});
        EXPECT_TRUE(r.out.contains(QStringLiteral("3 framed, 0 skipped, 0 failed"))) << mode;
        for (const QString& name :
             {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
            QFile file(out + QStringLiteral("/cropped_") + name + QStringLiteral(".BMP"));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << mode;
            const QByteArray bytes = file.readAll();
            if (first.count(name) == 0)
                first[name] = bytes;
            EXPECT_EQ(bytes, first[name]) << mode << " " << name.toStdString();
        }
    }
}

TEST_F(KadrixBatchTest, DamagedAndMissingSourcesFailWhileTheOthersGoOn) {
    writeJpeg(QStringLiteral("src/a.jpg"), 100, 100);
    write(QStringLiteral("src/b.jpg"), "not a picture");
    writeJpeg(QStringLiteral("src/c.jpg"), 100, 100);
    // A sparse file of more than a gigabyte, refused before it is read.
    QFile big(dir.filePath(QStringLiteral("src/d.jpg")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize((qint64(1) << 30) + 1));
    big.close();
    const Outcome r =
        run({QStringLiteral("--jobs"), QStringLiteral("1"), dir.filePath(QStringLiteral("src")),
             dir.filePath(QStringLiteral("gone"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("b.jpg: JPEG error #"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral(": Not a JPEG file: starts with 0x6e 0x6f")))
        << "libjpeg's own text follows the number: " << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("gone: no such file or folder")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("d.jpg: Invalid picture: file too large")))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 framed, 0 skipped, 3 failed")))
        << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("src/cropped/cropped_c.BMP"))));
}

// A result that cannot be made is reported with its cause, and the run goes
// on to its summary.
TEST_F(KadrixBatchTest, FailuresSayWhy) {
    const QString source = writeJpeg(QStringLiteral("a.jpg"), 40, 30);
    const QString out = dir.filePath(QStringLiteral("out"));
    const struct {
        const char* size;
        const char* format;
        QString expected;
    } cases[] = {
        // wider than a JPEG file can be: the encoder's message follows the path
        {"65535x1", "jpeg",
         QStringLiteral("cannot write ") + out + QStringLiteral("/cropped_a.JPEG: JPEG error #")},
        // no canvas of that size can be made
        {"65535x65535", "bmp", QStringLiteral("Invalid result size: 65535 x 65535")},
    };
    for (const auto& c : cases) {
        const Outcome r =
            run({QStringLiteral("--size"), QString::fromLatin1(c.size), QStringLiteral("--format"),
                 QString::fromLatin1(c.format), QStringLiteral("--out"), out, source});
        EXPECT_EQ(r.status, 1) << c.size;
        EXPECT_TRUE(r.err.contains(c.expected)) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("0 framed, 0 skipped, 1 failed")))
            << r.out.toStdString();
    }
}

// A full destination names its cause, and no new picture is started after
// it: each would fail alike.
TEST_F(KadrixBatchTest, AFullDiskStopsTheRunAndSaysHowManyWereNotFramed) {
    const QString small = dir.filePath(QStringLiteral("small"));
    ASSERT_TRUE(QDir().mkpath(small));
    // 3 MB holds three 640 x 480 BMP results, not four.
    if (::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=3m") != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    QStringList arguments{QStringLiteral("--jobs"), QStringLiteral("1"), QStringLiteral("--json"),
                          QStringLiteral("--out"), small};
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.jpg"})
        arguments << writeJpeg(QStringLiteral("src/") + QLatin1String(name), 40, 30);
    const Outcome r = run(arguments);
    const QStringList left = QDir(small).entryList(QDir::Files | QDir::Hidden);
    ::umount2(QFile::encodeName(small).constData(), MNT_DETACH);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("cropped_d.BMP: No space left on device")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("the destination is full: 2 pictures not framed")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("3 framed, 0 skipped, 3 failed")))
        << r.err.toStdString();
    EXPECT_EQ(r.out.count(QStringLiteral("not started: the destination is full")), 2)
        << r.out.toStdString();
    EXPECT_EQ(left.size(), 3) << "whole results only, no temporary";
}

// A one-component JPEG keeps its 256 grey levels, cropped (windowed
// decode) or with margins (whole decode).
TEST_F(KadrixBatchTest, GreySourcesKeepTheirExactLevels) {
    const QString out = dir.filePath(QStringLiteral("out"));
    for (const QSize size : {QSize(300, 260), QSize(50, 40)}) {
        test::RawImage grey = test::gradient(size.width(), size.height(), 1);
        const QByteArray jpeg = test::encodeRaw(grey);
        const std::vector<std::uint8_t> levels = test::referenceGrey(jpeg);
        const Outcome r =
            run({QStringLiteral("--size"), QStringLiteral("120x100"), QStringLiteral("--format"),
                 QStringLiteral("png"), QStringLiteral("--overwrite"), QStringLiteral("--out"), out,
                 write(QStringLiteral("g.jpg"), jpeg)});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QImage result(out + QStringLiteral("/cropped_g.PNG"));
        ASSERT_EQ(result.size(), QSize(120, 100));
        const int dx = (120 - size.width()) / 2, dy = (100 - size.height()) / 2;
        int wrong = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 120; ++x) {
                const int sx = x - dx, sy = y - dy;
                const bool inside = sx >= 0 && sy >= 0 && sx < size.width() && sy < size.height();
                const int level = inside ? levels[std::size_t(sy * size.width() + sx)] : 0;
                wrong += result.pixel(x, y) != qRgb(level, level, level);
            }
        EXPECT_EQ(wrong, 0) << size.width();
    }
}

TEST_F(KadrixBatchTest, BadUsageExitsWithTwo) {
    const Outcome r =
        run({QStringLiteral("--size"), QStringLiteral("big"), QStringLiteral("x.jpg")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--size"))) << r.err.toStdString();
    EXPECT_EQ(
        run({QStringLiteral("--gravity"), QStringLiteral("up"), QStringLiteral("x.jpg")}).status,
        2);
    EXPECT_EQ(run({QStringLiteral("--help")}).status, 0);
    // The format table as this installation has it: a line per format.
    const Outcome formats = run({QStringLiteral("--list-formats")});
    EXPECT_EQ(formats.status, 0);
    const QStringList lines = formats.out.split(u'\n');
    for (const char* line :
         {"bmp    .bmp                     yes   yes", "ico    .ico                     yes   no",
          "jpeg   .jpeg .jpg               yes   yes", "heif   .heic .heif .hif         yes   no"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << formats.out.toStdString();
    // Results into a source folder, one --output for a folder: nothing written.
    writeJpeg(QStringLiteral("src/a.jpg"), 40, 30);
    const QString src = dir.filePath(QStringLiteral("src"));
    EXPECT_EQ(run({QStringLiteral("--out"), src + QStringLiteral("/."), src}).status, 2);
    EXPECT_EQ(run({QStringLiteral("--output"), dir.filePath(QStringLiteral("o.bmp")), src}).status,
              2);
    EXPECT_EQ(QDir(src).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("a.jpg")});
}

// How much a run says: -q nothing on success, -v a line per picture, the
// progress line when asked for even off a terminal.
TEST_F(KadrixBatchTest, QuietVerboseAndProgressSayWhatTheyAreAskedTo) {
    const QString source = writeJpeg(QStringLiteral("a.jpg"), 40, 30);
    const struct {
        const char* option;
        QString out, err; // expected within; "" for nothing at all
    } cases[] = {
        {"-q", {}, {}},
        {"-v", QStringLiteral("1 framed"), source + QStringLiteral(" -> ")},
        {"--progress=always", QStringLiteral("1 framed"), QStringLiteral("] 1/1")},
    };
    for (const auto& c : cases) {
        const Outcome r = run({QString::fromLatin1(c.option), QStringLiteral("--overwrite"),
                               QStringLiteral("-s16x16"), source});
        EXPECT_EQ(r.status, 0) << c.option;
        EXPECT_TRUE(c.out.isEmpty() ? r.out.isEmpty() : r.out.contains(c.out))
            << c.option << r.out.toStdString();
        EXPECT_TRUE(c.err.isEmpty() ? r.err.isEmpty() : r.err.contains(c.err))
            << c.option << r.err.toStdString();
    }
}

// A picture from standard input to standard output, and input that is none.
TEST_F(KadrixBatchTest, PicturesPassThroughPipes) {
    QByteArray out;
    const Outcome r = run({QStringLiteral("-s"), QStringLiteral("80x60"), QStringLiteral("-f"),
                           QStringLiteral("jpeg"), QStringLiteral("-"), QStringLiteral("--output"),
                           QStringLiteral("-")},
                          test::encodeRaw(test::photoLike(200, 150)), &out);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage::fromData(out, "JPEG").size(), QSize(80, 60));
    // A reader that goes away: a message, and no temporary left.
    const QString picture = writeJpeg(QStringLiteral("in.jpg"), 64, 48);
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(tmp));
    QProcess shell;
    QProcessEnvironment env = speaking("C.UTF-8");
    env.insert(QStringLiteral("TMPDIR"), tmp);
    shell.setProcessEnvironment(env);
    shell.start(QStringLiteral("bash"),
                {QStringLiteral("-c"),
                 QStringLiteral("\"$0\" -s 3000x3000 - --output - < \"$1\" | head -c 1 "
                                ">/dev/null; exit ${PIPESTATUS[0]}"),
                 QStringLiteral(KADRIX_BATCH_PATH), picture});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 1);
    EXPECT_TRUE(shell.readAllStandardError().contains("cannot write to standard output"));
    EXPECT_TRUE(QDir(tmp).isEmpty());
    const Outcome none =
        run({QStringLiteral("-"), QStringLiteral("--output"), QStringLiteral("-")}, "hello", &out);
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("-: not a picture"))) << none.err.toStdString();
    EXPECT_TRUE(out.isEmpty());
}

// The shared code's French texts in English, and kadrix-batch's own texts in
// French under a French locale; the JSON lines keep English.
TEST_F(KadrixBatchTest, MessagesSpeakTheLocalesLanguage) {
    const QString source = writeJpeg(QStringLiteral("a.jpg"), 40, 30);
    const QString gone = dir.filePath(QStringLiteral("gone.jpg"));
    const QStringList arguments{QStringLiteral("--size"), QStringLiteral("65535x65535"), source,
                                gone};
    const struct {
        const char* lang;
        QString shared, own;
    } cases[] = {
        {"C.UTF-8", QStringLiteral("Invalid result size: 65535 x 65535"),
         QStringLiteral("no such file or folder")},
        {"fr_FR.UTF-8", QStringLiteral("Taille finale invalide: 65535 * 65535"),
         QStringLiteral("fichier ou dossier introuvable")},
    };
    for (const auto& c : cases) {
        const Outcome r = run(arguments, {}, nullptr, c.lang);
        EXPECT_TRUE(r.err.contains(c.shared)) << c.lang << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.own)) << c.lang << r.err.toStdString();
        const Outcome json =
            run(QStringList{QStringLiteral("--json")} + arguments, {}, nullptr, c.lang);
        EXPECT_TRUE(json.out.contains(QStringLiteral("Invalid result size: 65535 x 65535")) &&
                    json.out.contains(QStringLiteral("no such file or folder")))
            << c.lang << json.out.toStdString();
    }
}

// SIGTERM: the pictures in hand are finished and committed, the others not
// started; every committed result has its JSON line, no temporary is left,
// and a re-run completes the set.
TEST_F(KadrixBatchTest, SigtermEndsTheRunAfterThePicturesInHand) {
    for (int i = 0; i < 8; ++i)
        writeJpeg(QStringLiteral("src/p%1.jpg").arg(i), 1600, 1200);
    const QString out = dir.filePath(QStringLiteral("out"));
    const QStringList arguments{QStringLiteral("--json"),
                                QStringLiteral("-j2"),
                                QStringLiteral("-s"),
                                QStringLiteral("1500x1100"),
                                QStringLiteral("-f"),
                                QStringLiteral("png"),
                                QStringLiteral("-o"),
                                out,
                                dir.filePath(QStringLiteral("src"))};
    QProcess process;
    process.setProcessEnvironment(speaking("C.UTF-8"));
    process.start(QStringLiteral(KADRIX_BATCH_PATH), arguments);
    ASSERT_TRUE(process.waitForReadyRead(60000)); // the first JSON line: a picture is done
    ::kill(pid_t(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 143);
    const QStringList lines =
        QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_LT(lines.size(), 8);
    QStringList committed;
    for (const QString& line : lines) {
        EXPECT_TRUE(line.contains(QStringLiteral("\"status\":\"framed\""))) << line.toStdString();
        committed << QFileInfo(line.section(QStringLiteral("\"result\":\""), 1).section(u'"', 0, 0))
                         .fileName();
    }
    committed.sort();
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name), committed);
    for (const QString& name : committed)
        EXPECT_EQ(QImage(out + u'/' + name).size(), QSize(1500, 1100)) << name.toStdString();
    EXPECT_TRUE(QString::fromLocal8Bit(process.readAllStandardError())
                    .contains(QStringLiteral("stopped by SIGTERM")));
    EXPECT_EQ(run(arguments).status, 0);
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 8);
}

} // namespace
} // namespace kadrix::cli
