#pragma once

#include "mark_operations.h"
#include "source_list.h"

#include <QListView>

#include <functional>
#include <vector>

namespace kadrix {

class ImageListModel;

// The image list: a virtual check list with extended selection. Rows are
// addressed by index; the current row is the one with the focus frame and
// may or may not be selected.
class ImageListView : public QListView {
    Q_OBJECT
public:
    explicit ImageListView(QWidget* parent = nullptr);
    ImageListModel* listModel() const { return model_; }
    // Every row gets this height in pixels.
    void setItemHeight(int height);

    int count() const;
    void setCount(int count); // clears marks and selection
    int currentRow() const;   // -1 when no row has the focus
    void setCurrentRow(int row);
    bool isSelected(int row) const;
    void setSelected(int row, bool on);
    int selectedCount() const;
    std::vector<char> selectionFlags() const;
    void setSelectionFlags(const std::vector<char>& flags);
    bool isChecked(int row) const;
    void setChecked(int row, bool on);
    // The row at a point of the viewport, counting only existing rows.
    int rowAtPoint(const QPoint& point) const;

    // Applies a mark operation to rows in ascending order. Before each row
    // `beforeRow` runs (it processes pending messages); on Stop the loop ends
    // there, leaving the later rows as they were; on Abandon it ends without
    // touching the list any further.
    void applyMarks(MarkOperation op, const std::function<RowStep()>& beforeRow);

private:
    ImageListModel* model_; // owned by this view (QObject parent)
};

} // namespace kadrix
