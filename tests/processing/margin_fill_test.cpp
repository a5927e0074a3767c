#include "margin_fill.h"

#include "frame_rows.h"
#include "framing.h"
#include "framing_sinks.h"
#include "jpeg_test_files.h"

#include <QTemporaryDir>

#include <set>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

constexpr Colour Wipe = 0x00123456;

// A small picture whose pixel (x, y) is the letter 'a' + y * width + x.
Bitmap lettered(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.fillRect(QRect(x, y, 1, 1), Colour(y * w + x + 1));
    return b;
}

// The canvas as letters, rows separated by blanks ('.' for the wipe colour).
std::string letters(const Bitmap& canvas) {
    std::string text;
    for (int y = 0; y < canvas.height(); ++y) {
        if (y > 0)
            text += ' ';
        for (int x = 0; x < canvas.width(); ++x) {
            const Colour c = canvas.pixel(x, y);
            text += c == Wipe ? '.' : char('a' + int(c) - 1);
        }
    }
    return text;
}

// The picture framed from a lossless file.
Bitmap framed(const Bitmap& picture, QSize canvas, Anchor anchor, Fill fill,
              test::Sink sink = test::Sink::Canvas) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.png"));
    EXPECT_TRUE(picture.image().save(path));
    return test::framedThrough(sink, path, canvas, Wipe, {}, {anchor, fill, false});
}

// The pixels vips writes for `vips gravity pic out DIRECTION W H --extend
// copy|mirror` of the 3 x 2 picture "abc def".
TEST(MarginFill, EdgeAndMirrorGiveVipssPixels) {
    const struct {
        Anchor anchor;
        QSize canvas;
        Fill fill;
        const char* expected;
    } cases[] = {
        // clang-format off
        {Anchor::Centre,    {8, 7}, Fill::Edge,   "aaabcccc aaabcccc aaabcccc dddeffff dddeffff dddeffff dddeffff"},
        {Anchor::NorthEast, {8, 7}, Fill::Edge,   "aaaaaabc ddddddef ddddddef ddddddef ddddddef ddddddef ddddddef"},
        {Anchor::SouthWest, {8, 7}, Fill::Edge,   "abcccccc abcccccc abcccccc abcccccc abcccccc abcccccc deffffff"},
        {Anchor::East,      {2, 5}, Fill::Edge,   "bc bc ef ef ef"},
        {Anchor::South,     {9, 1}, Fill::Edge,   "ddddeffff"},
        {Anchor::Centre,    {8, 7}, Fill::Mirror, "eddeffed baabccba baabccba eddeffed eddeffed baabccba baabccba"},
        {Anchor::NorthEast, {8, 7}, Fill::Mirror, "bccbaabc effeddef effeddef bccbaabc bccbaabc effeddef effeddef"},
        {Anchor::SouthWest, {8, 7}, Fill::Mirror, "abccbaab abccbaab deffedde deffedde abccbaab abccbaab deffedde"},
        {Anchor::East,      {2, 5}, Fill::Mirror, "bc bc ef ef bc"},
        {Anchor::South,     {9, 1}, Fill::Mirror, "feddeffed"},
        {Anchor::Centre,    {5, 3}, Fill::WipeColour, ".abc. .def. ....."},
        // clang-format on
    };
    const Bitmap picture = lettered(3, 2);
    for (const test::Sink sink : test::Sinks)
        for (const auto& c : cases)
            EXPECT_EQ(letters(framed(picture, c.canvas, c.anchor, c.fill, sink)), c.expected)
                << anchorName(c.anchor).toStdString() << " " << fillName(c.fill).toStdString()
                << " " << test::sinkName(sink);
}

// A ratio can ask for a canvas far taller or wider than any file takes: the
// rows its margins repeat are worked out without a row per canvas row, and a
// writer refusing the size does so before anything is made for the rows.
TEST(MarginFill, AHugeCanvasCostsNothingBeforeItsWriterRefusesIt) {
    struct Refused {};
    struct RefusingSink final : RowSink {
        void start(int, int) override { throw Refused{}; }
        std::uint8_t* row() override { return nullptr; }
        void put() override {}
    };
    constexpr int Huge = 2'000'000'000;
    const Bitmap picture = lettered(3, 2);
    for (const Fill fill : {Fill::Edge, Fill::Mirror, Fill::WipeColour})
        for (const QSize canvas : {QSize(3, Huge), QSize(Huge, 2)}) {
            const RowLayout layout{canvas.width(),
                                   canvas.height(),
                                   {(canvas.width() - 3) / 2, (canvas.height() - 2) / 2},
                                   fill,
                                   Wipe,
                                   nullptr};
            const bool repeatsRows = fill != Fill::WipeColour && canvas.height() == Huge;
            EXPECT_EQ(heldRowBytes(3, 2, layout), repeatsRows ? 2 * 3 * 3 : 0);
            BitmapRowSource rows(picture);
            RefusingSink sink;
            EXPECT_THROW(composeRows(rows, layout, sink), Refused);
        }
}

// One pixel or one row: the reflection and the blur have nothing to divide
// by zero and nothing to read outside the picture.
TEST(MarginFill, OnePixelAndOneRowPicturesFillTheCanvas) {
    EXPECT_EQ(letters(framed(lettered(1, 1), {3, 2}, Anchor::Centre, Fill::Mirror)), "aaa aaa");
    EXPECT_EQ(letters(framed(lettered(2, 1), {5, 3}, Anchor::West, Fill::Mirror)),
              "abbaa abbaa abbaa");
    for (const QSize size : {QSize(1, 1), QSize(7, 1), QSize(1, 7)}) {
        const Bitmap canvas =
            framed(lettered(size.width(), size.height()), {40, 30}, Anchor::Centre, Fill::Blur);
        EXPECT_NE(canvas.pixel(0, 0), Wipe) << size.width() << "x" << size.height();
        EXPECT_NE(canvas.pixel(39, 29), Wipe) << size.width() << "x" << size.height();
    }
}

// The blurred fill of a JPEG photo larger than the canvas across and smaller
// down, so that its picture is decoded as a window: the margins follow the
// picture (no flat bars), the picture's pixels are those of the Colour fill,
// and the whole decode gives the same canvas.
TEST(BlurFill, FillsTheMarginsWithoutTouchingThePictureTheSameFromEveryDecode) {
    QTemporaryDir dir;
    const QString path =
        test::writeBytes(dir.filePath(QStringLiteral("p.jpg")),
                         test::encodeRaw(test::photoLike(300, 120), {.restartInterval = 19}));
    const auto frame = [&](Fill fill, DecodeMode mode, Anchor anchor,
                           test::Sink sink = test::Sink::Canvas) {
        return test::framedThrough(sink, path, {160, 200}, Wipe, {mode}, {anchor, fill, false});
    };
    for (const Anchor anchor : {Anchor::Centre, Anchor::SouthEast}) {
        const Bitmap plain = frame(Fill::WipeColour, DecodeMode::Whole, anchor);
        const Bitmap blurred = frame(Fill::Blur, DecodeMode::Seek, anchor);
        EXPECT_EQ(frame(Fill::Blur, DecodeMode::Whole, anchor).image(), blurred.image());
        for (const Fill fill : {Fill::Blur, Fill::Mirror})
            EXPECT_EQ(frame(fill, DecodeMode::Seek, anchor, test::Sink::ResultRows).image(),
                      frame(fill, DecodeMode::Whole, anchor).image());
        const int top = placementOf(300, 120, 160, 200, anchor).dy;
        std::set<Colour> margin;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 160; ++x)
                if (y >= top && y < top + 120)
                    ASSERT_EQ(blurred.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
                else
                    margin.insert(blurred.pixel(x, y));
        EXPECT_GT(margin.size(), 50u);
        EXPECT_EQ(margin.count(Wipe), 0u);
    }
}

} // namespace
} // namespace kadrix
