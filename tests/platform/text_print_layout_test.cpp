#include "text_print_layout.h"

#include <gtest/gtest.h>

namespace kadrix {
namespace {

// Every character 10 units wide except 'W' (60); a printed text line advances
// by 10 + 2, an empty one by 8; five narrow characters fill a line.
TextPrintMetrics metrics(int pageHeight = 100, int pageWidth = 50) {
    TextPrintMetrics m;
    m.textWidth = [](QStringView text) {
        int width = 0;
        for (QChar c : text)
            width += c == QLatin1Char('W') ? 60 : 10;
        return width;
    };
    m.textHeight = 10;
    m.charHeight = 8;
    m.pageWidth = pageWidth;
    m.pageHeight = pageHeight;
    return m;
}

QStringList repeated(const QString& line, int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << line;
    return lines;
}

int linesOnFirstPage(const std::vector<PlacedLine>& placed) {
    return int(std::count_if(placed.begin(), placed.end(),
                             [](const PlacedLine& l) { return l.page == 0; }));
}

TEST(TextPrintLayout, OnePlacedLinePerLineBlankLinesIncluded) {
    const auto placed = layoutTextLines({"abc", "", "", "de"}, metrics());
    EXPECT_EQ(placed,
              (std::vector<PlacedLine>{{0, 0, "abc"}, {0, 12, ""}, {0, 20, ""}, {0, 28, "de"}}));
}

TEST(TextPrintLayout, AWideLineBreaksAfterTheLastCharacterThatFits) {
    const auto placed = layoutTextLines({"abcdefghijkl", "abcde", "x"}, metrics());
    EXPECT_EQ(
        placed,
        (std::vector<PlacedLine>{
            {0, 0, "abcde"}, {0, 12, "fghij"}, {0, 24, "kl"}, {0, 36, "abcde"}, {0, 48, "x"}}));
}

TEST(TextPrintLayout, ACharacterWiderThanThePageStillPrintsAlone) {
    EXPECT_EQ(layoutTextLines({"aWb"}, metrics()),
              (std::vector<PlacedLine>{{0, 0, "a"}, {0, 12, "W"}, {0, 24, "b"}}));
    EXPECT_EQ(layoutTextLines({"abc"}, metrics(100, 5)),
              (std::vector<PlacedLine>{{0, 0, "a"}, {0, 12, "b"}, {0, 24, "c"}}));
    // A character outside the basic plane is never cut in two.
    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(layoutTextLines({smiley + "a"}, metrics(100, 5)),
              (std::vector<PlacedLine>{{0, 0, smiley}, {0, 12, "a"}}));
    EXPECT_EQ(layoutTextLines({"abcd" + smiley}, metrics(100, 50)),
              (std::vector<PlacedLine>{{0, 0, "abcd"}, {0, 12, smiley}}));
}

// A text line moves the position down by 12; a new page begins when the
// position lies lower than the page height minus 24. An empty line moves it
// down by 8; a new page begins when it lies lower than the page height.
TEST(TextPrintLayout, PagesBreakWhenThePositionPassesTheLimit) {
    const struct {
        int pageHeight;
        bool empty;
        int firstPage;
    } cases[] = {
        {96, false, 7},                 // after 6 lines y = 72, exactly the limit: one more fits
        {95, false, 6},                 // after 6 lines y = 72 > 71
        {100, false, 7}, {40, true, 6}, // after 5 empty lines y = 40, not lower than 40
        {39, true, 5},
    };
    for (const auto& c : cases) {
        const auto placed =
            layoutTextLines(repeated(c.empty ? QString() : "abc", 20), metrics(c.pageHeight));
        ASSERT_EQ(placed.size(), 20u);
        EXPECT_EQ(linesOnFirstPage(placed), c.firstPage) << c.pageHeight << " " << c.empty;
        EXPECT_EQ(placed[c.firstPage].page, 1) << c.pageHeight;
        EXPECT_EQ(placed[c.firstPage].y, 0) << c.pageHeight;
        EXPECT_EQ(linesOnFirstPage({placed.begin() + c.firstPage, placed.end()}), 0);
    }
}

TEST(TextPrintLayout, EachLineIsCheckedAgainstItsOwnLimit) {
    // Six text lines bring y to 72 with a limit of 100 - 24 = 76; an empty
    // line then reaches 80, still above the page height, so the next text
    // line stays on the page and only then does y = 92 > 76 turn the page.
    QStringList lines = repeated("abc", 6);
    lines << QString() << "abc"
          << "abc";
    const auto placed = layoutTextLines(lines, metrics());
    EXPECT_EQ(placed[6], (PlacedLine{0, 72, ""}));
    EXPECT_EQ(placed[7], (PlacedLine{0, 80, "abc"}));
    EXPECT_EQ(placed[8], (PlacedLine{1, 0, "abc"}));
}

TEST(TextPrintLayout, TheContinuationOfABrokenLineCanTurnThePage) {
    QStringList lines = repeated("abc", 6);
    lines << "abcdefgh";
    const auto placed = layoutTextLines(lines, metrics(96));
    ASSERT_EQ(placed.size(), 8u);
    EXPECT_EQ(placed[6], (PlacedLine{0, 72, "abcde"}));
    EXPECT_EQ(placed[7], (PlacedLine{1, 0, "fgh"}));
    EXPECT_TRUE(layoutTextLines({}, metrics()).empty());
}

} // namespace
} // namespace kadrix
