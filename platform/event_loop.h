#pragma once

class QWidget;

namespace kadrix {

// Lets the window repaint and other commands run in the middle of a long loop.
void processPendingMessages();

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

} // namespace kadrix
