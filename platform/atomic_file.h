#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace kadrix {

// The hidden name a temporary of the result file `resultName` starts with:
// ".kadrix-", the result's name (shortened to leave room for the rest of the
// name within the file system's limit) and ".". The whole name adds six
// letters or digits and ".tmp". No user file is named so.
QString temporaryPrefix(const QString& resultName);
// Whether `fileName` is a temporary of the result named `resultName`.
bool isTemporaryOf(const QString& fileName, const QString& resultName);

// A seekable device over an open file descriptor that gathers small writes
// and remembers the system's error of a failed one.
class DescriptorDevice final : public QIODevice {
public:
    void attach(int descriptor);
    bool isSequential() const override { return false; }
    bool seek(qint64 position) override;
    qint64 size() const override;
    // Writes out what is gathered; false when the system refuses.
    bool drain();
    int errorNumber() const { return error_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool fail(int error);
    bool writeAll(const char* data, qint64 size);
    int fd_ = -1;
    int error_ = 0;
    QByteArray pending_;
};

// A new file that takes the name `path` only once it is written whole and
// stored, and never through a link there: it is written without a name where
// the file system allows (O_TMPFILE), else under a hidden private name beside
// the target (see temporaryPrefix()), on which it holds an exclusive flock
// while it is open, so that no other process takes it for a leftover of an
// interrupted run. Committing without `replace` never
// replaces anything that is at the path by then, a file that appeared during
// the write included; with `replace` whatever is there (a link itself, not
// what it points to) is replaced in one step. A file not committed is
// removed.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open();
    DescriptorDevice& device() { return device_; }
    // With `replace`, the new file takes the permissions of a file it replaces.
    bool commit(bool replace);
    void cancel();

    // The system's error of the step that failed (0 when none), and its text.
    int errorNumber() const { return error_; }
    QString errorString() const;

private:
    bool fail(int error);
    bool linkNamed(QByteArray& name);
    bool openNamed();
    bool nameNew();

    QString path_;
    QByteArray name_;
    int folder_ = -1;
    int fd_ = -1;
    QByteArray temporary_; // the private name, empty while the file has none
    int error_ = 0;
    DescriptorDevice device_;
};

// Writes `bytes` into the character device, FIFO or socket at `path` (a link
// followed), as a stream: nothing is created, truncated or replaced. Returns
// 0, or the system's error; a file found there by then (a regular file or a
// folder) is refused with EEXIST and left alone.
int writeIntoStream(const QString& path, const QByteArray& bytes);

} // namespace kadrix
