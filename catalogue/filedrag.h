#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <vector>

class QWidget;
class QMimeData;

namespace kadrix {

// Makes a window a target for files dragged from the desktop: a drop anywhere
// on it, child controls included, fills Files with the dropped paths in the
// order given and then emits OnDrop. The window's own handling never sees the
// drop. Owned by its window; destroying it restores the window as it was.
class TFileDrag : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList Files READ Files)
    Q_PROPERTY(int FileCount READ FileCount)
    Q_PROPERTY(bool EnableDrop READ EnableDrop WRITE setEnableDrop)

public:
    // An owner that is not a widget is not hooked and receives no drops.
    explicit TFileDrag(QObject* owner);
    ~TFileDrag() override;
    TFileDrag(const TFileDrag&) = delete;
    TFileDrag& operator=(const TFileDrag&) = delete;

    // The full paths of the last drop's items, in drop order.
    const QStringList& Files() const { return Files_; }
    int FileCount() const { return FileCount_; }
    bool EnableDrop() const { return EnableDrop_; }
    // Registers the owner as a drop target, or unregisters it.
    void setEnableDrop(bool on);

signals:
    // Emitted after Files and FileCount hold the drop.
    void OnDrop(kadrix::TFileDrag* Sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> owner_;
    // The owner and those of its children that would take a drop themselves.
    std::vector<QPointer<QWidget>> hooked_;
    QStringList Files_;
    int FileCount_ = 0;
    bool EnableDrop_ = false;
};

// The local file paths a drag carries, in its order (items that are not local
// files are left out).
QStringList droppedFiles(const QMimeData* data);

} // namespace kadrix
