#pragma once

#include <QAbstractListModel>

#include <functional>

namespace kadrix {

// A virtual list model: it stores no texts, only a row count that the program
// sets, and asks a callback for the text of each row it shows.
class ImageListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using TextSource = std::function<QString(int row)>;

    explicit ImageListModel(QObject* parent = nullptr);

    void setTextSource(TextSource source) { text_ = std::move(source); }
    void setCount(int count);
    int count() const { return count_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    TextSource text_;
    int count_ = 0;
};

} // namespace kadrix
