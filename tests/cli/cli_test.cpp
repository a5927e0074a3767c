#include "batch_options.h"
#include "batch_plan.h"
#include "exif_blocks.h"
#include "heif_files.h"
#include "jpeg_test_files.h"
#include "picture_registry.h"
#include "source_collection.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

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
}

TEST(BatchOptionsTest, EveryOptionIsRead) {
    // clang-format off
    const ParsedArguments parsed = parseArguments(
        args({"--size",        "320x200",  "--wipe",    "#FF8000",   "--out",         "/tmp/x",
              "--format",      "jpeg",     "--quality", "50",        "--progressive", "--grey",
              "--subsampling", "--prefix", "",          "--no-name", "--suffix",      "_s",
              "--number",      "3:7",      "--jobs",    "1",         "--dry-run",     "--overwrite",
              "--decode",      "whole",    "--no-auto-orient",      "a",         "b"}),
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
}

TEST(BatchOptionsTest, WrongArgumentsAreUsageErrors) {
    const std::vector<QStringList> wrong = {
        args({}),
        args({"--size", "640", "a"}),
        args({"--size", "0x480", "a"}),
        args({"--size", "640x99999", "a"}),
        args({"--wipe", "red", "a"}),
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
    };
    for (const QStringList& arguments : wrong) {
        const ParsedArguments parsed = parseArguments(arguments, 2);
        EXPECT_FALSE(parsed.options) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(parsed.usageError.isEmpty()) << arguments.join(u' ').toStdString();
    }
    const ParsedArguments help = parseArguments(args({"--help"}), 2);
    EXPECT_FALSE(help.options);
    for (const char* option :
         {"--size", "--wipe", "--out", "--format", "--quality", "--progressive", "--grey",
          "--subsampling", "--prefix", "--no-name", "--suffix", "--number", "--jobs", "--dry-run",
          "--overwrite", "--decode", "--strip"})
        EXPECT_TRUE(help.helpText.contains(QString::fromUtf8(option))) << option;
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
    QDir(dir.path()).mkdir(QStringLiteral("sub.jpg"));
    const QString single = dir.filePath(QStringLiteral("notes.txt"));
    const QString before = QDir::currentPath();
    const CollectedSources collected =
        collectSources({single, dir.path(), dir.filePath(QStringLiteral("gone.jpg"))},
                       pictureNameRule(pictureRegistry()));
    EXPECT_EQ(QDir::currentPath(), before);
    QStringList names;
    for (const SourceFile& f : collected.files)
        names << f.name;
    // "B.jpg" and "b.JPG" differ only in case: the first by name is kept.
    EXPECT_EQ(names, (QStringList{QStringLiteral("notes.txt"), QStringLiteral("B.jpg"),
                                  QStringLiteral("a.bmp"), QStringLiteral("c.Jpeg"),
                                  QStringLiteral("d.HEIC"), QStringLiteral("e.avif"),
                                  QStringLiteral("f.Hif"), QStringLiteral("g.heif")}));
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

    Outcome run(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(KADRIX_BATCH_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
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
    const Outcome r =
        run({QStringLiteral("--jobs"), QStringLiteral("1"), dir.filePath(QStringLiteral("src")),
             dir.filePath(QStringLiteral("gone"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("b.jpg: JPEG error #"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral(": Not a JPEG file: starts with 0x6e 0x6f")))
        << "libjpeg's own text follows the number: " << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("gone: no such file or folder")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 framed, 0 skipped, 2 failed")))
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
        {"65535x65535", "bmp", QStringLiteral("Taille finale invalide: 65535 * 65535")},
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
    EXPECT_EQ(run({QStringLiteral("--help")}).status, 0);
}

} // namespace
} // namespace kadrix::cli
