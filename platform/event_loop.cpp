#include "event_loop.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace kadrix {

void processPendingMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

RedrawSuspension::RedrawSuspension(QWidget* widget)
    : widget_(widget), wasEnabled_(widget ? widget->updatesEnabled() : true) {
    if (widget_)
        widget_->setUpdatesEnabled(false);
}

RedrawSuspension::~RedrawSuspension() {
    if (widget_)
        widget_->setUpdatesEnabled(wasEnabled_);
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

} // namespace kadrix
