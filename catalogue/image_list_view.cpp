#include "image_list_view.h"

#include "image_list_model.h"

#include <QStyledItemDelegate>

namespace kadrix {
namespace {

// Draws rows as usual, at one fixed height.
class FixedHeightDelegate final : public QStyledItemDelegate {
public:
    FixedHeightDelegate(int height, QObject* parent)
        : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), height_);
    }

private:
    int height_;
};

bool changesChecks(MarkOperation op) {
    return op <= MarkOperation::CheckSelected;
}

} // namespace

ImageListView::ImageListView(QWidget* parent)
    : QListView(parent), model_(new ImageListModel(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched); // long lists lay out in steps, not at once
}

void ImageListView::setItemHeight(int height) {
    QAbstractItemDelegate* old = itemDelegate();
    setItemDelegate(new FixedHeightDelegate(height, this));
    if (old && old->parent() == this)
        old->deleteLater();
}

int ImageListView::count() const {
    return model_->count();
}

void ImageListView::setCount(int count) {
    model_->setCount(count);
    selectionModel()->clear();
}

int ImageListView::currentRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void ImageListView::setCurrentRow(int row) {
    selectionModel()->setCurrentIndex(model_->index(row), QItemSelectionModel::NoUpdate);
}

bool ImageListView::isSelected(int row) const {
    return selectionModel()->isSelected(model_->index(row));
}

void ImageListView::setSelected(int row, bool on) {
    selectionModel()->select(model_->index(row),
                             on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

int ImageListView::selectedCount() const {
    int n = 0;
    for (const QItemSelectionRange& r : selectionModel()->selection())
        n += r.height();
    return n;
}

std::vector<char> ImageListView::selectionFlags() const {
    std::vector<char> flags(size_t(count()), 0);
    for (const QItemSelectionRange& r : selectionModel()->selection())
        for (int row = r.top(); row <= r.bottom() && row < count(); ++row)
            flags[size_t(row)] = 1;
    return flags;
}

void ImageListView::setSelectionFlags(const std::vector<char>& flags) {
    // One range per run of selected rows: selecting row by row would cost a
    // merge per row.
    QItemSelection selection;
    const int n = std::min(count(), int(flags.size()));
    for (int row = 0; row < n;) {
        if (!flags[size_t(row)]) {
            ++row;
            continue;
        }
        int last = row;
        while (last + 1 < n && flags[size_t(last + 1)])
            ++last;
        selection.select(model_->index(row), model_->index(last));
        row = last + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

bool ImageListView::isChecked(int row) const {
    return model_->isChecked(row);
}
void ImageListView::setChecked(int row, bool on) {
    model_->setChecked(row, on);
}

int ImageListView::rowAtPoint(const QPoint& point) const {
    const QModelIndex i = indexAt(point);
    return i.isValid() ? i.row() : -1;
}

void ImageListView::applyMarks(MarkOperation op, const std::function<RowStep()>& beforeRow) {
    const bool checks = changesChecks(op);
    // Selection is gathered and set in one step at the end; check marks are
    // set row by row, read back from the model each time, since a command run
    // in between may have changed them.
    std::vector<char> selected = selectionFlags();
    const int n = count();
    for (int row = 0; row < n; ++row) {
        const RowStep step = beforeRow();
        if (step == RowStep::Abandon)
            return;
        if (step == RowStep::Stop || row >= count())
            break;
        const RowMarks after = applyMark(op, {isChecked(row), selected[size_t(row)] != 0});
        if (checks)
            model_->setCheckedQuietly(row, after.checked);
        else
            selected[size_t(row)] = after.selected;
    }
    if (checks)
        model_->marksChanged();
    else
        setSelectionFlags(selected);
}

} // namespace kadrix
