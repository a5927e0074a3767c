#include "batch_options.h"
#include "batch_plan.h"
#include "batch_run.h"
#include "exif_blocks.h"
#include "heif_files.h"
#include "jpeg_test_files.h"
#include "native_name.h"
#include "picture_registry.h"
#include "reporter.h"
#include "source_collection.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kadrix::cli {
namespace {

using namespace Qt::StringLiterals;

QStringList args(std::initializer_list<const char*> items) {
    QStringList list{u"kadrix-batch"_s};
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
    EXPECT_EQ(o.scheme.extensionItem, u"*.BMP"_s);
    TJPEGDefaults dialogButExactGrey = DialogJpegDefaults;
    dialogButExactGrey.ExactGrey = true; // grey files keep their 256 levels
    EXPECT_EQ(o.jpeg, dialogButExactGrey);
    EXPECT_EQ(o.jpeg.CompressionQuality, 95);
    EXPECT_FALSE(o.jpeg.HorzSubSampling);
    EXPECT_TRUE(o.jpeg.AutoOrient);
    EXPECT_EQ(o.scheme.prefix, u"cropped_"_s);
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
    EXPECT_EQ(o.inputs, (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(o.size, QSize(320, 200));
    EXPECT_EQ(o.wipe, makeColour(0xFF, 0x80, 0x00));
    EXPECT_EQ(o.outDir, u"/tmp/x"_s);
    EXPECT_EQ(o.scheme.extensionItem, u"*.JPG;*.JPEG"_s);
    EXPECT_EQ(o.jpeg.CompressionQuality, 50);
    EXPECT_TRUE(o.jpeg.ProgressiveEncoding && o.jpeg.GrayScale);
    EXPECT_TRUE(o.jpeg.HorzSubSampling && o.jpeg.VertSubSampling);
    EXPECT_FALSE(o.jpeg.AutoOrient);
    EXPECT_FALSE(o.scheme.prefixOn || o.scheme.nameOn);
    EXPECT_TRUE(o.scheme.suffixOn && o.scheme.numberOn);
    EXPECT_EQ(o.scheme.digits, u"3"_s);
    EXPECT_EQ(o.scheme.start, u"7"_s);
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
    EXPECT_EQ(parseAnchor(u"up"_s), std::nullopt);
    EXPECT_EQ(parseFill(u"Color"_s), Fill::WipeColour);
    EXPECT_EQ(parseFill(u"stretch"_s), std::nullopt);
}

// A wrong use is refused with a message, a wrong direction or fill naming the
// accepted ones; the help names every option, with its short form if it has one.
TEST(BatchOptionsTest, WrongArgumentsAreUsageErrors) {
    const struct {
        QStringList arguments;
        const char* named = ""; // within the message
    } wrong[] = {
        // clang-format off
        {args({})},                                      {args({"--size", "640", "a"})},
        {args({"--size", "0x480", "a"})},                {args({"--size", "640x99999", "a"})},
        {args({"--wipe", "reddish", "a"})},              {args({"--wipe", "#12345", "a"})},
        {args({"--format", "gif", "a"})},                {args({"--quality", "4", "a"})},
        {args({"--quality", "96", "a"})},                {args({"--number", "0", "a"})},
        {args({"--number", "3:x", "a"})},                {args({"--jobs", "0", "a"})},
        {args({"--out", "", "a"})},                      {args({"--bogus", "a"})},
        {args({"--decode", "fast", "a"})},               {args({"--png-level", "10", "a"})},
        {args({"--png-level", "-1", "a"})},              {args({"--tiff-compression", "zip", "a"})},
        {args({"--tiff-compression", "deflate", "a"})}, // Qt's TIFF writer has no deflate
        {args({"--webp-quality", "101", "a"})},
        {args({"--format", "ico", "a"})}, // read, never written
        {args({"--progress", "sometimes", "a"})},        {args({"-q", "-v", "a"})},
        {args({"-j", "x", "a"})},                        {args({"--output", "o", "a", "b"})},
        {args({"--output", "o", "--output", "p", "a"})},
        {args({"--output", "o", "--files-from", "list", "a"})},
        {args({"--json", "--output", "-", "a"})},
        {args({"--gravity", "up", "a"}), "north-east"},
        {args({"--bogus", "a"}), "'--bogus'"},           {args({"-Z", "a"}), "'-Z'"},
        {args({"-f", "jpeg", "--output", "y.png", "a"}), "png"},
        {args({"--prefix", "../x_", "a"}), "/"},        {args({"--suffix", "a/b", "a"}), "/"},
        {args({"--wipe", "#80ff0000", "a"})},            {args({"--wipe", "transparent", "a"})},
        {args({"-", "-"}), "once"},                      {args({"--files-from", "-", "-"}), "once"},
        {args({"--memory", "lots", "a"})},               {args({"--memory", "0", "a"})},
        {args({"--fill", "stretch", "a"}), "mirror"},
        {args({"--size", "0:9", "a"}), "W:H"},           {args({"--size", "-16:9", "a"}), "W:H"},
        {args({"--size", "a:9", "a"}), "WxH"},           {args({"--size", "1:2:3", "a"}), "W:H"},
        {args({"--ratio", "pad", "a"}), "W:H"},          {args({"--size", "4:3", "--ratio", "fit", "a"}), "pad"},
        // clang-format on
    };
    for (const auto& c : wrong) {
        const ParsedArguments parsed = parseArguments(c.arguments, 2);
        const std::string shown = c.arguments.join(u' ').toStdString();
        EXPECT_FALSE(parsed.options) << shown;
        EXPECT_FALSE(parsed.usageError.isEmpty()) << shown;
        EXPECT_TRUE(parsed.usageError.contains(QString::fromUtf8(c.named))) << shown;
    }
    const ParsedArguments help = parseArguments(args({"--help"}), 2);
    EXPECT_FALSE(help.options);
    // clang-format off
    for (const char* option : {"-s, --size", "--wipe", "-o, --out", "-f, --format", "--quality",
            "--progressive", "--grey", "--subsampling", "--prefix", "--no-name", "--suffix",
            "--number", "-j, --jobs", "--dry-run", "--overwrite", "--decode", "--strip",
            "--png-level", "--tiff-compression", "--webp-quality", "--list-formats", "--gravity",
            "--fill", "--keep-dates", "-V, --version", "-q, --quiet", "-v, --verbose",
            "--progress", "--output"})
        // clang-format on
        EXPECT_TRUE(help.helpText.contains(QString::fromUtf8(option))) << option;
}

// Short, compact and long forms read alike; "--" ends the options.
TEST(BatchOptionsTest, OptionFormsAgree) {
    const auto summary = [](const QStringList& arguments) {
        const ParsedArguments parsed = parseArguments(arguments, 2);
        if (!parsed.options)
            return parsed.usageError.toStdString();
        const BatchOptions& o = *parsed.options;
        return u"%1 %2x%3 %4 %5 %6 %7 %8 %9"_s.arg(o.inputs.join(u','))
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
              (QStringList{u"-s"_s, u"--out"_s}));
    for (const char* version : {"-V", "--version"})
        EXPECT_TRUE(parseArguments(args({version}), 2).versionText.startsWith(u"kadrix-batch 1"));
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
                 {"#80ff0000", std::nullopt}, // results have no alpha to keep it
                 {"transparent", std::nullopt},
                 {"whitish", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(parseWipe(QString::fromUtf8(c.text)), c.colour) << c.text;
}

TEST(ReporterTest, ControlCharactersAndForeignBytesAreShownEscaped) {
    const struct {
        QString name;
        QString shown;
    } cases[] = {
        {u"a\nb\tc\x1b[31m\x7f.jpg"_s, u"a\\nb\\tc\\x1b[31m\\x7f.jpg"_s},
        {nameFromNative("caf\xE9.jpg"), u"caf\\xe9.jpg"_s},
        {u"Été.jpg"_s, u"Été.jpg"_s},
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
    EXPECT_EQ(planLine(u"a.jpg"_s, 643, 477, QSize(640, 480), u"r"_s, true, Anchor::SouthWest),
              QStringLiteral("a.jpg: 643x477, columns: 0 left, crop 3 right; rows: pad 3 top, 0 "
                             "bottom -> r (exists)"));
    EXPECT_EQ(planLine(u"/s/a%1.jpg"_s, 643, 477, QSize(640, 480), u"/s/cropped/cropped_a%1.BMP"_s,
                       false),
              QStringLiteral("/s/a%1.jpg: 643x477, columns: crop 1 left, crop 2 right; rows: pad 1 "
                             "top, pad 2 bottom -> /s/cropped/cropped_a%1.BMP (new)"));
    // Placed by hand: where, and where from when it was out of reach.
    EXPECT_EQ(planLine(u"a.jpg"_s, 643, 477, FrameGeometry{QSize(640, 480), QPoint(3, -2)}, u"r"_s,
                       false, false, QPoint(9, -2)),
              QStringLiteral("a.jpg: 643x477, columns: crop 3 left, 0 right; rows: pad 2 top, pad "
                             "1 bottom; placed at 3,-2 (clamped from 9,-2) -> r (new)"));
}

TEST(BatchPlanTest, ResultsAreNamedByTheRenameScheme) {
    BatchOptions options =
        *parseArguments(args({"--number", "3:7", "--suffix", "_x", "a"}), 1).options;
    const SourceFile file{u"/photos/"_s, u"IMG.1.jpg"_s};
    EXPECT_EQ(resultPathOf(options, file, 2), u"/photos/cropped/cropped_IMG_x009.BMP"_s);
    options.outDir = u"/out"_s;
    options.scheme.extensionItem = u"*.JPG;*.JPEG"_s;
    EXPECT_EQ(resultPathOf(options, file, 0), u"/out/cropped_IMG_x007.JPEG"_s);
}

TEST(SourceCollectionTest, FoldersGiveTheirPicturesByTheCombinedExtensionRule) {
    const QString filter = combinedExtensionFilter(pictureRegistry().filterText());
    EXPECT_TRUE(filter.startsWith(u"TOUS ("_s));
    EXPECT_TRUE(filter.contains(u"*.JPG"_s));

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
    QDir(dir.path()).mkdir(u"sub.jpg"_s);
    const QString single = dir.filePath(u"notes.txt"_s);
    const QString before = QDir::currentPath();
    const CollectedSources collected = collectSources(
        {single, dir.path(), dir.filePath(u"gone.jpg"_s)}, pictureNameRule(pictureRegistry()));
    EXPECT_EQ(QDir::currentPath(), before);
    QList<QByteArray> names;
    for (const SourceFile& f : collected.files)
        names << nativeName(f.name);
    // "B.jpg" and "b.JPG" differ only in case: two files, both kept; the
    // names that are not UTF-8 keep their bytes.
    EXPECT_EQ(names, (QList<QByteArray>{"notes.txt", "B.jpg", "a.bmp", "b.JPG", "c.Jpeg", "d.HEIC",
                                        "d\xfe.jpg", "d\xff.jpg", "e.avif", "f.Hif", "g.heif"}));
    EXPECT_EQ(collected.files[1].folder, QDir(dir.path()).absolutePath() + u'/');
    EXPECT_EQ(collected.missing, QStringList{dir.filePath(u"gone.jpg"_s)});
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
        registry.registerFormat(u"bmp"_s, u"Bitmaps"_s, none);
        registry.registerFormat(u"tif"_s, u"TIFF"_s, none, presence(false));
        registry.registerFormat(u"webp"_s, u"WebP"_s, none, presence(true));
        registry.registerFormat(u"jpg"_s, u"JPEG"_s, none);
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(pictureNameRule(registry)(name), c.accepted) << c.name;
        EXPECT_EQ(asked > 0, c.asks) << c.name;
        EXPECT_EQ(extensionAccepted(name, combinedExtensionFilter(registry.filterText())),
                  c.accepted)
            << c.name;
    }
}

// Every text the shared code marks for translation (the loaders', the
// bitmaps', the framing's: French, as the window shows them) has its English
// words in kadrix-batch's translations, so that no French reaches an English
// run or a JSON line.
TEST(TranslationsTest, EveryTextOfTheSharedCodeHasItsEnglish) {
    const QString root = QStringLiteral(KADRIX_SOURCE_DIR);
    QFile ts(root + u"/cli/translations/kadrix-batch_en.ts"_s);
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    const QString catalogue = QString::fromUtf8(ts.readAll());
    // QT_TRANSLATE_NOOP("kadrix", "piece" "piece"...), over several lines.
    static const QRegularExpression marked(
        uR"re(QT_TRANSLATE_NOOP\(\s*"kadrix",\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\))re"_s);
    static const QRegularExpression piece(uR"re("((?:[^"\\]|\\.)*)")re"_s);
    int texts = 0;
    for (const char* folder : {"platform", "processing", "jpeg", "heif", "metadata"}) {
        QDirIterator files(root + u'/' + QLatin1String(folder), {u"*.cpp"_s, u"*.h"_s});
        while (files.hasNext()) {
            QFile file(files.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString code = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch& m : marked.globalMatch(code)) {
                QString text;
                for (const QRegularExpressionMatch& p : piece.globalMatch(m.captured(1)))
                    text += p.captured(1);
                text.replace(u"\\\""_s, u"\""_s).replace(u"&"_s, u"&amp;"_s);
                text.replace(u"'"_s, u"&apos;"_s).replace(u"\""_s, u"&quot;"_s);
                text.replace(u"<"_s, u"&lt;"_s).replace(u">"_s, u"&gt;"_s);
                ++texts;
                const qsizetype at = catalogue.indexOf(u"<source>"_s + text + u"</source>"_s);
                EXPECT_GE(at, 0) << "not gathered: " << text.toStdString();
                const qsizetype translation = catalogue.indexOf(u"<translation"_s, at);
                EXPECT_TRUE(at >= 0 && catalogue.mid(translation, 13) == u"<translation>"_s &&
                            catalogue.mid(translation + 13, 14) != u"</translation>"_s)
                    << "no English: " << text.toStdString();
            }
        }
    }
    EXPECT_GT(texts, 20);
}

// --- the built program --------------------------------------------------------

using KadrixBatchTest = BatchRunTest;

TEST_F(KadrixBatchTest, FramesAFolderIntoCroppedWithTheRenameScheme) {
    writeJpeg("src/a.jpg", 900, 700);
    writeJpeg("src/b.x.JPG", 300, 200);
    expectRun({"folder",
               {"--size", "64x48", "--number", "2", "--jobs", "2", "~/src"},
               0,
               {"2 framed, 0 skipped, 0 failed"},
               {},
               {{"~/src/cropped/cropped_a01.BMP", {64, 48}},
                {"~/src/cropped/cropped_b02.BMP", {64, 48}}}});
}

TEST_F(KadrixBatchTest, ExistingResultsAreSkippedUnlessOverwritten) {
    const QString source = writeJpeg("a.jpg", 200, 100);
    const QString result = dir.filePath("out/cropped_a.JPEG");
    const QStringList base{"--out", dir.filePath("out"), "--format", "jpeg", "--size", "32x32",
                           source};
    EXPECT_EQ(run(base).status, 0);
    ASSERT_TRUE(QFile::exists(result));
    write("out/cropped_a.JPEG", "keep me");

    const Outcome skipped = run(base);
    EXPECT_EQ(skipped.status, 0);
    EXPECT_TRUE(skipped.err.contains(result)) << skipped.err.toStdString();
    EXPECT_TRUE(skipped.out.contains(u"0 framed, 1 skipped"_s)) << skipped.out.toStdString();
    QFile kept(result);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    kept.close();

    EXPECT_EQ(run(QStringList{"--overwrite"} + base).status, 0);
    EXPECT_EQ(QImage(result).size(), QSize(32, 32));
}

// The dry run writes nothing and prints each source's plan: measured upright
// from its Orientation (a HEIC file: a rotation of its own) unless told not
// to, cropped and padded about its anchor.
TEST_F(KadrixBatchTest, DryRunsPrintThePlanAndWriteNothing) {
    writeJpeg("a.jpg", 643, 477);
    write("turned.jpg",
          test::withApp1(test::encodeRaw(test::photoLike(40, 30)), test::exifBlock(6)));
    QImage heifPhoto(96, 64, QImage::Format_RGB888);
    heifPhoto.fill(QColor(40, 90, 160));
    write("turned.HEIC",
          test::withProperties(test::encodeHeif({.picture = heifPhoto}), {test::irotBox(3)}));
    const std::vector<std::pair<QString, QSize>> nothing{{"~/cropped", {}}};
    // clang-format off
    const RunCase cases[] = {
        {"centred", {"--dry-run", "~/a.jpg"}, 0,
         {"~/a.jpg: 643x477, columns: crop 1 left, crop 2 right; rows: pad 1 top, pad 2 bottom "
          "-> ~/cropped/cropped_a.BMP (new)"}, {}, nothing},
        {"anchored", {"--dry-run", "--gravity", "NorthEast", "~/a.jpg"}, 0,
         {": 643x477, columns: crop 3 left, 0 right; rows: 0 top, pad 3 bottom -> "}, {}, nothing},
        {"JPEG upright", {"--dry-run", "~/turned.jpg"}, 0, {"~/turned.jpg: 30x40"}, {}, nothing},
        {"JPEG as stored", {"--dry-run", "--no-auto-orient", "~/turned.jpg"}, 0,
         {"~/turned.jpg: 40x30"}, {}, nothing},
        {"HEIC upright", {"--dry-run", "~/turned.HEIC"}, 0, {"~/turned.HEIC: 64x96"}, {}, nothing},
        {"HEIC as stored", {"--dry-run", "--no-auto-orient", "~/turned.HEIC"}, 0,
         {"~/turned.HEIC: 96x64"}, {}, nothing},
        {"ratio cropped", {"--dry-run", "--size", "16:9", "~/a.jpg"}, 0,
         {"~/a.jpg: 643x477, result 643x362, columns: 0 left, 0 right; rows: crop 57 top, "
          "crop 58 bottom -> "}, {}, nothing},
        {"ratio padded", {"--dry-run", "--size", "1:1", "--ratio", "pad", "~/turned.jpg"}, 0,
         {"~/turned.jpg: 30x40, result 40x40, columns: pad 5 left, pad 5 right; rows: 0 top, "
          "0 bottom -> "}, {}, nothing},
    };
    // clang-format on
    for (const RunCase& c : cases)
        expectRun(c);
}

// With --keep-dates a result carries its source's modification time; without,
// the time it was written.
TEST_F(KadrixBatchTest, ResultsKeepTheirSourcesDateWhenAsked) {
    const QString source = writeJpeg("a.jpg", 643, 477);
    const QDateTime old = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6, 789), Qt::UTC);
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QString result = dir.filePath("cropped/cropped_a.BMP");
    ASSERT_EQ(run({source}).status, 0);
    EXPECT_GT(QFileInfo(result).lastModified(), old.addYears(10));
    ASSERT_EQ(run({"--keep-dates", "--overwrite", source}).status, 0);
    EXPECT_EQ(QFileInfo(result).lastModified().toUTC(), old);
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
    write("src/a.jpg", plain);
    write("src/b.jpg", test::withApp1(plain, test::exifBlock(6)));
    write("src/c.jpg", damaged);
    std::map<QString, QByteArray> first;
    for (const QString& mode : {u"whole"_s, u"window"_s, u"seek"_s}) {
        const QString out = dir.filePath(mode);
        const Outcome r =
            run({"--decode", mode, "--size", "128x96", "--out", out, dir.filePath("src")});
        EXPECT_TRUE(r.out.contains(u"3 framed, 0 skipped, 0 failed"_s)) << mode.toStdString();
        for (const QString& name : {u"a"_s, u"b"_s, u"c"_s}) {
            QFile file(out + u"/cropped_"_s + name + u".BMP"_s);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << mode.toStdString();
            const QByteArray bytes = file.readAll();
            if (first.count(name) == 0)
                first[name] = bytes;
            EXPECT_EQ(bytes, first[name]) << mode.toStdString() << " " << name.toStdString();
        }
    }
}

// A source or a result that cannot be made is reported with its cause, and
// the run goes on with the others to its summary.
TEST_F(KadrixBatchTest, FailuresSayWhyWhileTheOthersGoOn) {
    writeJpeg("a.jpg", 40, 30);
    writeJpeg("src/a.jpg", 100, 100);
    write("src/b.jpg", "not a picture");
    writeJpeg("src/c.jpg", 100, 100);
    writeJpeg("e.jpg", 40, 30);
    // Three codes of one bit: a table refused only once pixels are decoded.
    QByteArray huff = test::encodeRaw(test::photoLike(300, 200));
    const qsizetype dht = huff.indexOf("\xFF\xC4");
    huff[dht + 5] = 3;
    huff[dht + 7] = char(huff[dht + 7] - 3);
    write("huff.jpg", huff);
    // A frame header claiming 30,000 x 30,000: an eighth of it is 3,750 pixels a side.
    QByteArray claim = test::encodeRaw(test::photoLike(16, 16));
    const qsizetype sof = claim.indexOf("\xFF\xC0"); // then length, precision, height, width
    qToBigEndian<quint16>(30000, claim.data() + sof + 5);
    qToBigEndian<quint16>(30000, claim.data() + sof + 7);
    write("claim.jpg", claim);
    // A sparse file of more than a gigabyte, refused before it is read.
    QFile big(dir.filePath("src/d.jpg"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize((qint64(1) << 30) + 1));
    big.close();
    // clang-format off
    const RunCase cases[] = {
        {"damaged and missing sources", {"--jobs", "1", "~/src", "~/gone"}, 1,
         {"2 framed, 0 skipped, 3 failed"},
         {"b.jpg: JPEG error #",
          ": Not a JPEG file: starts with 0x6e 0x6f", // libjpeg's own text follows the number
          "gone: no such file or folder", "d.jpg: Invalid picture: file too large"},
         {{"~/src/cropped/cropped_c.BMP", {640, 480}}}},
        // wider than a JPEG file can be: the encoder's message follows the path
        {"too wide for JPEG",
         {"--size", "65535x1", "--format", "jpeg", "--out", "~/out", "~/a.jpg"}, 1,
         {"0 framed, 0 skipped, 1 failed"}, {"cannot write ~/out/cropped_a.JPEG: JPEG error #"}},
        // refused by its size before the picture is decoded or its memory counted
        {"padded past JPEG's width", {"--memory", "64M", "--size", "65535:1", "--ratio", "pad",
         "--format", "jpeg", "--out", "~/out", "~/a.jpg"}, 1, {"0 framed, 0 skipped, 1 failed"},
         {"cropped_a.JPEG: JPEG error #41: Maximum supported image dimension is 65500 pixels"}},
        {"too wide for WebP",
         {"--size", "16384x1", "--format", "webp", "--out", "~/out", "~/a.jpg"}, 1,
         {"0 framed, 0 skipped, 1 failed"},
         {"cannot write ~/out/cropped_a.WEBP: too large for a WebP file: at most 16383 pixels"}},
        // no canvas of that size can be made
        {"no such canvas",
         {"--size", "65535x65535", "--format", "bmp", "--out", "~/out", "~/a.jpg"}, 1,
         {"0 framed, 0 skipped, 1 failed"}, {"Invalid result size: 65535 x 65535"}},
        {"standard input that is none", {"-", "--output", "-"}, 1, {""}, {"-: not a picture"}, {},
         "hello"},
        // refused at its first bytes: read on, it would be "more than 1073741824 bytes"
        {"standard input of zeros", {"-", "--out", "~/z"}, 1, {"0 framed, 0 skipped, 1 failed"},
         {"-: not a picture\n"}, {{"~/z", {}}}, {}, "C.UTF-8", nullptr, 0, "/dev/zero"},
        // more than is kept in memory, and a temporary folder where no file can be made
        {"standard input kept nowhere", {"-", "--out", "~/k"}, 1, {},
         {"-: cannot keep standard input in /proc/self: "}, {{"~/k", {}}},
         QByteArray("\xFF\xD8\xFF") + QByteArray(17 << 20, '\0'), "C.UTF-8", nullptr, 0, nullptr,
         {"TMPDIR=/proc/self"}},
        // every source counted once, in the singular when one
        {"a missing file", {"-j4", "~/gone.jpg"}, 1,
         {"0 framed, 0 skipped, 1 failed (1 source, ", " ms per source, 1 job)"}},
        {"a file and a missing one", {"-j4", "~/a.jpg", "~/gone.jpg", "--out", "~/two"}, 1,
         {"1 framed, 0 skipped, 1 failed (2 sources, ", "1 job)"}},
        // output that cannot be written is an error, never lost silently
        {"JSON lines lost", {"--json", "--out", "~/lost", "~/a.jpg"}, 1, {},
         {"cannot write to standard output: No space left on device"}, {}, {}, "C.UTF-8",
         "/dev/full"},
        {"help lost", {"--help"}, 2, {}, {"cannot write to standard output: No space left on"},
         {}, {}, "C.UTF-8", "/dev/full"},
        // a write past the file size limit stops the run as a full disk does
        {"file size limit", {"-j1", "--json", "--out", "~/big", "~/a.jpg", "~/src/a.jpg",
         "~/src/c.jpg"}, 1, {"\"error\":\"not started: the file size limit is reached\""},
         {"cropped_a.BMP: File too large", "stopped, the file size limit is reached: 2 pictures "
          "not framed", "0 framed, 0 skipped, 3 failed (3 sources"}, {}, {}, "C.UTF-8", nullptr,
         10240},
        // as does a destination closed, gone, or taking no name that long, seen before the
        // picture is read (b.jpg is none)
        {"name too long", {"-j1", "--prefix", QString(260, u'x'), "--out", "~/long",
         "~/src/b.jpg", "~/src/c.jpg"}, 1, {"0 framed, 0 skipped, 2 failed"},
         {"File name too long", "stopped, the destination cannot be written: File name too long: "
          "1 picture not framed"}},
        {"destination closed", {"-j1", "--out", "~/closed", "~/src/b.jpg", "~/src/c.jpg"}, 1,
         {"0 framed, 0 skipped, 2 failed"},
         {"b.jpg: cannot write ~/closed/cropped_b.BMP: Permission denied", "stopped, the "
          "destination cannot be written: Permission denied: 1 picture not framed"}},
        {"destination moved away", {"-j1", "--out", "~/moving", "~/a.jpg", "~/src/c.jpg",
         "~/e.jpg"}, 1, {"1 framed, 0 skipped, 2 failed"},
         {"c.jpg: cannot write ~/moving/cropped_c.BMP: No such file or directory",
          "stopped, the destination folder is gone: 1 picture not framed"},
         {{"~/moved/cropped_a.BMP", {640, 480}}, {"~/moving", {}}}, {}, "C.UTF-8", nullptr, 0,
         nullptr, {"LD_PRELOAD=" NAMED_TEMPORARIES_PRELOAD, "KADRIX_MOVE_AFTER_RENAME=1:~/moving:~/moved",
         "ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0"}},
        // a device or a FIFO at the result path is written into, /dev/stdout is standard output
        {"into /dev/null", {"-s16x16", "--output", "/dev/null", "~/a.jpg"}, 0,
         {""}, {"1 framed, 0 skipped, 0 failed"}},
        {"into /dev/stdout", {"--overwrite", "-s16x16", "--output", "/dev/stdout", "~/a.jpg"}, 0,
         {"BM"}, {"1 framed"}},
        {"a folder as --output", {"--output", "~/src", "~/a.jpg"}, 2, {""}, {"not the folder"}},
        // the canvas and the encoder's buffers count too: 640 x 480 takes more than 1 MB
        {"--memory", {"--memory", "1M", "-f", "png", "--out", "~/m", "~/a.jpg"}, 1, {"0 framed"},
         {"not enough memory: the picture needs 4 MB, more than the 1 MB a run may hold"}},
        // the Subject anchor measures a picture only once its memory is granted
        {"--memory, subject", {"-s", "100x1000", "--memory", "1M", "-f", "png", "--gravity",
         "subject", "--out", "~/m", "~/huff.jpg"}, 1, {"0 framed"},
         {"not enough memory: the picture needs 2 MB, more than the 1 MB a run may hold"}},
        {"--memory, a subject's sketch", {"--memory", "64M", "--gravity", "subject", "--out",
         "~/m", "~/claim.jpg"}, 1, {"0 framed"},
         {"not enough memory: the picture needs 85 MB, more than the 64 MB a run may hold"}},
        // a BMP result written a row at a time holds no canvas: the same picture fits
        {"--memory, rows", {"--memory", "1M", "--out", "~/m", "~/a.jpg"}, 0, {"1 framed"}, {""}},
    };
    // clang-format on
    // Permissions do not stop root: the closed folder's case is left out then.
    const QString closed = dir.filePath("closed");
    ASSERT_TRUE(QDir().mkdir(closed) &&
                QFile::setPermissions(closed, QFile::ReadOwner | QFile::ExeOwner));
    const bool closedStops = ::access(QFile::encodeName(closed).constData(), W_OK) != 0;
    for (const RunCase& c : cases)
        if (closedStops || !c.arguments.contains(u"~/closed"_s))
            expectRun(c);
}

// A folder and files whose names are not UTF-8 (Latin-1 "d\xe9", "lat\xe9"),
// named through --files-from: framed, skipped on a re-run, replaced with
// --overwrite, exactly as any other; the JSON lines are valid UTF-8.
TEST_F(KadrixBatchTest, NamesThatAreNotUtf8AreRunAgainByTheirBytes) {
    const QByteArray folder = QFile::encodeName(dir.path()) + "/d\xe9";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QByteArray jpeg = test::encodeRaw(test::photoLike(40, 30));
    for (const char* name : {"/lat\xe9.jpg", "/lat\xe9.x.jpg"}) {
        QFile file;
        const int fd = ::open((folder + name).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_TRUE(file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        file.write(jpeg);
    }
    const QStringList base{"--files-from", "-", "-s16x16", "-j1"};
    const QByteArray list = "d\xe9\n";
    // clang-format off
    const RunCase cases[] = {
        {"first run", base + QStringList{"--json"}, 0,
         {"\"status\":\"framed\"", "\"error_base64\":", "\"result_base64\":"},
         {"1 framed, 1 skipped"}, {}, list},
        {"dry run", base + QStringList{"--dry-run"}, 0, {"cropped_lat\\xe9.BMP (exists)"}, {},
         {}, list},
        {"re-run", base, 0, {"0 framed, 2 skipped, 0 failed"}, {}, {}, list},
        {"overwrite", base + QStringList{"--overwrite"}, 0, {"1 framed, 1 skipped, 0 failed"}, {},
         {}, list},
    };
    // clang-format on
    for (const RunCase& c : cases) {
        expectRun(c);
        const QByteArray out = run(c.arguments, c.input).bytes;
        EXPECT_EQ(QString::fromUtf8(out).toUtf8(), out) << c.what << ": JSON is UTF-8";
    }
    const QByteArray result = folder + "/cropped/cropped_lat\xe9.BMP";
    EXPECT_EQ(::access(result.constData(), F_OK), 0);
    std::vector<std::string> folders;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path().toStdString()))
        folders.push_back(entry.path().filename().string());
    EXPECT_EQ(folders, std::vector<std::string>{"d\xe9"}) << "no stray folder";
    std::filesystem::remove_all(folder.toStdString()); // QTemporaryDir would miss its bytes
}

// A full destination names its cause, and no new picture is started after
// it: each would fail alike.
TEST_F(KadrixBatchTest, AFullDiskStopsTheRunAndSaysHowManyWereNotFramed) {
    const QString small = dir.filePath("small");
    ASSERT_TRUE(QDir().mkpath(small));
    // 3 MB holds three 640 x 480 BMP results, not four.
    if (::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=3m") != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    QStringList arguments{"--jobs", "1", "--json", "--out", small};
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.jpg"})
        arguments << writeJpeg(u"src/"_s + QLatin1String(name), 40, 30);
    const Outcome r = run(arguments);
    const QStringList left = QDir(small).entryList(QDir::Files | QDir::Hidden);
    // Read-only now: the results made are skipped, the next stops the run before it is read.
    const bool readOnly = ::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs",
                                  MS_REMOUNT | MS_RDONLY, "size=3m") == 0;
    const Outcome again = readOnly ? run(arguments) : Outcome{};
    ::umount2(QFile::encodeName(small).constData(), MNT_DETACH);
    if (readOnly) {
        for (const char* text :
             {"cropped_d.BMP: Read-only file system", "0 framed, 3 skipped, 3 failed",
              "the destination cannot be written: Read-only file system: 2 pictures"})
            EXPECT_TRUE(again.err.contains(QString::fromUtf8(text))) << again.err.toStdString();
    }
    EXPECT_EQ(r.status, 1);
    for (const char* text :
         {"cropped_d.BMP: No space left on device",
          "the destination is full: 2 pictures not framed", "3 framed, 0 skipped, 3 failed"})
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(text))) << r.err.toStdString();
    EXPECT_EQ(r.out.count(u"not started: the destination is full"_s), 2) << r.out.toStdString();
    EXPECT_EQ(left.size(), 3) << "whole results only, no temporary";
}

// A one-component JPEG keeps its 256 grey levels, cropped (windowed
// decode) or with margins (whole decode).
TEST_F(KadrixBatchTest, GreySourcesKeepTheirExactLevels) {
    const QString out = dir.filePath("out");
    for (const QSize size : {QSize(300, 260), QSize(50, 40)}) {
        test::RawImage grey = test::gradient(size.width(), size.height(), 1);
        const QByteArray jpeg = test::encodeRaw(grey);
        const std::vector<std::uint8_t> levels = test::referenceGrey(jpeg);
        const Outcome r = run({"--size", "120x100", "--format", "png", "--overwrite", "--out", out,
                               write("g.jpg", jpeg)});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QImage result(out + u"/cropped_g.PNG"_s);
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

// Wrong usage exits with 2 and writes nothing; --list-formats gives the format
// table as this installation has it, a line per format.
TEST_F(KadrixBatchTest, BadUsageExitsWithTwo) {
    writeJpeg("src/a.jpg", 40, 30);
    QFile huge(dir.filePath("huge"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize((qint64(1) << 30) + 1));
    huge.close();
    // clang-format off
    const RunCase cases[] = {
        {"wrong size", {"--size", "big", "x.jpg"}, 2, {}, {"--size"}},
        {"wrong direction", {"--gravity", "up", "x.jpg"}, 2},
        {"help", {"--help"}, 0},
        {"formats", {"--list-formats"}, 0,
         {"\nbmp    .bmp                     yes   yes\n",
          "\nico    .ico                     yes   no\n",
          "\njpeg   .jpeg .jpg               yes   yes\n",
          "\nheif   .heic .heif .hif         yes   no\n"}},
        {"results into a source folder", {"--out", "~/src/.", "~/src"}, 2},
        {"results into a listed source folder", {"--out", "~/src", "--files-from", "-"}, 2,
         {""}, {"--out is the source folder"}, {}, "src\n"},
        {"results inside a recursed folder",
         {"--recursive", "--out", "~/src/x/../new", "~/src"}, 2, {""},
         {"--out is inside the source folder ~/src, which --recursive walks"}},
        {"results inside a listed recursed folder",
         {"--recursive", "--out", "~/src/new", "--files-from", "-"}, 2, {""},
         {"--out is inside the source folder src, which"}, {}, "src\n"},
        {"one --output for a folder", {"--output", "~/o.bmp", "~/src"}, 2},
        {"two readings of standard input", {"--placements", "-", "--files-from", "-"}, 2,
         {}, {"standard input (-) can be read only once"}},
        {"placements of no file", {"--placements", "", "x.jpg"}, 2, {}, {"--placements wants"}},
        {"unreadable placements", {"--placements", "~/none", "~/src"}, 2, {},
         {"cannot read the placements ~/none: No such file or directory"}},
        // refused by its size, never read: /dev/zero would be read to the same limit
        {"placements past a picture's size", {"--placements", "~/huge", "~/src"}, 2, {},
         {"cannot read the placements ~/huge: more than 1073741824 bytes"}},
        // a picture's bytes go to a terminal only when forced (a tiny one: nobody reads them)
        {"result to a terminal", {"-s8x8", "--output", "-", "~/src/a.jpg"}, 2, {""},
         {"the result would go to a terminal; use --force"}, {}, {}, "C.UTF-8", nullptr, 0,
         nullptr, {}, true},
        {"forced to a terminal", {"--force", "-s8x8", "--output", "-", "~/src/a.jpg"}, 0, {""},
         {"1 framed"}, {}, {}, "C.UTF-8", nullptr, 0, nullptr, {}, true},
    };
    // clang-format on
    for (const RunCase& c : cases)
        expectRun(c);
    EXPECT_EQ(QDir(dir.filePath("src")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"a.jpg"});
}

// How much a run says: -q nothing on success, -v a line per picture, the
// progress line when asked for even off a terminal.
TEST_F(KadrixBatchTest, QuietVerboseAndProgressSayWhatTheyAreAskedTo) {
    writeJpeg("a.jpg", 40, 30);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) &&
                QImage(8, 8, QImage::Format_RGB888).save(&buffer, "PNG"));
    write("crc.png", png.insert(33, QByteArray("\0\0\0\4tEXta\0bc\0\0\0\0", 16)));
    // clang-format off
    const RunCase cases[] = {
        {"quiet", {"-q", "--overwrite", "-s16x16", "~/a.jpg"}, 0, {""}, {""}},
        {"verbose", {"-v", "--overwrite", "-s16x16", "~/a.jpg"}, 0, {"1 framed"}, {"~/a.jpg -> "}},
        {"progress", {"--progress=always", "--overwrite", "-s16x16", "~/a.jpg"}, 0, {"1 framed"},
         {"] 1/1"}},
        // Qt's own warnings (libpng's, of a chunk whose checksum is wrong) are the program's
        {"Qt's warnings", {"--overwrite", "-s16x16", "~/crc.png"}, 0, {"1 framed"},
         {"kadrix-batch: libpng warning: tEXt: CRC error\n"}},
        {"Qt's warnings, quiet", {"-q", "--overwrite", "-s16x16", "~/crc.png"}, 0, {""}, {""}},
    };
    // clang-format on
    for (const RunCase& c : cases)
        expectRun(c);
}

// A picture from standard input to standard output, and a reader that goes
// away: a message, and no temporary left, not even by `kill -9` while the
// result is copied out.
TEST_F(KadrixBatchTest, PicturesPassThroughPipes) {
    const Outcome r = run({"-s", "80x60", "-f", "jpeg", "-", "--output", "-"},
                          test::encodeRaw(test::photoLike(200, 150)));
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage::fromData(r.bytes, "JPEG").size(), QSize(80, 60));
    // An explicit format decides the encoding whatever the extension.
    const QString named = dir.filePath("y.out");
    EXPECT_EQ(run({"-s", "8x6", "-f", "jpeg", "-", "--output", named},
                  test::encodeRaw(test::photoLike(20, 15)))
                  .status,
              0);
    EXPECT_EQ(QImageReader(named).format(), "jpeg");
    const QString picture = writeJpeg("in.jpg", 64, 48);
    const QString tmp = dir.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp));
    QProcess shell;
    QProcessEnvironment env = speaking("C.UTF-8");
    env.insert(u"TMPDIR"_s, tmp);
    shell.setProcessEnvironment(env);
    shell.start(u"bash"_s, {"-c",
                            "\"$0\" -s 3000x3000 - --output - < \"$1\" | head -c 1 >/dev/null; "
                            "status=${PIPESTATUS[0]}; mkfifo \"$2\"; "
                            "\"$0\" -s 3000x3000 - --output - < \"$1\" > \"$2\" & exec 3< \"$2\"; "
                            "head -c 1 <&3 >/dev/null; kill -9 $!; wait $!; exit $status",
                            QStringLiteral(KADRIX_BATCH_PATH), picture, dir.filePath("fifo")});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 1);
    EXPECT_TRUE(shell.readAllStandardError().contains("cannot write to standard output"));
    EXPECT_TRUE(QDir(tmp).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

// The shared code's French texts in English, and kadrix-batch's own texts (its
// help and usage errors, the parser's too) in French under a French locale;
// the JSON lines keep English.
TEST_F(KadrixBatchTest, MessagesSpeakTheLocalesLanguage) {
    writeJpeg("a.jpg", 40, 30);
    const QStringList arguments{"--size", "65535x65535", "~/a.jpg", "~/gone.jpg"};
    const QStringList english{"Invalid result size: 65535 x 65535", "no such file or folder"};
    // clang-format off
    const RunCase cases[] = {
        {"English", arguments, 1, {}, english, {}, {}, "C.UTF-8"},
        {"French", arguments, 1, {},
         {"Taille finale invalide: 65535 * 65535", "fichier ou dossier introuvable"}, {}, {},
         "fr_FR.UTF-8"},
        {"English JSON", QStringList{"--json"} + arguments, 1, english, {}, {}, {}, "C.UTF-8"},
        {"French JSON", QStringList{"--json"} + arguments, 1, english, {}, {}, {}, "fr_FR.UTF-8"},
        {"English help", {"--help"}, 0, {"Options:\n", "Leaves the sources' EXIF blocks and"}},
        {"French help", {"--help"}, 0, {"Options :\n", "Laisse les blocs EXIF et les profils"}, {},
         {}, {}, "fr_FR.UTF-8"},
        {"French wrong value", {"--size", "12", "~/a.jpg"}, 2, {""},
         {"kadrix-batch: --size demande WxH, chaque côté de 1 à 65535 : \"12\"\n"
          "Essayez « kadrix-batch --help » pour plus d'informations.\n"}, {}, {}, "fr_FR.UTF-8"},
        {"French unknown option", {"--sise", "~/a.jpg"}, 2, {""},
         {"kadrix-batch: Option inconnue « --sise ».\nEssayez « kadrix-batch --help »"}, {}, {},
         "fr_FR.UTF-8"},
    };
    // clang-format on
    for (const RunCase& c : cases)
        expectRun(c);
}

// SIGTERM: the pictures in hand are finished and committed, the others not
// started; every committed result has its JSON line, no temporary is left,
// and a re-run completes the set.
TEST_F(KadrixBatchTest, SigtermEndsTheRunAfterThePicturesInHand) {
    for (int i = 0; i < 8; ++i)
        writeJpeg(u"src/p%1.jpg"_s.arg(i), 1600, 1200);
    const QString out = dir.filePath("out");
    const QStringList arguments{"--json", "-j2", "-s", "1500x1100",        "-f",
                                "png",    "-o",  out,  dir.filePath("src")};
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
        EXPECT_TRUE(line.contains(u"\"status\":\"framed\""_s)) << line.toStdString();
        committed << QFileInfo(line.section(u"\"result\":\""_s, 1).section(u'"', 0, 0)).fileName();
    }
    committed.sort();
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name), committed);
    for (const QString& name : committed)
        EXPECT_EQ(QImage(out + u'/' + name).size(), QSize(1500, 1100)) << name.toStdString();
    EXPECT_TRUE(
        QString::fromLocal8Bit(process.readAllStandardError()).contains(u"stopped by SIGTERM"_s));
    EXPECT_EQ(run(arguments).status, 0);
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 8);
}

} // namespace
} // namespace kadrix::cli
