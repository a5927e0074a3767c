#include "event_loop.h"

#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

// A shown widget that counts its repaints.
class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return QWidget::event(e);
    }
};

TEST(RepaintThrottle, RepaintsOncePerIntervalAndWithTheLastStateAtTheEnd) {
    PaintCounter widget;
    widget.resize(50, 20);
    widget.show();
    processPendingMessages();
    const int before = widget.paints;
    {
        RepaintThrottle throttle(&widget, std::chrono::hours(1));
        for (int pass = 0; pass < 50; ++pass) {
            widget.update();
            throttle.processPendingMessages();
        }
        EXPECT_EQ(widget.paints, before + 1); // the first pass only
        EXPECT_FALSE(widget.updatesEnabled());
    }
    EXPECT_TRUE(widget.updatesEnabled());
    processPendingMessages();
    EXPECT_EQ(widget.paints, before + 2);

    // Within a suspended redraw it leaves the widget alone.
    RedrawSuspension suspended(&widget);
    {
        RepaintThrottle throttle(&widget, std::chrono::milliseconds(0));
        widget.update();
        throttle.processPendingMessages();
    }
    processPendingMessages();
    EXPECT_FALSE(widget.updatesEnabled());
    EXPECT_EQ(widget.paints, before + 2);
}

} // namespace
} // namespace kadrix::test
