#include "filedrag.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace kadrix {

QStringList droppedFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        QString path = url.toLocalFile();
        // A folder may come as ".../name/": its name is what gets listed.
        while (path.size() > 1 && path.endsWith(u'/'))
            path.chop(1);
        paths << path;
    }
    return paths;
}

TFileDrag::TFileDrag(QObject* owner) : owner_(qobject_cast<QWidget*>(owner)) {
    if (owner_) {
        // Controls that take drops themselves (line edits do) would keep a
        // file dropped on them from the window: the filter goes in front of
        // them as well.
        hooked_.emplace_back(owner_);
        for (QWidget* child : owner_->findChildren<QWidget*>())
            if (child->acceptDrops())
                hooked_.emplace_back(child);
        for (const QPointer<QWidget>& widget : hooked_)
            widget->installEventFilter(this);
    }
    setEnableDrop(true);
}

TFileDrag::~TFileDrag() {
    for (const QPointer<QWidget>& widget : hooked_)
        if (widget)
            widget->removeEventFilter(this);
    setEnableDrop(false);
}

void TFileDrag::setEnableDrop(bool on) {
    EnableDrop_ = on;
    if (owner_)
        owner_->setAcceptDrops(on);
}

bool TFileDrag::eventFilter(QObject* watched, QEvent* event) {
    if (!EnableDrop_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (droppedFiles(drag->mimeData()).isEmpty())
            return false; // not files: the control may take it as it would
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        QStringList paths = droppedFiles(drop->mimeData());
        if (paths.isEmpty())
            return false;
        drop->acceptProposedAction();
        Files_ = std::move(paths);
        FileCount_ = int(Files_.size());
        emit OnDrop(this);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace kadrix
