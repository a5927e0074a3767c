#include "compositor.h"
#include "framing.h"
#include "framing_sinks.h"

#include <QImage>
#include <QTemporaryDir>

#include <optional>
#include <random>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

constexpr Colour Wipe = 0x00123456;

// Every source pixel gets its own colour, so a misplaced pixel shows.
Bitmap numberedSource(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.scanLine(y);
        for (int x = 0; x < w; ++x) {
            row[x * 3] = std::uint8_t(x);
            row[x * 3 + 1] = std::uint8_t(x >> 8);
            row[x * 3 + 2] = std::uint8_t(y * 7 + (x >> 16));
        }
    }
    return b;
}

// The per-pixel statement of the result: source pixel (x - dx, y - dy) where
// it exists, otherwise the wipe colour; dx and dy truncate toward zero.
void expectMatchesOracle(const Bitmap& src, const Bitmap& result, int W, int H,
                         std::optional<Placement> at = std::nullopt) {
    const int dx = at ? at->dx : (W - src.width()) / 2;
    const int dy = at ? at->dy : (H - src.height()) / 2;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int sx = x - dx, sy = y - dy;
            const bool inside = sx >= 0 && sx < src.width() && sy >= 0 && sy < src.height();
            const Colour expected = inside ? src.pixel(sx, sy) : Wipe;
            if (result.pixel(x, y) != expected) {
                ADD_FAILURE() << "source " << src.width() << "x" << src.height() << " on " << W
                              << "x" << H << ": pixel " << x << "," << y;
                return;
            }
        }
}

Bitmap compose(const Bitmap& src, int W, int H, bool* composed = nullptr,
               Anchor anchor = Anchor::Centre) {
    Bitmap result(W, H);
    result.fill(0x00ABCDEF); // stale content must be covered
    const bool ok = ComposeResult(src, W, H, Wipe, result, anchor);
    if (composed)
        *composed = ok;
    return result;
}

TEST(ComposeResult, MatchesThePerPixelRuleForRandomSizesOnBothSidesOfTheCanvas) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> canvas(1, 64);
    for (int i = 0; i < 300; ++i) {
        const int W = canvas(rng), H = canvas(rng);
        std::uniform_int_distribution<int> sw(1, 2 * W + 3), sh(1, 2 * H + 3);
        const Bitmap src = numberedSource(sw(rng), sh(rng));
        expectMatchesOracle(src, compose(src, W, H), W, H);
    }
}

struct NamedCase {
    int sw, sh;
    int dx, dy;
};

class ComposeNamedCases : public ::testing::TestWithParam<NamedCase> {};

TEST_P(ComposeNamedCases, OnA640x480Canvas) {
    const NamedCase c = GetParam();
    const Bitmap src = numberedSource(c.sw, c.sh);
    const Placement p = placementOf(c.sw, c.sh, 640, 480);
    EXPECT_EQ(p.dx, c.dx);
    EXPECT_EQ(p.dy, c.dy);
    bool composed = false;
    const Bitmap result = compose(src, 640, 480, &composed);
    EXPECT_TRUE(composed);
    expectMatchesOracle(src, result, 640, 480);
}

INSTANTIATE_TEST_SUITE_P(Part, ComposeNamedCases,
                         ::testing::Values(NamedCase{640, 480, 0, 0},         // exact fit
                                           NamedCase{639, 479, 0, 0},         // wipe last col/row
                                           NamedCase{637, 477, 1, 1},         // 3 narrower
                                           NamedCase{643, 483, -1, -1},       // 3 wider
                                           NamedCase{800, 300, -80, 90},      //
                                           NamedCase{1, 1, 319, 239},         //
                                           NamedCase{2000, 1500, -680, -510}, //
                                           NamedCase{641, 480, 0, 0}),        // last column cut
                         [](const auto& p) {
                             return std::to_string(p.param.sw) + "x" + std::to_string(p.param.sh);
                         });

// Each anchor with a source 5 x 7 larger than a 640 x 480 canvas, 5 x 7
// smaller, and larger across but smaller down: where the source sits, what
// part of it is decoded, and the canvas both give.
struct AnchorCase {
    Anchor anchor;
    Placement larger, smaller, mixed;
};

class ComposeAnchored : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(ComposeAnchored, PlacesWindowsAndPixels) {
    const AnchorCase c = GetParam();
    const struct {
        QSize size;
        Placement expected;
    } shapes[] = {{{645, 487}, c.larger}, {{635, 473}, c.smaller}, {{645, 473}, c.mixed}};
    for (const auto& shape : shapes) {
        const int sw = shape.size.width(), sh = shape.size.height();
        SCOPED_TRACE(anchorName(c.anchor).toStdString() + " " + std::to_string(sw) + "x" +
                     std::to_string(sh));
        const Placement p = placementOf(sw, sh, 640, 480, c.anchor);
        EXPECT_EQ(p.dx, shape.expected.dx);
        EXPECT_EQ(p.dy, shape.expected.dy);
        // A centred axis keeps the designed rule.
        const Placement centred = placementOf(sw, sh, 640, 480);
        if (horizontalSide(c.anchor) == 0) {
            EXPECT_EQ(p.dx, centred.dx);
        }
        if (verticalSide(c.anchor) == 0) {
            EXPECT_EQ(p.dy, centred.dy);
        }

        const Bitmap src = numberedSource(sw, sh);
        const Bitmap whole = compose(src, 640, 480, nullptr, c.anchor);
        expectMatchesOracle(src, whole, 640, 480, p);
        // The visible window alone composes to the same canvas.
        const QRect window = visibleWindow(sw, sh, 640, 480, c.anchor);
        EXPECT_EQ(window, QRect(std::max(0, -p.dx), std::max(0, -p.dy), std::min(sw, 640),
                                std::min(sh, 480)));
        const Bitmap part(src.image().copy(window));
        EXPECT_EQ(compose(part, 640, 480, nullptr, c.anchor).image(), whole.image());
    }
}

INSTANTIATE_TEST_SUITE_P(Anchors, ComposeAnchored,
                         ::testing::Values(AnchorCase{Anchor::Centre, {-2, -3}, {2, 3}, {-2, 3}},
                                           AnchorCase{Anchor::North, {-2, 0}, {2, 0}, {-2, 0}},
                                           AnchorCase{Anchor::NorthEast, {-5, 0}, {5, 0}, {-5, 0}},
                                           AnchorCase{Anchor::East, {-5, -3}, {5, 3}, {-5, 3}},
                                           AnchorCase{Anchor::SouthEast, {-5, -7}, {5, 7}, {-5, 7}},
                                           AnchorCase{Anchor::South, {-2, -7}, {2, 7}, {-2, 7}},
                                           AnchorCase{Anchor::SouthWest, {0, -7}, {0, 7}, {0, 7}},
                                           AnchorCase{Anchor::West, {0, -3}, {0, 3}, {0, 3}},
                                           AnchorCase{Anchor::NorthWest, {0, 0}, {0, 0}, {0, 0}}),
                         [](const auto& p) {
                             return anchorName(p.param.anchor).remove(u'-').toStdString();
                         });

TEST(ComposeResult, OddMarginsAndCropsLeaveTheExtraOnTheRightAndBottom) {
    const Bitmap narrow = numberedSource(637, 477);
    const Bitmap r = compose(narrow, 640, 480);
    EXPECT_EQ(r.pixel(0, 100), Wipe);
    EXPECT_EQ(r.pixel(1, 100), narrow.pixel(0, 99));
    EXPECT_EQ(r.pixel(638, 100), Wipe);
    EXPECT_EQ(r.pixel(639, 100), Wipe);
    EXPECT_EQ(r.pixel(100, 0), Wipe);
    EXPECT_EQ(r.pixel(100, 478), Wipe);

    const Bitmap wide = numberedSource(643, 483);
    const Bitmap w = compose(wide, 640, 480);
    EXPECT_EQ(w.pixel(0, 0), wide.pixel(1, 1));         // one cut on the left and top
    EXPECT_EQ(w.pixel(639, 479), wide.pixel(640, 480)); // two cut on the right and bottom
}

TEST(ComposeResult, AnEmptySourceLeavesOnlyTheWipeColour) {
    for (QSize size : {QSize(0, 10), QSize(10, 0), QSize(0, 0)}) {
        const Bitmap src(size.width(), size.height());
        bool composed = true;
        const Bitmap r = compose(src, 16, 8, &composed);
        EXPECT_FALSE(composed);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(r.pixel(x, y), Wipe);
    }
}

// Sources with an alpha channel are composed over the wipe colour ("over",
// straight alpha, rounded to the nearest level) in the framing step the window
// and kadrix-batch share; opaque pixels keep their bytes. Each source is one
// pixel, alone or through a palette (PNG's tRNS chunk).
TEST(SourceFramer, TransparentSourcesAreComposedOverTheWipeColour) {
    constexpr Colour White = 0x00FFFFFF, Green = makeColour(10, 200, 30);
    const struct {
        QRgb pixel; // straight alpha
        bool palette;
        Colour wipe, expected;
    } cases[] = {
        {qRgba(254, 128, 1, 255), false, White, makeColour(254, 128, 1)},
        {qRgba(255, 0, 0, 0), false, White, White},
        {qRgba(0, 0, 0, 0), true, Green, Green},
        {qRgba(0, 0, 255, 128), false, White, makeColour(127, 127, 255)},
        {qRgba(0, 0, 255, 128), false, Green, makeColour(5, 100, 143)},
        {qRgba(255, 0, 0, 64), true, Green, makeColour(71, 150, 22)},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("source.png"));
    for (const auto& c : cases) {
        QImage image(1, 1, c.palette ? QImage::Format_Indexed8 : QImage::Format_ARGB32);
        if (c.palette)
            image.setColorTable({c.pixel});
        image.setPixel(0, 0, c.palette ? 0 : c.pixel);
        ASSERT_TRUE(image.save(path, "PNG"));
        for (const test::Sink sink : test::Sinks)
            EXPECT_EQ(test::framedThrough(sink, path, {1, 1}, c.wipe).pixel(0, 0), c.expected)
                << std::hex << c.pixel << c.palette << test::sinkName(sink);
    }
}

} // namespace
} // namespace kadrix
