#include "batch.h"
#include "errors.h"
#include "fake_batch_window.h"
#include "jpeg_image.h"
#include "jpeg_test_files.h"
#include "native_name.h"
#include "picture_registry.h"
#include "result_writer.h"
#include "scripted_dialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

using test::FakeWindow;
using test::ScriptedDialogsScope;

// A picture type whose pictures are always empty: no real format yields a
// zero-size picture.
class EmptyPicture final : public Picture {
public:
    void loadFromFile(const QString&) override {}
    int width() const override { return 0; }
    int height() const override { return 0; }
    void assignTo(Bitmap& target) const override { target = Bitmap(0, 0); }
};

struct EmptyPictureType {
    EmptyPictureType() {
        pictureRegistry().registerFormat(QStringLiteral("zero"), QStringLiteral("Vide"),
                                         [] { return std::make_unique<EmptyPicture>(); });
    }
    ~EmptyPictureType() { pictureRegistry().unregisterFormat(QStringLiteral("zero")); }
};

class BatchRun : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedDialogsScope dialogs;
    FakeWindow window;

    void SetUp() override {
        window.sourceDir = dir.filePath(QStringLiteral("src"));
        window.destination = dir.filePath(QStringLiteral("out"));
        QDir().mkpath(window.sourceDir);
    }

    // Adds a row whose source is a w x h BMP of one colour.
    void addSource(int w, int h, QColor colour = Qt::green) {
        const QString name = QStringLiteral("s%1.bmp").arg(window.names.size());
        QImage image(w, h, QImage::Format_RGB888);
        image.fill(colour);
        ASSERT_TRUE(image.save(window.sourceDir + QLatin1Char('/') + name, "BMP"));
        window.names << name;
    }
    void addRows(int n) {
        for (int i = 0; i < n; ++i)
            addSource(4 + i, 4);
    }
    bool run(int first, int last, bool stepByStep, bool save) {
        return dispatchRun([&] { ProcessRows(window, first, last, stepByStep, save); });
    }
    bool dispatchRun(const std::function<void()>& f) {
        try {
            f();
            return true;
        } catch (const SilentAbort&) {
            return false;
        }
    }
    QStringList expectedCounts(std::initializer_list<int> values) {
        QStringList l;
        for (int v : values)
            l << runningCountText(v);
        return l;
    }
};

TEST_F(BatchRun, AnEmptyOrBlankDestinationOnlyResetsTheCount) {
    addRows(1);
    for (const char* text : {"", "   "}) {
        window.destination = QString::fromLatin1(text);
        window.widthText = QStringLiteral("abc");
        window.counts.clear();
        EXPECT_FALSE(run(0, 0, false, true));
        EXPECT_EQ(window.counts, expectedCounts({0}));
        EXPECT_EQ(window.widthText, QStringLiteral("abc")) << "nothing after the destination test";
        EXPECT_FALSE(window.viewSize.isValid());
    }
}

TEST_F(BatchRun, CreatesATwoLevelDestinationFromTheTrimmedText) {
    const QString target = dir.filePath(QStringLiteral("a/b"));
    window.destination = QStringLiteral("  ") + target + QStringLiteral(" \t");
    EXPECT_TRUE(run(0, -1, false, true));
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_FALSE(QFileInfo(QStringLiteral("  ") + target).exists());
}

TEST_F(BatchRun, TargetSizeFieldsThatDoNotParseFallBackAndAreWrittenBack) {
    addSource(10, 10);
    const struct {
        const char *w, *h;
        QSize expected;
        const char *wAfter, *hAfter;
        SizeMode mode = SizeMode::Fixed; // with a ratio, the row's own size is shown
    } cases[] = {
        {"abc", "", QSize(640, 480), "640", "480"},
        {" 800", "600", QSize(800, 600), " 800", "600"},
        {"800 ", "0x10", QSize(640, 16), "640", "0x10"},
        {"16", "9", QSize(10, 6), "16", "9", SizeMode::RatioCrop},
        {"abc", "", QSize(13, 10), "640", "480", SizeMode::RatioPad},
    };
    const FramingOptions before = FramingDefaults;
    for (const auto& c : cases) {
        FramingDefaults.sizeMode = c.mode;
        window.widthText = QString::fromLatin1(c.w);
        window.heightText = QString::fromLatin1(c.h);
        window.shown.clear();
        EXPECT_TRUE(run(0, 0, false, false));
        EXPECT_EQ(window.widthText, QString::fromLatin1(c.wAfter));
        EXPECT_EQ(window.heightText, QString::fromLatin1(c.hAfter));
        EXPECT_EQ(window.viewSize, c.expected);
        ASSERT_EQ(window.shown.size(), 1u);
        EXPECT_EQ(QSize(window.shown[0].width(), window.shown[0].height()), c.expected);
    }
    FramingDefaults = before;
}

TEST_F(BatchRun, AnUnusableTargetSizeEndsTheRunBeforeAnythingChanges) {
    addRows(1);
    for (auto [w, h] : {std::pair{"0", "480"}, {"640", "-5"}, {"100000", "100000"}}) {
        window.widthText = QString::fromLatin1(w);
        window.heightText = QString::fromLatin1(h);
        try {
            ProcessRows(window, 0, 0, false, true);
            ADD_FAILURE() << "no error for " << w << " * " << h;
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Taille finale invalide: %1 * %2").arg(w, h));
        }
        EXPECT_FALSE(window.viewSize.isValid());
        EXPECT_FALSE(QFile::exists(window.resultPath(0)));
    }
}

TEST_F(BatchRun, AZeroSizeSourceIsNeitherShownNorCounted) {
    EmptyPictureType emptyType;
    addRows(2);
    window.names << QStringLiteral("nothing.zero");
    addRows(2);
    EXPECT_TRUE(run(0, 4, false, true));
    EXPECT_EQ(window.counts, expectedCounts({0, 1, 2, 4, 5}));
    EXPECT_EQ(window.shown.size(), 4u);
    EXPECT_FALSE(QFile::exists(window.resultPath(2)));
    EXPECT_TRUE(QFile::exists(window.resultPath(4)));
}

TEST_F(BatchRun, StepByStepAnswersDecideWhatIsSaved) {
    addRows(10);
    dialogs->answers = {Answer::No, Answer::No};
    dialogs->defaultAnswer = Answer::Yes;
    window.wipe = 0;
    EXPECT_TRUE(run(0, 2, true, true));
    EXPECT_FALSE(QFile::exists(window.resultPath(0)));
    EXPECT_FALSE(QFile::exists(window.resultPath(1)));
    EXPECT_TRUE(QFile::exists(window.resultPath(2)));
    EXPECT_EQ(window.counts, expectedCounts({0, 1, 2, 3}));
    ASSERT_EQ(dialogs->boxes.size(), 3u);
    EXPECT_EQ(dialogs->boxes[0].text, QStringLiteral("Sauvegarde"));
    EXPECT_EQ(dialogs->boxes[0].caption, QStringLiteral("Pas à Pas"));
    EXPECT_EQ(dialogs->boxes[0].buttons, Buttons::YesNoCancel);

    QDir(window.destination).removeRecursively();
    dialogs->boxes.clear();
    window.counts.clear();
    dialogs->answers = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Cancel};
    EXPECT_FALSE(run(0, 9, true, true));
    EXPECT_TRUE(window.stop);
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(QFile::exists(window.resultPath(row)), row < 3) << row;
    EXPECT_EQ(window.counts.last(), runningCountText(3));
}

TEST_F(BatchRun, ShowingStepByStepAsksToGoOnAndCancelStops) {
    addRows(3);
    dialogs->answers = {Answer::Ok, Answer::Cancel};
    EXPECT_FALSE(run(0, 2, true, false));
    ASSERT_EQ(dialogs->boxes.size(), 2u);
    EXPECT_EQ(dialogs->boxes[1].text, QStringLiteral("Suivant"));
    EXPECT_EQ(dialogs->boxes[1].buttons, Buttons::OkCancel);
    EXPECT_EQ(window.shown.size(), 2u);
    EXPECT_FALSE(QDir(window.destination).entryList(QDir::Files).size());
}

TEST_F(BatchRun, AnExistingResultIsReplacedOnlyAfterYes) {
    addRows(1);
    QDir().mkpath(window.destination);
    QFile old(window.resultPath(0));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("precious bytes");
    old.close();

    dialogs->answers = {Answer::No};
    EXPECT_TRUE(run(0, 0, false, true));
    ASSERT_EQ(dialogs->boxes.size(), 1u);
    EXPECT_EQ(dialogs->boxes[0].text, QStringLiteral("Ecraser le Fichier Existant?"));
    EXPECT_EQ(dialogs->boxes[0].caption, window.resultPath(0));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("precious bytes"));
    old.close();

    dialogs->answers = {Answer::Yes};
    EXPECT_TRUE(run(0, 0, false, true));
    EXPECT_EQ(QImage(window.resultPath(0)).size(), QSize(16, 8));

    dialogs->answers = {Answer::Cancel};
    EXPECT_FALSE(run(0, 0, false, true));
    EXPECT_TRUE(window.stop);
}

TEST_F(BatchRun, AFolderWhereTheResultWouldGoIsNoFileToReplaceAndTheWriteFails) {
    addRows(2);
    QDir().mkpath(window.resultPath(0)); // a folder where the file would go
    dialogs->defaultAnswer = Answer::Ok;
    EXPECT_TRUE(run(0, 1, false, true));
    ASSERT_EQ(dialogs->boxes.size(), 1u) << "no overwrite prompt for a folder";
    EXPECT_EQ(dialogs->boxes[0].text.section(u'\n', 0, 0),
              QStringLiteral("Enregistrement Impossible"));
    EXPECT_EQ(dialogs->boxes[0].caption, window.resultPath(0));
    EXPECT_EQ(dialogs->boxes[0].buttons, Buttons::OkCancel);
    EXPECT_TRUE(QFileInfo(window.resultPath(0)).isDir());
    EXPECT_TRUE(QDir(window.resultPath(0)).isEmpty());
    EXPECT_TRUE(QFile::exists(window.resultPath(1))) << "OK goes on";
}

TEST_F(BatchRun, AWriteThatFailsIsReportedAndCancelStops) {
    addRows(3);
    window.extension = QStringLiteral("/missing/deeper.BMP"); // no such folder
    dialogs->answers = {Answer::Ok, Answer::Cancel};
    EXPECT_FALSE(run(0, 2, false, true));
    ASSERT_EQ(dialogs->boxes.size(), 2u);
    // The cause stands under the text.
    EXPECT_EQ(dialogs->boxes[0].text,
              QStringLiteral("Enregistrement Impossible\nNo such file or directory"));
    EXPECT_EQ(dialogs->boxes[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(window.counts, expectedCounts({0, 1}));
    // A name that climbs out of the destination fails alike, and nothing is written.
    window.extension = QStringLiteral("/../out.BMP");
    dialogs->answers = {Answer::Cancel};
    EXPECT_FALSE(run(0, 0, false, true));
    EXPECT_EQ(dialogs->boxes.back().text,
              QStringLiteral("Enregistrement Impossible\nhors du dossier de destination"));
    EXPECT_FALSE(QFile::exists(window.destination + QStringLiteral("/r0/../out.BMP")));
}

TEST_F(BatchRun, StopDuringARowLetsItFinishAndEndsBeforeTheNext) {
    addRows(8);
    window.onShow = [&](int count) {
        if (count == 6) // row 5 on show: the Stop button is pressed
            window.stop = true;
    };
    EXPECT_FALSE(run(0, 7, false, true));
    EXPECT_TRUE(QFile::exists(window.resultPath(5)));
    EXPECT_FALSE(QFile::exists(window.resultPath(6)));
    EXPECT_EQ(window.counts.last(), runningCountText(6));
}

TEST_F(BatchRun, ASourceThatCannotBeLoadedEndsTheRunWithItsError) {
    addRows(1);
    window.names << QStringLiteral("notes.txt");
    addRows(1);
    EXPECT_THROW(run(0, 2, false, true), EInvalidGraphic);
    EXPECT_TRUE(QFile::exists(window.resultPath(0)));
    EXPECT_FALSE(QFile::exists(window.resultPath(2)));
}

TEST_F(BatchRun, ResultsHoldTheCanvasPixelsAsBmpOrJpeg) {
    addSource(20, 5, QColor(200, 40, 10));
    window.widthText = QStringLiteral("30");
    window.heightText = QStringLiteral("12");
    window.wipe = makeColour(0, 0, 255);
    EXPECT_TRUE(run(0, 0, false, true));
    const QImage bmp(window.resultPath(0), "BMP");
    ASSERT_EQ(bmp.size(), QSize(30, 12));
    // Qt reads 24-bit BMP files into 32-bit images: ask the file's header.
    QFile written(window.resultPath(0));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(std::uint8_t(written.read(30).at(28)), 24);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(fromQColor(bmp.pixelColor(x, y)), window.shown[0].pixel(x, y));

    window.extension = QStringLiteral(".JPEG");
    EXPECT_TRUE(run(0, 0, false, true));
    TJPEGImage jpeg;
    jpeg.loadFromFile(window.resultPath(0));
    EXPECT_EQ(jpeg.width(), 30);
    EXPECT_EQ(jpeg.height(), 12);
    Bitmap decoded;
    jpeg.assignTo(decoded);
    decoded.convertTo24();
    const Colour centre = decoded.pixel(15, 6), corner = decoded.pixel(0, 0);
    EXPECT_NEAR(redOf(centre), 200, 12);
    EXPECT_NEAR(blueOf(corner), 255, 12);
    EXPECT_NEAR(redOf(corner), 0, 12);
}

// The exists/overwrite decision asks only when something is at the path,
// and a file that may go must also be replaceable.
TEST(SaveDecisionTest, AsksOnlyForAnExistingResult) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("file.BMP")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.BMP")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")),
                            dir.filePath(QStringLiteral("dangling.BMP"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo.BMP"))), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("null.BMP"))));
    // A name that is not UTF-8 is looked up by its bytes.
    ::close(::open(QFile::encodeName(dir.path()) + "/lat\xe9.BMP", O_CREAT | O_WRONLY, 0644));
    const struct {
        const char* name;
        bool replace;
        SaveDecision expected;
        int asked;
    } cases[] = {{"free.BMP", false, SaveDecision::Write, 0},
                 {"file.BMP", true, SaveDecision::Replace, 1},
                 {"file.BMP", false, SaveDecision::KeepExisting, 1},
                 {"dangling.BMP", false, SaveDecision::KeepExisting, 1},
                 // The link itself is replaced: its folder is writable.
                 {"dangling.BMP", true, SaveDecision::Replace, 1},
                 // A folder is no file to replace: its write fails instead.
                 {"folder.BMP", false, SaveDecision::Write, 0},
                 {"folder.BMP", true, SaveDecision::Write, 0},
                 // Devices, FIFOs and sockets (or links to them) are written into.
                 {"fifo.BMP", true, SaveDecision::Stream, 0},
                 {"null.BMP", true, SaveDecision::Stream, 0},
                 {"lat\xe9.BMP", false, SaveDecision::KeepExisting, 1},
                 {"lat\xe9.BMP", true, SaveDecision::Replace, 1}};
    for (const auto& c : cases) {
        int asked = 0;
        const QString path = nameFromNative(QFile::encodeName(dir.path()) + '/' + c.name);
        const SaveDecision decision = decideSave(path, [&] {
            ++asked;
            return c.replace;
        });
        EXPECT_EQ(decision, c.expected) << c.name << " " << c.replace;
        EXPECT_EQ(asked, c.asked) << c.name;
    }
}

// A failed write says why: the encoder's message, or the file system's.
TEST(ResultWriter, AFailedWriteCarriesTheWritersMessage) {
    QTemporaryDir dir;
    const SaveOutcome tooWide =
        saveResult(Bitmap(65535, 1), dir.filePath(QStringLiteral("w.JPEG")));
    EXPECT_FALSE(tooWide);
    EXPECT_TRUE(tooWide.error.startsWith(QStringLiteral("JPEG error #")))
        << tooWide.error.toStdString();
    const SaveOutcome noFolder =
        saveResult(Bitmap(4, 4), dir.filePath(QStringLiteral("gone/r.BMP")));
    EXPECT_FALSE(noFolder);
    EXPECT_FALSE(noFolder.error.isEmpty());
    const SaveOutcome saved = saveResult(Bitmap(4, 4), dir.filePath(QStringLiteral("r.BMP")));
    EXPECT_TRUE(saved);
    EXPECT_TRUE(saved.error.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("r.BMP")});
}

// The writer never writes through a link at the result path, and replaces
// what is there (a link itself, never its target) only when that was
// decided; a file that appeared after the decision to write a new one stays.
// Every format goes the same way; no temporary is ever left.
TEST(ResultWriter, LinksAndLateFilesAreNeverWrittenThroughNorReplaced) {
    enum class At { Nothing, LinkToFile, DanglingLink, LateFile, Fifo, LinkToDevice, Folder };
    const struct {
        At at;
        bool replace;
        bool saved;
    } cases[] = {
        {At::Nothing, false, true},
        {At::LinkToFile, false, false},
        {At::LinkToFile, true, true},
        {At::DanglingLink, false, false},
        {At::DanglingLink, true, true},
        {At::LateFile, false, false},
        {At::LateFile, true, true},
        // A FIFO or a device takes the result as a stream and stays; a folder is refused.
        {At::Fifo, false, true},
        {At::Fifo, true, true},
        {At::LinkToDevice, true, true},
        {At::Folder, true, false},
    };
    for (const char* extension : {".BMP", ".PNG", ".JPEG"}) {
        for (const auto& c : cases) {
            const std::string row = std::string(extension) + " " + std::to_string(int(c.at)) +
                                    (c.replace ? " replace" : "");
            QTemporaryDir dir;
            const QString target = dir.filePath(QStringLiteral("r") + QLatin1String(extension));
            const QString victim = dir.filePath(QStringLiteral("victim"));
            const QString nowhere = dir.filePath(QStringLiteral("nowhere"));
            test::writeBytes(victim, "user data");
            // A late file appears after the decision, before the commit.
            const QString from = c.at == At::DanglingLink ? nowhere : victim;
            if (c.at == At::LinkToFile || c.at == At::DanglingLink) {
                ASSERT_TRUE(QFile::link(from, target));
            } else if (c.at == At::LateFile) {
                ASSERT_TRUE(QFile::copy(victim, target));
            } else if (c.at == At::LinkToDevice) {
                ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), target));
            } else if (c.at == At::Folder) {
                ASSERT_TRUE(QDir().mkdir(target));
            }
            // The FIFO's own reader, open before the write so that it never waits.
            int reader = -1;
            if (c.at == At::Fifo) {
                ASSERT_EQ(::mkfifo(QFile::encodeName(target), 0600), 0);
                reader = ::open(QFile::encodeName(target), O_RDWR | O_NONBLOCK);
            }
            const SaveOutcome saved = saveResult(Bitmap(8, 6), target, nullptr, c.replace);
            EXPECT_EQ(bool(saved), c.saved) << row;
            EXPECT_EQ(saved.error, c.saved              ? QString()
                                   : c.at == At::Folder ? QStringLiteral("Is a directory")
                                                        : QStringLiteral("File exists"))
                << row;
            if (reader >= 0) {
                QByteArray bytes(1 << 16, '\0');
                bytes.resize(std::max<ssize_t>(::read(reader, bytes.data(), bytes.size()), 0));
                ::close(reader);
                EXPECT_EQ(QImage::fromData(bytes).size(), QSize(8, 6)) << row;
                struct stat status {};
                EXPECT_TRUE(::lstat(QFile::encodeName(target), &status) == 0 &&
                            S_ISFIFO(status.st_mode))
                    << row;
                continue;
            }
            QFile kept(victim);
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
            EXPECT_EQ(kept.readAll(), QByteArray("user data")) << row;
            EXPECT_FALSE(QFileInfo::exists(nowhere)) << row;
            const bool linkStays = c.at == At::LinkToDevice ||
                                   (!c.saved && c.at != At::LateFile && c.at != At::Folder);
            EXPECT_EQ(QFileInfo(target).isSymLink(), linkStays) << row;
            EXPECT_EQ(QImage(target).size() == QSize(8, 6), c.saved && !linkStays) << row;
            // The victim and the result (or the link): no temporary.
            EXPECT_EQ(QDir(dir.path())
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot)
                          .size(),
                      2)
                << row;
        }
    }
}

// A write cut short by the file-size limit must leave an existing result
// whole and no temporary file behind. Run in a child process so the limit
// does not touch the test runner.
TEST(ResultWriter, AFileSizeLimitFailsTheWriteAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("old.BMP"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100, 'k'));
    old.close();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        Bitmap canvas(640, 480);
        std::uint32_t noise = 12345; // noise does not compress below the limit
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640 * 3; ++x)
                canvas.scanLine(y)[x] = std::uint8_t((noise = noise * 1103515245u + 12345u) >> 24);
        const bool bmpFailed = !saveResult(canvas, target);
        const bool jpegFailed = !saveResult(canvas, dir.filePath(QStringLiteral("new.JPEG")));
        _exit(bmpFailed && jpegFailed ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray(100, 'k'));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("old.BMP")});
}

// A JPEG source larger than the canvas is decoded only down to the canvas's
// last row, so damage below it does not stop the run; decoding the whole
// picture (kept for comparison) reports it. Both make the same result.
TEST_F(BatchRun, JpegSourcesAreDecodedOnlyWhereTheyLandOnTheCanvas) {
    QImage photo(120, 90, QImage::Format_RGB888);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 2, y * 2, (x * y) % 256));
    TJPEGImage encoder;
    encoder.assign(Bitmap(photo.convertToFormat(QImage::Format_BGR888)));
    QBuffer sound;
    sound.open(QIODevice::WriteOnly);
    encoder.saveToStream(sound);
    QByteArray damaged = sound.data();
    // A quantisation table numbered 15 after the image data.
    damaged.insert(damaged.size() - 2, QByteArray("\xFF\xDB\x00\x03\x0F", 5));
    for (const auto& [name, bytes] :
         {std::pair{"sound.jpg", sound.data()}, {"damaged.jpg", damaged}}) {
        QFile file(window.sourceDir + QLatin1Char('/') + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        window.names << QString::fromLatin1(name);
    }

    EXPECT_TRUE(run(0, 1, false, false));
    ASSERT_EQ(window.shown.size(), 2u);
    EXPECT_EQ(window.shown[1].image(), window.shown[0].image());
    window.shown.clear();
    const DecodeOptions whole{.mode = DecodeMode::Whole};
    EXPECT_TRUE(dispatchRun([&] { ProcessRows(window, 0, 0, false, false, whole); }));
    ASSERT_EQ(window.shown.size(), 1u);
    EXPECT_TRUE(run(0, 0, false, false));
    EXPECT_EQ(window.shown[1].image(), window.shown[0].image());
    EXPECT_THROW(ProcessRows(window, 1, 1, false, false, whole), EJPEG);
}

} // namespace
} // namespace kadrix
