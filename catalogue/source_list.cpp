#include "source_list.h"

#include "errors.h"

namespace kadrix {

const SourceList::Entry& SourceList::entry(int row) const {
    checkRow(row);
    return entries_[size_t(row)];
}

void SourceList::removeAt(int row) {
    checkRow(row);
    entries_.erase(entries_.begin() + row);
    ++revision_;
}

void SourceList::setPlacement(int row, std::optional<QPoint> topLeft) {
    checkRow(row);
    entries_[size_t(row)].placement = topLeft;
}

void SourceList::replaceWith(SourceList&& other) {
    entries_ = std::move(other.entries_);
    listing_ = std::move(other.listing_);
    other.entries_.clear();
    other.listing_.reset();
    ++revision_;
    ++other.revision_;
}

void SourceList::checkRow(int row) const {
    if (row < 0 || row >= count())
        throw Error(QStringLiteral("Ligne %1 absente de la liste").arg(row));
}

int SourceList::indexOf(const QString& name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace kadrix
