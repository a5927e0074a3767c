#pragma once

#include <QListView>

namespace kadrix {

class ImageListModel;

// The image list: a virtual list view with extended selection.
class ImageListView : public QListView {
    Q_OBJECT
public:
    explicit ImageListView(QWidget* parent = nullptr);
    ImageListModel* listModel() const { return model_; }

private:
    ImageListModel* model_; // owned by this view (QObject parent)
};

} // namespace kadrix
