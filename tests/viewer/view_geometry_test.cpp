#include "view_geometry.h"

#include <gtest/gtest.h>

namespace kadrix {
namespace {

// The viewer image sits at (3, 3): at the picture's own size in the source
// and result views, over the scroll box less 7 in the stretched view.
TEST(ViewBounds, EachViewMode) {
    const struct {
        int mode;
        QSize picture;
        QSize scrollBox;
        QRect bounds;
    } cases[] = {
        {SourceView, {640, 480}, {500, 400}, {3, 3, 640, 480}},
        {SourceView, {10, 20}, {500, 400}, {3, 3, 10, 20}},
        {ResultView, {800, 600}, {500, 400}, {3, 3, 800, 600}},
        {ModedSourceView, {640, 480}, {500, 400}, {3, 3, 493, 393}},
        {ModedSourceView, {1, 1}, {500, 400}, {3, 3, 493, 393}},
        {SourceView, {0, 0}, {500, 400}, {3, 3, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(viewBounds(c.mode, c.picture, c.scrollBox), c.bounds)
            << "mode " << c.mode << " picture " << c.picture.width() << "x" << c.picture.height();
}

} // namespace
} // namespace kadrix
