#include "image_list_model.h"

namespace kadrix {

ImageListModel::ImageListModel(QObject* parent) : QAbstractListModel(parent) {}

void ImageListModel::setCount(int count) {
    beginResetModel();
    count_ = std::max(0, count);
    checked_.clear();
    endResetModel();
}

void ImageListModel::setCheckedQuietly(int row, bool on) {
    if (row < 0 || row >= count_)
        return;
    if (size_t(row) >= checked_.size()) {
        if (!on)
            return;
        checked_.resize(size_t(count_), 0);
    }
    checked_[size_t(row)] = on;
}

void ImageListModel::setChecked(int row, bool on) {
    if (row < 0 || row >= count_ || isChecked(row) == on)
        return;
    if (size_t(row) >= checked_.size())
        checked_.resize(size_t(row) + 1, 0);
    checked_[size_t(row)] = on;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

void ImageListModel::marksChanged() {
    if (count_ > 0)
        emit dataChanged(index(0), index(count() - 1), {Qt::CheckStateRole});
}

void ImageListModel::removeRowRange(int first, int last) {
    beginRemoveRows(QModelIndex(), first, last);
    const size_t end = std::min(checked_.size(), size_t(last) + 1);
    if (size_t(first) < end)
        checked_.erase(checked_.begin() + first, checked_.begin() + qsizetype(end));
    count_ -= last - first + 1;
    endRemoveRows();
}

void ImageListModel::noteChanged(int row) {
    if (row < 0 || row >= count_)
        return;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {Qt::ToolTipRole, Qt::DecorationRole});
}

int ImageListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ImageListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return text_ ? text_(index.row()) : QString();
    if (role == Qt::CheckStateRole)
        return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
    if ((role == Qt::ToolTipRole || role == Qt::DecorationRole) && note_) {
        const QString note = note_(index.row());
        if (note.isEmpty())
            return {};
        return role == Qt::ToolTipRole ? QVariant(note) : QVariant(noteIcon_);
    }
    return {};
}

bool ImageListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= count() || role != Qt::CheckStateRole)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags ImageListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

} // namespace kadrix
