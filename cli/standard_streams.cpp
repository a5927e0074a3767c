#include "standard_streams.h"

#include "native_name.h"
#include "native_path.h"
#include "picture_formats.h"
#include "picture_registry.h"
#include "picture_signature.h"
#include "regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace kadrix::cli {
namespace {

// Standard input is kept in memory up to this size, in a file beyond.
constexpr qint64 InMemoryBytes = qint64(16) << 20;

Text own(const char* source, QStringList args = {}) {
    return Text("kadrix-batch", source, std::move(args));
}

// A new file without a name in `folder`: O_TMPFILE, or where the file system
// has none, a file removed as soon as it is made. -1 (and errno) when neither
// can be made.
int namelessFileIn(const QString& folder) {
    const QByteArray name = nativeName(folder);
    const int fd = ::open(name.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    QByteArray pattern = name + "/.kadrix-batch-XXXXXX";
    const int made = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (made >= 0)
        ::unlink(pattern.constData());
    return made;
}

// The descriptor as a file to write and read; nullptr (the descriptor
// closed) when it cannot be one.
std::unique_ptr<QFile> fileOf(int fd) {
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

// Copies what `from` holds into `to`; false on a failed write.
bool copyInto(QFile& from, QFile& to) {
    if (!from.seek(0))
        return false;
    for (;;) {
        const QByteArray bytes = from.read(1 << 20);
        if (bytes.isEmpty())
            return from.error() == QFileDevice::NoError;
        if (to.write(bytes) != bytes.size())
            return false;
    }
}

} // namespace

QString temporaryFolder() {
    const QString tmp = qEnvironmentVariable("TMPDIR");
    return pathKind(tmp) == PathKind::Folder ? tmp : QStringLiteral("/tmp");
}

std::unique_ptr<QFile> namelessTemporaryFile() {
    return fileOf(namelessFileIn(temporaryFolder()));
}

StandardInput saveStandardInput() {
    StandardInput result;
    const auto failed = [&](const Text& why) {
        result.error = why;
        return std::move(result);
    };
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return failed(own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot read standard input")));
    // The first bytes say whether a picture comes: anything else (a
    // /dev/zero, a text) is refused before the rest is read.
    QByteArray bytes = in.read(signatureLength());
    result.extension = extensionOfSignature(bytes);
    if (in.error() == QFileDevice::NoError &&
        (result.extension.isEmpty() || !pictureRegistry().knows(result.extension)))
        return failed(own(QT_TRANSLATE_NOOP("kadrix-batch", "not a picture")));

    const QString folder = temporaryFolder();
    const auto cannotKeep = [&](int error) {
        return failed(own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot keep standard input in %1: %2"),
                          {folder, QString::fromLocal8Bit(std::strerror(error))}));
    };
    std::unique_ptr<QFile> kept = fileOf(::memfd_create("kadrix-batch-stdin", MFD_CLOEXEC));
    bool inMemory = kept != nullptr;
    if (!inMemory && !(kept = namelessTemporaryFile()))
        return cannotKeep(errno);
    qint64 total = 0;
    do {
        total += bytes.size();
        if (total > MaxPictureFileBytes)
            return failed(own(QT_TRANSLATE_NOOP("kadrix-batch", "more than %1 bytes"),
                              {QString::number(MaxPictureFileBytes)}));
        if (inMemory && total > InMemoryBytes) {
            std::unique_ptr<QFile> file = namelessTemporaryFile();
            if (!file)
                return cannotKeep(errno);
            if (!copyInto(*kept, *file))
                return cannotKeep(errno);
            kept = std::move(file);
            inMemory = false;
        }
        if (kept->write(bytes) != bytes.size())
            return failed(own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot keep standard input: %1"),
                              {kept->errorString()}));
        bytes = in.read(std::min<qint64>(1 << 16, MaxPictureFileBytes + 1 - total));
    } while (!bytes.isEmpty());
    if (in.error() != QFileDevice::NoError)
        return failed(own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot read standard input: %1"),
                          {in.errorString()}));
    const QString path = QStringLiteral("/proc/self/fd/") + QString::number(kept->handle());
    if (!kept->flush() || ::access(nativeName(path).constData(), R_OK) != 0)
        return failed(
            own(QT_TRANSLATE_NOOP("kadrix-batch", "cannot keep standard input: %1"),
                {path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno))}));
    result.path = path;
    result.kept = std::move(kept);
    return result;
}

QString copyToStandardOutput(QFile& file, int descriptor) {
    if (!file.seek(0))
        return file.errorString();
    std::fflush(stdout);
    std::fflush(stderr);
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            return file.errorString();
        if (got == 0)
            return {};
        for (qint64 done = 0; done < got;) {
            const ssize_t put = ::write(descriptor, buffer + done, std::size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                return QString::fromLocal8Bit(std::strerror(errno));
            done += put;
        }
    }
}

} // namespace kadrix::cli
