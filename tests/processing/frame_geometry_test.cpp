#include "frame_geometry.h"
#include "framing.h"

#include <QImage>
#include <QTemporaryDir>

#include <climits>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

// The result size of each size choice for one upright picture.
struct RatioCase {
    SizeMode mode;
    int a, b;      // the ratio's terms, or the fixed size
    QSize picture; // upright
    QSize result;
};

TEST(ResultSizeFor, KeepsOneSideWholeAndRoundsTheOtherHalfUp) {
    const RatioCase cases[] = {
        {SizeMode::Fixed, 640, 480, {4032, 3024}, {640, 480}},
        {SizeMode::Fixed, 640, 480, {1, 1}, {640, 480}},
        {SizeMode::RatioCrop, 16, 9, {4032, 3024}, {4032, 2268}}, // taller: width kept
        {SizeMode::RatioPad, 16, 9, {4032, 3024}, {5376, 3024}},  // taller: height kept
        {SizeMode::RatioCrop, 16, 9, {1920, 1080}, {1920, 1080}}, // already at the ratio
        {SizeMode::RatioPad, 16, 9, {1920, 1080}, {1920, 1080}},
        {SizeMode::RatioCrop, 4032, 3024, {4000, 3000}, {4000, 3000}},
        {SizeMode::RatioCrop, 1, 1, {3, 2}, {2, 2}}, // wider: height kept
        {SizeMode::RatioPad, 1, 1, {3, 2}, {3, 3}},
        {SizeMode::RatioCrop, 2, 3, {5, 5}, {3, 5}},             // portrait ratio, 3.33 rounds down
        {SizeMode::RatioCrop, 3, 2, {5, 5}, {5, 3}},             // landscape ratio
        {SizeMode::RatioCrop, 4, 1, {10, 10}, {10, 3}},          // 2.5 rounds up
        {SizeMode::RatioPad, 3, 2, {1, 1}, {2, 1}},              // 1.5 rounds up
        {SizeMode::RatioCrop, 16, 9, {1001, 1001}, {1001, 563}}, // odd: 563.06
        {SizeMode::RatioCrop, 100, 1, {1, 1}, {1, 1}},           // at least 1
        {SizeMode::RatioPad, 100, 1, {1, 1}, {100, 1}},
        {SizeMode::RatioCrop, 4, 3, {500, 1}, {1, 1}}, // one row
        {SizeMode::RatioPad, 4, 3, {500, 1}, {500, 375}},
        {SizeMode::RatioPad, 1, 100, {640, 480}, {640, 64000}},
        {SizeMode::RatioCrop, 1, 100, {640, 480}, {5, 480}},    // 4.8
        {SizeMode::RatioPad, 1, INT_MAX, {2, 2}, {2, INT_MAX}}, // saturates
    };
    for (const RatioCase& c : cases) {
        const QSize got = resultSizeFor({c.mode, c.a, c.b}, c.picture);
        EXPECT_EQ(got, c.result) << int(c.mode) << " " << c.a << ":" << c.b << " of "
                                 << c.picture.width() << "x" << c.picture.height();
        if (c.mode == SizeMode::Fixed)
            continue;
        // A crop lies inside the picture, a pad holds it.
        const bool crop = c.mode == SizeMode::RatioCrop;
        EXPECT_TRUE(crop ? got.width() <= c.picture.width() && got.height() <= c.picture.height()
                         : got.width() >= c.picture.width() && got.height() >= c.picture.height());
    }
}

TEST(ClampTopLeft, KeepsTheWindowInsideALargerPictureAndASmallerPictureInsideTheResult) {
    const struct {
        QSize picture, result;
        QPoint wanted, got;
    } cases[] = {
        {{100, 50}, {40, 80}, {70, -40}, {60, -30}}, // past the right, above the canvas
        {{100, 50}, {40, 80}, {-5, 10}, {0, 0}},     // left of the picture, below the top
        {{100, 50}, {40, 80}, {25, -12}, {25, -12}}, // within reach
        {{10, 10}, {10, 10}, {3, -3}, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clampTopLeft(c.picture, c.result, c.wanted), c.got) << c.wanted.x();
}

// A ratio frames each picture as the fixed size it computes does, and an
// explicit top-left corner frames as that placement does.
TEST(SourceFramer, FramesEachPictureToItsOwnGeometry) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("source.png"));
    QImage image(50, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x)
            image.setPixel(x, y, qRgb(x * 5, y * 8, (x + y) & 255));
    ASSERT_TRUE(image.save(path, "PNG"));
    const struct {
        ResultSize size;
        Anchor anchor;
        std::optional<QPoint> topLeft;
        FrameGeometry expected;
    } cases[] = {
        {{SizeMode::RatioCrop, 1, 1}, Anchor::Centre, {}, {{30, 30}, {10, 0}}},
        {{SizeMode::RatioCrop, 1, 1}, Anchor::East, {}, {{30, 30}, {20, 0}}},
        {{SizeMode::RatioPad, 1, 1}, Anchor::Centre, {}, {{50, 50}, {0, -10}}},
        {{SizeMode::RatioPad, 1, 1}, Anchor::South, {}, {{50, 50}, {0, -20}}},
        {{SizeMode::Fixed, 20, 40}, Anchor::Centre, QPoint(100, -3), {{20, 40}, {30, -3}}},
        {{SizeMode::Fixed, 20, 40}, Anchor::Centre, QPoint(-4, 7), {{20, 40}, {0, 0}}},
    };
    for (const auto& c : cases) {
        SourceFramer framer(c.size);
        ASSERT_TRUE(framer.frame(path, 0x00123456, {}, {c.anchor}, {}, c.topLeft));
        EXPECT_EQ(framer.geometry(), c.expected) << c.expected.topLeft.x();
        EXPECT_EQ(QSize(framer.width(), framer.height()), c.expected.size);
        // The same canvas as the fixed size placed where the geometry says.
        const QSize s = c.expected.size;
        Bitmap expected(s.width(), s.height());
        Bitmap whole(image.convertToFormat(QImage::Format_BGR888));
        ComposeResult(whole, {-c.expected.topLeft.x(), -c.expected.topLeft.y()}, 0x00123456,
                      expected);
        EXPECT_EQ(framer.canvas().image(), expected.image());
    }
}

} // namespace
} // namespace kadrix
