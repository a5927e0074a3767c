#include "image_list_model.h"

namespace kadrix {

ImageListModel::ImageListModel(QObject* parent) : QAbstractListModel(parent) {}

void ImageListModel::setCount(int count) {
    beginResetModel();
    checked_.assign(size_t(std::max(0, count)), 0);
    endResetModel();
}

void ImageListModel::setChecked(int row, bool on) {
    if (isChecked(row) == on)
        return;
    checked_[size_t(row)] = on;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

void ImageListModel::marksChanged() {
    if (!checked_.empty())
        emit dataChanged(index(0), index(count() - 1), {Qt::CheckStateRole});
}

void ImageListModel::removeRowRange(int first, int last) {
    beginRemoveRows(QModelIndex(), first, last);
    checked_.erase(checked_.begin() + first, checked_.begin() + last + 1);
    endRemoveRows();
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
