// Pipes, sockets and links named like pictures: the scan lists regular files
// only, and loading anything else fails at once instead of waiting for ever.
#include "drop_driver.h"
#include "main_window_fixture.h"
#include "window_driver.h"
#include "working_directory_guard.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QToolButton>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kadrix::test {
namespace {

class SpecialFiles : public FolderWindowTest {
protected:
    WorkingDirectoryGuard cwd;
    int socket_ = -1;

    void SetUp() override {
        FolderWindowTest::SetUp();
        ASSERT_TRUE(writePicture(dir.filePath(QStringLiteral("a.bmp")), 7, 5));
        ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.bmp"))), 0600), 0);
        ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("a.bmp")),
                                dir.filePath(QStringLiteral("linked.bmp"))));
        ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("pipe.bmp")),
                                dir.filePath(QStringLiteral("topipe.bmp"))));
        ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.bmp")),
                                dir.filePath(QStringLiteral("dangling.bmp"))));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(dir.filePath(QStringLiteral("sock.bmp")));
        ASSERT_LT(size_t(name.size()), sizeof address.sun_path);
        std::copy(name.begin(), name.end(), address.sun_path);
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_EQ(::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    void TearDown() override { ::close(socket_); }
};

TEST_F(SpecialFiles, TheScanListsRegularFilesAndLinksToThemOnly) {
    QDir::setCurrent(dir.path());
    control<QToolButton>("SpeedButtonList")->click();
    QStringList listed = entries();
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"a.bmp", "linked.bmp"}));
    EXPECT_EQ(control<QLabel>("LabelMinSize")->text(), QStringLiteral("Taille mini: 7 * 5"));
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(SpecialFiles, DroppedSpecialFilesFailAtOnceWithAClearError) {
    for (const char* name : {"pipe.bmp", "topipe.bmp", "sock.bmp"}) {
        SCOPED_TRACE(name);
        dialogs->errors.clear();
        const QString path = dir.filePath(QLatin1String(name));
        dropFiles(&window(), {path});
        ASSERT_EQ(dialogs->errors.size(), 1u);
        EXPECT_EQ(dialogs->errors[0],
                  QStringLiteral("Image invalide: pas un fichier ordinaire (%1)").arg(path));
        EXPECT_EQ(entries(), QStringList{QLatin1String(name)});
    }
}

} // namespace
} // namespace kadrix::test
