#include "heif_source.h"

#include "regular_file.h"

#include <libheif/heif.h>

#include <QFile>

#include <algorithm>
#include <cstring>

namespace kadrix::heif {

HeifSource HeifSource::fromFile(const QString& path) {
    HeifSource source;
    source.file_ = std::make_unique<QFile>();
    openRegularFile(*source.file_, path);
    source.size_ = source.file_->size();
    return source;
}

HeifSource::HeifSource(QByteArray data) : data_(std::move(data)), size_(data_.size()) {}
HeifSource::HeifSource(HeifSource&&) noexcept = default;
HeifSource& HeifSource::operator=(HeifSource&&) noexcept = default;
HeifSource::~HeifSource() = default;

bool HeifSource::readInto(char* into, qint64 offset, qint64 length) const {
    if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset)
        return false;
    if (length == 0)
        return true;
    if (!file_) {
        std::memcpy(into, data_.constData() + offset, size_t(length));
        return true;
    }
    return file_->seek(offset) && file_->read(into, length) == length;
}

std::optional<QByteArray> HeifSource::read(qint64 offset, qint64 length) const {
    if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset)
        return std::nullopt;
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    if (!readInto(bytes.data(), offset, length))
        return std::nullopt;
    return bytes;
}

const heif_reader* HeifSource::libheifReader() {
    static const heif_reader reader = [] {
        heif_reader r{};
        r.reader_api_version = 1;
        r.get_position = [](void* source) -> int64_t {
            return static_cast<HeifSource*>(source)->position_;
        };
        // libheif 1.15 asserts that a read it asked for succeeds: a failed
        // one gives zeros, and the source remembers the failure for the
        // caller to report once libheif returns.
        r.read = [](void* into, size_t length, void* source) -> int {
            auto* s = static_cast<HeifSource*>(source);
            if (!s->readInto(static_cast<char*>(into), s->position_, qint64(length))) {
                std::memset(into, 0, length);
                s->failed_ = true;
            }
            s->position_ += qint64(length);
            return 0;
        };
        r.seek = [](int64_t position, void* source) -> int {
            auto* s = static_cast<HeifSource*>(source);
            if (position < 0 || position > s->size_)
                return 1;
            s->position_ = position;
            return 0;
        };
        // The file's size now, so that libheif reports a file cut short
        // since it was opened before it reads past its end.
        r.wait_for_file_size = [](int64_t size, void* source) {
            const auto* s = static_cast<HeifSource*>(source);
            return size <= std::min(s->size_, s->file_ ? s->file_->size() : s->size_)
                       ? heif_reader_grow_status_size_reached
                       : heif_reader_grow_status_size_beyond_eof;
        };
        return r;
    }();
    return &reader;
}

} // namespace kadrix::heif
