#include "image_list_model.h"

namespace kadrix {

ImageListModel::ImageListModel(QObject* parent) : QAbstractListModel(parent) {}

void ImageListModel::setCount(int count) {
    beginResetModel();
    count_ = std::max(0, count);
    endResetModel();
}

int ImageListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

QVariant ImageListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count_)
        return {};
    if (role == Qt::DisplayRole && text_)
        return text_(index.row());
    return {};
}

} // namespace kadrix
