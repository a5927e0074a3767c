#include "image_list_view.h"

#include "image_list_model.h"

namespace kadrix {

ImageListView::ImageListView(QWidget* parent)
    : QListView(parent), model_(new ImageListModel(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
}

} // namespace kadrix
