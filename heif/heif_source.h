#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

struct heif_reader;
class QFile;

namespace kadrix::heif {

// The bytes of a HEIF file, read where they lie: from the open file, or from
// memory for data that came without one. Reading a file part by part keeps
// only the container and the coded tiles in use in memory, and a file that
// shrinks meanwhile gives a failed read, never a fault.
class HeifSource {
public:
    // Opens `path` as a regular file; throws as openRegularFile() does.
    static HeifSource fromFile(const QString& path);
    explicit HeifSource(QByteArray data);
    HeifSource(HeifSource&&) noexcept;
    HeifSource& operator=(HeifSource&&) noexcept;
    ~HeifSource();

    qint64 size() const { return size_; }
    // `length` bytes at `offset`; nothing when they do not all lie inside the
    // file or cannot be read.
    std::optional<QByteArray> read(qint64 offset, qint64 length) const;

    // libheif's reader over this source: pass `this` as its user data. Each
    // source keeps one position, so one libheif context reads it at a time.
    static const heif_reader* libheifReader();
    // Whether a read libheif asked for failed (the file shrank since it was
    // opened): what libheif made of the bytes is then not the file's.
    bool failed() const { return failed_; }

private:
    HeifSource() = default;
    bool readInto(char* into, qint64 offset, qint64 length) const;

    std::unique_ptr<QFile> file_;
    QByteArray data_;
    qint64 size_ = 0;
    qint64 position_ = 0; // libheif's
    bool failed_ = false;
};

} // namespace kadrix::heif
