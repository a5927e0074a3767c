#include "regular_file.h"

#include "errors.h"
#include "native_name.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadrix {
namespace {

EInvalidGraphic notRegular(const QString& path) {
    return EInvalidGraphic(
        Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Image invalide: pas un fichier ordinaire (%1)"),
             {path}));
}

EInvalidGraphic cannotOpen(const QString& path, int error) {
    return EInvalidGraphic(Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Impossible d'ouvrir %1: %2"),
                                {path, QString::fromLocal8Bit(std::strerror(error))}));
}

} // namespace

void openRegularFile(QFile& file, const QString& path) {
    const QByteArray name = nativeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        // A socket refuses to be opened at all; name it for what it is.
        struct stat info {};
        if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode))
            throw notRegular(path);
        throw cannotOpen(path, error);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw notRegular(path);
    }
    if (info.st_size > MaxPictureFileBytes) {
        ::close(fd);
        throw EInvalidGraphic(
            Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Image invalide: fichier trop grand (%1)"),
                 {path}));
    }
    // Reads of a regular file never wait; the flag only mattered for open().
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw cannotOpen(path, EIO);
    }
}

} // namespace kadrix
