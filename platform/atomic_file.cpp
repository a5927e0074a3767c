#include "atomic_file.h"

#include "native_name.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kadrix {
namespace {

constexpr qsizetype RandomLength = 6;
const QString Ending = QStringLiteral(".tmp");
// The longest file name most file systems take, in bytes.
constexpr qsizetype NameMax = 255;
// Writes are gathered up to this many bytes before they go to the system.
constexpr qsizetype Gathered = 256 * 1024;

bool isAsciiAlphanumeric(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

QString randomPart() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString text;
    for (qsizetype i = 0; i < RandomLength; ++i)
        text += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return text;
}

void closeDescriptor(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// A connection to the local socket at `name`; -1 with errno set when none.
int connectTo(const QByteArray& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(name.size()) >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace

int writeIntoStream(const QString& path, const QByteArray& bytes) {
    const QByteArray name = nativeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return errno;
    const bool socket = S_ISSOCK(status.st_mode);
    int fd = socket ? connectTo(name) : ::open(name.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // What was opened is what is written into: a file put there meanwhile is
    // never written over.
    if (::fstat(fd, &status) != 0 || S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)) {
        ::close(fd);
        return EEXIST;
    }
    int error = 0;
    for (qsizetype done = 0; done < bytes.size() && error == 0;) {
        const ssize_t n =
            socket ? ::send(fd, bytes.constData() + done, std::size_t(bytes.size() - done),
                            MSG_NOSIGNAL)
                   : ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            error = errno;
        else if (n == 0)
            error = ENOSPC;
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
}

QString temporaryPrefix(const QString& resultName) {
    const QString start = QStringLiteral(".kadrix-");
    QString stem = resultName;
    const qsizetype room = NameMax - start.size() - 1 - RandomLength - Ending.size();
    while (nativeName(stem).size() > room) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.back().isHighSurrogate())
            stem.chop(1);
    }
    return start + stem + u'.';
}

bool isTemporaryOf(const QString& fileName, const QString& resultName) {
    const QString prefix = temporaryPrefix(resultName);
    if (resultName.isEmpty() || fileName.size() != prefix.size() + RandomLength + Ending.size() ||
        !fileName.startsWith(prefix) || !fileName.endsWith(Ending))
        return false;
    for (qsizetype i = prefix.size(); i < prefix.size() + RandomLength; ++i)
        if (!isAsciiAlphanumeric(fileName[i]))
            return false;
    return true;
}

// --- DescriptorDevice -------------------------------------------------------

void DescriptorDevice::attach(int descriptor) {
    fd_ = descriptor;
    error_ = 0;
    pending_.resize(0);
    pending_.reserve(Gathered);
    open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

bool DescriptorDevice::fail(int error) {
    error_ = error;
    setErrorString(qt_error_string(error));
    return false;
}

bool DescriptorDevice::writeAll(const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, std::size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        done += n;
    }
    return true;
}

bool DescriptorDevice::drain() {
    if (error_ != 0 || !writeAll(pending_.constData(), pending_.size()))
        return false;
    pending_.resize(0); // keeps its room for the next bytes
    return true;
}

bool DescriptorDevice::seek(qint64 position) {
    if (!drain())
        return false;
    if (::lseek(fd_, off_t(position), SEEK_SET) < 0)
        return fail(errno);
    return QIODevice::seek(position);
}

qint64 DescriptorDevice::size() const {
    struct stat status {};
    if (::fstat(fd_, &status) != 0)
        return 0;
    return std::max<qint64>(status.st_size, pos() /* gathered bytes lie before pos() */);
}

qint64 DescriptorDevice::readData(char* data, qint64 maxSize) {
    if (!drain())
        return -1;
    const ssize_t n = ::read(fd_, data, std::size_t(maxSize));
    return n < 0 ? (fail(errno), -1) : n;
}

qint64 DescriptorDevice::writeData(const char* data, qint64 size) {
    if (error_ != 0)
        return -1;
    if (size >= Gathered) // a large block goes as it is
        return drain() && writeAll(data, size) ? size : -1;
    pending_.append(data, qsizetype(size));
    if (pending_.size() >= Gathered && !drain())
        return -1;
    return size;
}

// --- AtomicFile -------------------------------------------------------------

AtomicFile::AtomicFile(const QString& path) : path_(path) {}

AtomicFile::~AtomicFile() {
    cancel();
}

bool AtomicFile::fail(int error) {
    error_ = error;
    return false;
}

QString AtomicFile::errorString() const {
    return qt_error_string(error_);
}

bool AtomicFile::open() {
    const QFileInfo info(path_);
    name_ = nativeName(info.fileName());
    if (name_.isEmpty())
        return fail(EISDIR);
    // The folder itself may be reached through links; only the last part of
    // the path is never followed.
    folder_ = ::open(nativeName(info.path()).constData(), O_DIRECTORY | O_RDONLY | O_CLOEXEC);
    if (folder_ < 0)
        return fail(errno);
#ifdef O_TMPFILE
    // Linking a nameless file into the folder goes through /proc.
    if (::access("/proc/self/fd", X_OK) == 0) {
        fd_ = ::openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            // The lock goes with the file to the private name it may take.
            ::flock(fd_, LOCK_EX | LOCK_NB);
            device_.attach(fd_);
            return true;
        }
    }
#endif
    return openNamed();
}

bool AtomicFile::openNamed() {
    const QString prefix = temporaryPrefix(QFile::decodeName(name_));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = nativeName(prefix + randomPart() + Ending);
        fd_ = ::openat(folder_, name.constData(),
                       O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            // Held while the file lives: another run's sweep of interrupted
            // runs' temporaries leaves a locked one alone.
            ::flock(fd_, LOCK_EX | LOCK_NB);
            temporary_ = name;
            device_.attach(fd_);
            return true;
        }
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
}

// Gives the nameless file the private name `name` (a fresh one each try).
bool AtomicFile::linkNamed(QByteArray& name) {
#ifdef O_TMPFILE
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    const QString prefix = temporaryPrefix(QFile::decodeName(name_));
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = nativeName(prefix + randomPart() + Ending);
        if (::linkat(AT_FDCWD, self.constData(), folder_, name.constData(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
#else
    Q_UNUSED(name);
    return fail(ENOTSUP);
#endif
}

// Moves the private name to the result's name without replacing anything.
bool AtomicFile::nameNew() {
#ifdef RENAME_NOREPLACE
    if (::renameat2(folder_, temporary_.constData(), folder_, name_.constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return fail(errno);
#endif
    // A file system without the flag (NFS): a new link fails on any name
    // already there, and the private name then goes.
    if (::linkat(folder_, temporary_.constData(), folder_, name_.constData(), 0) == 0) {
        ::unlinkat(folder_, temporary_.constData(), 0);
        return true;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        return fail(errno);
    // No links either (FAT, some network shares): the nearest equivalent is
    // to look just before renaming.
    struct stat status {};
    if (::fstatat(folder_, name_.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0)
        return fail(EEXIST);
    if (::renameat(folder_, temporary_.constData(), folder_, name_.constData()) != 0)
        return fail(errno);
    return true;
}

bool AtomicFile::commit(bool replace) {
    if (fd_ < 0)
        return fail(EBADF);
    if (!device_.drain())
        return fail(device_.errorNumber());
    if (replace) {
        struct stat old {};
        if (::fstatat(folder_, name_.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(old.st_mode))
            ::fchmod(fd_, old.st_mode & 07777);
    }
    if (::fdatasync(fd_) != 0)
        return fail(errno);
    if (temporary_.isEmpty() && !replace) {
        // The nameless file takes the result's name, which fails on any name there.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
        if (::linkat(AT_FDCWD, self.constData(), folder_, name_.constData(), AT_SYMLINK_FOLLOW) !=
            0)
            return fail(errno);
        cancel();
        return true;
    }
    if (temporary_.isEmpty()) {
        QByteArray name; // ours only once linked: a name that failed is someone else's
        if (!linkNamed(name))
            return false;
        temporary_ = name;
    }
    const bool named =
        replace ? ::renameat(folder_, temporary_.constData(), folder_, name_.constData()) == 0 ||
                      fail(errno)
                : nameNew();
    if (named)
        temporary_.clear();
    cancel();
    return named;
}

void AtomicFile::cancel() {
    if (device_.isOpen())
        device_.close();
    closeDescriptor(fd_);
    if (!temporary_.isEmpty() && folder_ >= 0)
        ::unlinkat(folder_, temporary_.constData(), 0);
    temporary_.clear();
    closeDescriptor(folder_);
}

} // namespace kadrix
