#include "compositor.h"
#include "framing.h"

#include <QImage>
#include <QTemporaryDir>

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
void expectMatchesOracle(const Bitmap& src, const Bitmap& result, int W, int H) {
    const int dx = (W - src.width()) / 2;
    const int dy = (H - src.height()) / 2;
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

Bitmap compose(const Bitmap& src, int W, int H, bool* composed = nullptr) {
    Bitmap result(W, H);
    result.fill(0x00ABCDEF); // stale content must be covered
    const bool ok = ComposeResult(src, W, H, Wipe, result);
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
                         ::testing::Values(NamedCase{640, 480, 0, 0},        // exact fit
                                           NamedCase{639, 479, 0, 0},        // wipe last col/row
                                           NamedCase{637, 477, 1, 1},        // 3 narrower
                                           NamedCase{643, 483, -1, -1},      // 3 wider
                                           NamedCase{800, 300, -80, 90},     //
                                           NamedCase{1, 1, 319, 239},        //
                                           NamedCase{2000, 1500, -680, -510}, //
                                           NamedCase{641, 480, 0, 0}),       // last column cut
                         [](const auto& p) {
                             return std::to_string(p.param.sw) + "x" +
                                    std::to_string(p.param.sh);
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
    EXPECT_EQ(w.pixel(0, 0), wide.pixel(1, 1));     // one cut on the left and top
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
// and kadrix-batch share; opaque pixels keep their bytes. Each source is a row
// of pixels framed on a canvas of its own width, one row taller.
TEST(SourceFramer, TransparentSourcesAreComposedOverTheWipeColour) {
    QImage palette(2, 1, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(200, 100, 50, 255), qRgba(9, 9, 9, 0)});
    palette.setPixel(0, 0, 0);
    palette.setPixel(1, 0, 1);
    constexpr Colour White = 0x00FFFFFF, Green = makeColour(10, 200, 30);
    const struct {
        const char* what;
        std::vector<QRgb> pixels; // ARGB, straight alpha
        Colour wipe;
        std::vector<Colour> expected;
    } cases[] = {
        {"opaque",
         {qRgba(1, 2, 3, 255), qRgba(254, 128, 0, 255)},
         White,
         {makeColour(1, 2, 3), makeColour(254, 128, 0)}},
        {"transparent", {qRgba(0, 0, 0, 0), qRgba(255, 0, 0, 0)}, White, {White, White}},
        {"transparent, green", {qRgba(0, 0, 0, 0)}, Green, {Green}},
        {"half blue over white", {qRgba(0, 0, 255, 128)}, White, {makeColour(127, 127, 255)}},
        {"half blue over green", {qRgba(0, 0, 255, 128)}, Green, {makeColour(5, 100, 143)}},
        {"quarter red over green", {qRgba(255, 0, 0, 64)}, Green, {makeColour(71, 150, 22)}},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto frame = [&](const QImage& image, Colour wipe) {
        const QString path = dir.filePath(QStringLiteral("source.png"));
        EXPECT_TRUE(image.save(path, "PNG"));
        SourceFramer framer(image.width(), 2);
        EXPECT_TRUE(framer.frame(path, wipe));
        return framer.canvas();
    };
    for (const auto& c : cases) {
        QImage image(int(c.pixels.size()), 1, QImage::Format_ARGB32);
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, 0, c.pixels[std::size_t(x)]);
        const Bitmap canvas = frame(image, c.wipe);
        for (int x = 0; x < image.width(); ++x) {
            EXPECT_EQ(canvas.pixel(x, 0), c.expected[std::size_t(x)]) << c.what << " " << x;
            EXPECT_EQ(canvas.pixel(x, 1), c.wipe) << c.what << " margin";
        }
    }
    // A palette with a transparent entry (PNG's tRNS chunk).
    const Bitmap canvas = frame(palette, Green);
    EXPECT_EQ(canvas.pixel(0, 0), makeColour(200, 100, 50));
    EXPECT_EQ(canvas.pixel(1, 0), Green);
}

} // namespace
} // namespace kadrix
