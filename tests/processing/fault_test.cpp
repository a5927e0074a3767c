// Faults of the file system during a batch run: the destination vanishing
// between two rows, a destination that refuses writes, and a file-size limit
// reached in the middle of a run. In each case a new file that cannot be
// written is reported with "Enregistrement Impossible", an existing one that
// cannot be replaced with "Impossible d'Ecraser le Fichier", the run goes on
// after OK, and nothing already on disk is harmed or left half written.
#include "child_process.h"
#include "fake_batch_window.h"
#include "scripted_dialogs.h"

#include "errors.h"
#include "jpeg_image.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

const QString WriteFailed = QStringLiteral("Enregistrement Impossible");
const QString CannotReplace = QStringLiteral("Impossible d'Ecraser le Fichier");
const QString ReplacePrompt = QStringLiteral("Ecraser le Fichier Existant?");

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Every entry of a folder, hidden ones (temporary files) included.
QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The first line of each message box: the text, without the cause under it.
QStringList texts(const std::vector<ScriptedDialogs::Box>& boxes) {
    QStringList list;
    for (const auto& box : boxes)
        list << box.text.section(u'\n', 0, 0);
    return list;
}

class FaultRun : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedDialogsScope dialogs;
    FakeWindow window;

    void SetUp() override {
        window.sourceDir = dir.filePath(QStringLiteral("src"));
        window.destination = dir.filePath(QStringLiteral("out"));
        ASSERT_TRUE(QDir().mkpath(window.sourceDir));
        ASSERT_TRUE(QDir().mkpath(window.destination));
        // 64 x 64 results: 12 KB as BMP, well above the size limit used below.
        window.widthText = QStringLiteral("64");
        window.heightText = QStringLiteral("64");
        dialogs->defaultAnswer = Answer::Yes;
    }

    void addRows(int n) {
        for (int i = 0; i < n; ++i) {
            const QString name = QStringLiteral("s%1.bmp").arg(window.names.size());
            QImage image(40 + i, 30, QImage::Format_RGB888);
            image.fill(QColor(20 * i, 100, 200));
            ASSERT_TRUE(image.save(window.sourceDir + QLatin1Char('/') + name, "BMP"));
            window.names << name;
        }
    }

    bool run(int first, int last) {
        try {
            ProcessRows(window, first, last, false, true);
            return true;
        } catch (const SilentAbort&) {
            return false;
        }
    }
};

TEST_F(FaultRun, ADestinationThatVanishesMidRunFailsEachLaterWriteAndKeepsEarlierResults) {
    for (const QString& extension : {QStringLiteral(".BMP"), QStringLiteral(".JPEG")}) {
        SCOPED_TRACE(extension.toStdString());
        window.extension = extension;
        window.names.clear();
        dialogs->boxes.clear();
        window.counts.clear();
        window.shown.clear();
        ASSERT_TRUE(QDir().mkpath(window.destination));
        addRows(4);
        const QString moved = dir.filePath(QStringLiteral("moved") + extension);
        window.onShow = [&](int shown) {
            if (shown == 3) { // row 2 on show: the folder is moved away
                ASSERT_TRUE(QDir().rename(window.destination, moved));
            }
        };
        EXPECT_TRUE(run(0, 3)) << "OK goes on to the next row";
        EXPECT_EQ(texts(dialogs->boxes), (QStringList{WriteFailed, WriteFailed}));
        EXPECT_EQ(dialogs->boxes[0].caption, window.resultPath(2));
        EXPECT_EQ(dialogs->boxes[0].buttons, Buttons::OkCancel);
        EXPECT_EQ(window.counts.last(), runningCountText(4));
        EXPECT_FALSE(QFileInfo::exists(window.destination)) << "the run does not recreate it";
        EXPECT_EQ(entriesOf(moved), (QStringList{QStringLiteral("r0") + extension,
                                                 QStringLiteral("r1") + extension}));
        for (int row : {0, 1}) {
            const QImage result(moved + QStringLiteral("/r%1").arg(row) + extension);
            EXPECT_EQ(result.size(), QSize(64, 64)) << row;
        }
    }
}

TEST_F(FaultRun, ANameTooLongForTheFileSystemIsAFailedWrite) {
    addRows(2);
    window.extension = QString(300, u'n') + QStringLiteral(".BMP");
    dialogs->defaultAnswer = Answer::Ok;
    EXPECT_TRUE(run(0, 1));
    EXPECT_EQ(texts(dialogs->boxes), (QStringList{WriteFailed, WriteFailed}));
    EXPECT_TRUE(entriesOf(window.destination).isEmpty());
}

TEST_F(FaultRun, ADestinationThatIsAFileEndsTheRunSilentlyAndLeavesTheFile) {
    addRows(1);
    window.destination = dir.filePath(QStringLiteral("plain"));
    writeBytes(window.destination, QByteArray("not a folder"));
    EXPECT_FALSE(run(0, 0));
    EXPECT_TRUE(dialogs->boxes.empty());
    EXPECT_TRUE(window.shown.empty());
    EXPECT_EQ(bytesOf(window.destination), QByteArray("not a folder"));
}

// Makes a folder refuse new files, and undoes it at the end. Permissions do
// not stop root, so for root the folder is made immutable instead; where
// that is not allowed either, the folder cannot be made read-only.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(path) {
        if (geteuid() != 0) {
            ok_ = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
            return;
        }
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd_ >= 0 && ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            ok_ = ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~ReadOnlyFolder() {
        if (fd_ >= 0) {
            int flags = 0;
            if (ok_ && ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ioctl(fd_, FS_IOC_SETFLAGS, &flags);
            }
            ::close(fd_);
        } else if (ok_) {
            QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool ok() const { return ok_; }

private:
    QString path_;
    int fd_ = -1;
    bool ok_ = false;
};

TEST_F(FaultRun, ADestinationWithoutWriteAccessKeepsItsFilesAndTakesNoNewOne) {
    addRows(2);
    const QString existing = window.resultPath(0);
    writeBytes(existing, QByteArray("an older result"));
    ReadOnlyFolder readOnly(window.destination);
    if (!readOnly.ok())
        GTEST_SKIP() << "this account cannot make a folder refuse writes "
                        "(root without the right to set the immutable flag)";
    EXPECT_TRUE(run(0, 1));
    EXPECT_EQ(texts(dialogs->boxes), (QStringList{ReplacePrompt, CannotReplace, WriteFailed}));
    EXPECT_EQ(dialogs->boxes[1].caption, existing);
    EXPECT_EQ(dialogs->boxes[1].buttons, Buttons::Ok);
    EXPECT_EQ(dialogs->boxes[2].caption, window.resultPath(1));
    EXPECT_EQ(bytesOf(existing), QByteArray("an older result"));
    EXPECT_EQ(entriesOf(window.destination), QStringList{QStringLiteral("r0.BMP")});
    EXPECT_EQ(window.counts.last(), runningCountText(2));
}

// The limit is set while row 1 is on show, in a child process (the limit
// and the ignored SIGXFSZ must not reach the test runner): row 0 is written
// whole, row 1 (new) and row 2 (existing, answered Yes) both fail, and the
// old row 2 stays as it was.
TEST_F(FaultRun, AFileSizeLimitReachedMidRunLeavesEveryFileWholeAndNoTemporary) {
    for (const QString& extension : {QStringLiteral(".BMP"), QStringLiteral(".JPEG")}) {
        SCOPED_TRACE(extension.toStdString());
        window.extension = extension;
        window.names.clear();
        QDir(window.destination).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(window.destination));
        addRows(3);
        writeBytes(window.resultPath(2), QByteArray(50, 'o'));
        const ChildOutcome outcome = runInChild([&](QByteArray& report) {
            std::signal(SIGXFSZ, SIG_IGN);
            window.onShow = [](int shown) {
                if (shown == 2) {
                    // Below the smallest result: a 64 x 64 JPEG of flat colour
                    // still takes more than its headers.
                    const rlimit limit{200, 200};
                    setrlimit(RLIMIT_FSIZE, &limit);
                }
            };
            const bool ended = run(0, 2);
            report = texts(dialogs->boxes).join(u'\n').toUtf8();
            return ended ? 0 : 1;
        });
        ASSERT_TRUE(outcome.exited);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(QString::fromUtf8(outcome.report),
                  QStringList({WriteFailed, ReplacePrompt, WriteFailed}).join(u'\n'));
        EXPECT_EQ(QImage(window.resultPath(0)).size(), QSize(64, 64));
        EXPECT_EQ(bytesOf(window.resultPath(2)), QByteArray(50, 'o'));
        EXPECT_EQ(entriesOf(window.destination), (QStringList{QStringLiteral("r0") + extension,
                                                              QStringLiteral("r2") + extension}));
    }
}

// A full destination (a 3 MB file system, three 640 x 480 BMP results): the
// prompt names the cause, and OK goes on as for any failed write.
TEST_F(FaultRun, AFullDestinationNamesTheCauseInThePrompt) {
    if (::mount("tmpfs", QFile::encodeName(window.destination).constData(), "tmpfs", 0,
                "size=3m") != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    window.widthText = QStringLiteral("640");
    window.heightText = QStringLiteral("480");
    addRows(5);
    EXPECT_TRUE(run(0, 4));
    const QStringList left = entriesOf(window.destination);
    ::umount2(QFile::encodeName(window.destination).constData(), MNT_DETACH);
    ASSERT_EQ(dialogs->boxes.size(), 2u);
    EXPECT_EQ(dialogs->boxes[0].text, WriteFailed + QStringLiteral("\nNo space left on device"));
    EXPECT_EQ(dialogs->boxes[0].caption, window.resultPath(3));
    EXPECT_EQ(left, (QStringList{QStringLiteral("r0.BMP"), QStringLiteral("r1.BMP"),
                                 QStringLiteral("r2.BMP")}));
}

// The JPEG picture's own save, as used outside the batch: a small picture
// sits whole in the write buffer, so the limit only shows at the flush.
TEST(JpegSave, AFileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("old.jpg"));
    writeBytes(target, QByteArray(50, 'o'));
    const ChildOutcome outcome = runInChild([&](QByteArray&) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{200, 200};
        setrlimit(RLIMIT_FSIZE, &limit);
        Bitmap picture(64, 64);
        picture.fill(makeColour(1, 2, 3));
        TJPEGImage jpeg;
        jpeg.assign(picture);
        try {
            jpeg.saveToFile(target);
        } catch (const Error&) {
            return 0;
        }
        return 1;
    });
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, 0) << "the save must report the failure";
    EXPECT_EQ(bytesOf(target), QByteArray(50, 'o'));
    EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("old.jpg")});
}

} // namespace
} // namespace kadrix::test
