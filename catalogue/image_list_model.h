#pragma once

#include <QAbstractListModel>
#include <QIcon>

#include <functional>
#include <vector>

namespace kadrix {

// A virtual check list model: it stores no texts, only a row count that the
// program sets and one check mark per row, and asks a callback for the text
// of each row it paints. Check marks belong to the rows' files: removing rows
// removes their marks with them, a new count starts with none. A row may
// also carry a note (a picture placed by hand): shown as its tooltip and by
// an icon before its text, which stays as it is.
class ImageListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using TextSource = std::function<QString(int row)>;

    explicit ImageListModel(QObject* parent = nullptr);

    void setTextSource(TextSource source) { text_ = std::move(source); }
    // The note of each row, "" for none, and the icon of a row with one.
    void setNoteSource(TextSource source, QIcon icon) {
        note_ = std::move(source);
        noteIcon_ = std::move(icon);
    }
    // Tells the view that a row's note changed.
    void noteChanged(int row);
    void setCount(int count);
    int count() const { return count_; }

    bool isChecked(int row) const {
        return row >= 0 && size_t(row) < checked_.size() && checked_[size_t(row)] != 0;
    }
    void setChecked(int row, bool on);
    void toggleChecked(int row) { setChecked(row, !isChecked(row)); }
    // Sets a mark without telling the view, for loops over many rows; call
    // marksChanged() afterwards.
    void setCheckedQuietly(int row, bool on);
    void marksChanged();
    // Removes rows [first, last] with their marks.
    void removeRowRange(int first, int last);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TextSource text_;
    TextSource note_;
    QIcon noteIcon_;
    int count_ = 0;
    // Marks of the first rows; rows past its end are unchecked. It grows only
    // when a mark is set, so setting the row count costs the same for any
    // count.
    std::vector<char> checked_;
};

} // namespace kadrix
