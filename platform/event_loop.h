#pragma once

#include "message_loop.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <chrono>

namespace kadrix {

// Suspends a widget's repainting for its lifetime; nesting restores the state
// that was in force before.
class RedrawSuspension {
public:
    explicit RedrawSuspension(QWidget* widget);
    ~RedrawSuspension();
    RedrawSuspension(const RedrawSuspension&) = delete;
    RedrawSuspension& operator=(const RedrawSuspension&) = delete;

private:
    QWidget* widget_;
    bool wasEnabled_;
};

// Shows the busy cursor for its lifetime.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// For its lifetime, lets a widget that changes at every pass of a long loop
// repaint at most once per interval: its state stays current, only the
// repaints in between are skipped (a list walks its files far faster than a
// screen refreshes). At the end it repaints with the last state.
class RepaintThrottle {
public:
    RepaintThrottle(QWidget* widget, std::chrono::milliseconds interval);
    ~RepaintThrottle();
    RepaintThrottle(const RepaintThrottle&) = delete;
    RepaintThrottle& operator=(const RepaintThrottle&) = delete;

    // Processes pending messages; the widget repaints in this pass when its
    // interval has passed.
    void processPendingMessages();

private:
    QPointer<QWidget> widget_;
    bool wasEnabled_;
    std::chrono::milliseconds interval_;
    QElapsedTimer sinceRepaint_; // invalid until the first pass: that one repaints
};

} // namespace kadrix
