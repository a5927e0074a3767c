#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace kadrix {

// The ordered, unsorted list behind the image list: row i is entry i. Each
// entry is a bare file name; the scan attaches the file's size.
class SourceList {
public:
    struct Entry {
        QString name;
        std::optional<qint64> fileSize; // 64 bits: files over 2 GiB compare right
    };

    int count() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    const QString& operator[](int row) const { return entries_.at(size_t(row)).name; }
    const Entry& entry(int row) const { return entries_.at(size_t(row)); }

    void clear() {
        entries_.clear();
        ++revision_;
    }
    void append(QString name, std::optional<qint64> fileSize = std::nullopt) {
        entries_.push_back({std::move(name), fileSize});
        ++revision_;
    }
    void removeAt(int row) {
        entries_.erase(entries_.begin() + row);
        ++revision_;
    }

    // Changes at every change of the list: a command that fills it while
    // other commands may run can tell whether one of them changed it too.
    quint64 revision() const { return revision_; }

    // The first entry equal to `name` ignoring letter case, or -1.
    int indexOf(const QString& name) const;

private:
    std::vector<Entry> entries_;
    quint64 revision_ = 0;
};

} // namespace kadrix
