#pragma once

#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

namespace kadrix {

// The ordered, unsorted list behind the image list: row i is entry i. Each
// entry is a bare file name; the scan attaches the file's size, and the user
// may place a row's picture by hand. What a row holds goes with the row: a new
// scan or drop, or removing the row, forgets it.
class SourceList {
public:
    struct Entry {
        QString name;
        std::optional<qint64> fileSize; // 64 bits: files over 2 GiB compare right
        // The result's top-left corner in the upright picture, when placed by
        // hand; the anchor places it otherwise.
        std::optional<QPoint> placement = std::nullopt;
    };

    // Where the rows were listed from: the folder a scan listed, or the folder
    // of a drop's first file. Every row is read from it, whatever the source
    // folder field holds later.
    struct Listing {
        QString folder; // ends in "/"
        bool dropped = false;
    };

    int count() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    // A row past the end throws Error "Ligne %d absente de la liste".
    const QString& operator[](int row) const { return entry(row).name; }
    const Entry& entry(int row) const;

    // Empties the list, and forgets where it was listed from.
    void clear() {
        entries_.clear();
        listing_.reset();
        ++revision_;
    }
    void append(QString name, std::optional<qint64> fileSize = std::nullopt) {
        entries_.push_back({std::move(name), fileSize});
        ++revision_;
    }
    void removeAt(int row);
    // Places a row by hand, or gives it back to the anchor. Not a change of
    // the rows: a run going over them goes on.
    void setPlacement(int row, std::optional<QPoint> topLeft);
    // Takes the entries and the listing of `other`, which is left empty: one change.
    void replaceWith(SourceList&& other);

    // Nothing for rows put in the list by other means than a scan or a drop:
    // they lie in the folder the source folder field names.
    const std::optional<Listing>& listing() const { return listing_; }
    void setListing(Listing listing) { listing_ = std::move(listing); }

    // Changes at every change of the list: a command that fills it while
    // other commands may run can tell whether one of them changed it too.
    quint64 revision() const { return revision_; }

    // The first entry equal to `name` ignoring letter case, or -1.
    int indexOf(const QString& name) const;

private:
    void checkRow(int row) const;

    std::vector<Entry> entries_;
    std::optional<Listing> listing_;
    quint64 revision_ = 0;
};

// What a loop over the rows learns before each row: go on, stop there
// keeping what was done, or abandon because the list was changed by another
// command (nothing worked out from the old rows may reach the new ones).
enum class RowStep { Go, Stop, Abandon };

// What a loop that lets other commands run between its rows checks after
// each pass: whether one of them changed the list (a drop or a scan replaced
// it, a removal shortened it), so that nothing worked out from the old rows
// is applied to the new ones.
class SourceListWatch {
public:
    explicit SourceListWatch(const SourceList& list) : list_(list), revision_(list.revision()) {}
    bool changed() const { return list_.revision() != revision_; }
    // The loop's own change of the list: not a change by another command.
    void acceptOwnChange() { revision_ = list_.revision(); }

private:
    const SourceList& list_;
    quint64 revision_;
};

} // namespace kadrix
