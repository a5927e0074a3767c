#include "event_loop.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace kadrix {

RedrawSuspension::RedrawSuspension(QWidget* widget)
    : widget_(widget), wasEnabled_(widget ? widget->updatesEnabled() : true) {
    if (widget_)
        widget_->setUpdatesEnabled(false);
}

RedrawSuspension::~RedrawSuspension() {
    if (widget_)
        widget_->setUpdatesEnabled(wasEnabled_);
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

RepaintThrottle::RepaintThrottle(QWidget* widget, std::chrono::milliseconds interval)
    : widget_(widget), wasEnabled_(widget && widget->updatesEnabled()), interval_(interval) {
    if (widget_)
        widget_->setUpdatesEnabled(false);
}

RepaintThrottle::~RepaintThrottle() {
    if (widget_)
        widget_->setUpdatesEnabled(wasEnabled_); // enabling repaints the whole widget
}

void RepaintThrottle::processPendingMessages() {
    const bool due = wasEnabled_ && widget_ &&
                     (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= interval_.count());
    if (!due) {
        kadrix::processPendingMessages();
        return;
    }
    widget_->setUpdatesEnabled(true);
    kadrix::processPendingMessages();
    if (widget_)
        widget_->setUpdatesEnabled(false);
    sinceRepaint_.start();
}

} // namespace kadrix
