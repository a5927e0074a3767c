#include "batch_run.h"
#include "placements_file.h"

#include <gtest/gtest.h>

namespace kadrix::cli {
namespace {

using namespace Qt::StringLiterals;

TEST(PlacementsFileTest, LinesGiveTheirSourcesPlacementsOrTheFirstBadLine) {
    struct Case {
        const char* lines;
        QString error;
        std::vector<std::pair<QByteArray, QPoint>> placed = {};
        QStringList warnings = {};
    };
    const Case cases[] = {
        {R"({"source":"a.jpg","x":120,"y":-40,"status":"framed"})"
         "\r\n\n"
         R"({"source":"b\ufffd.jpg","source_base64":"YrIuanBn","x":0,"y":7})",
         {},
         {{"a.jpg", {120, -40}}, {"b\xb2.jpg", {0, 7}}}},
        {R"({"source":"a.jpg","x":1,"y":2})"
         "\n"
         R"({"source":"a.jpg","x":-3,"y":4e2})",
         {},
         {{"a.jpg", {-3, 400}}},
         {u"p:2: a.jpg placed again: this line replaces line 1"_s}},
        {"\n{\"source\":\"a.jpg\",\"x\":1,\"y\":2}\n{\"source\":", u"p:3: not valid JSON"_s},
        {R"([1, 2])", u"p:1: not a JSON object"_s},
        {R"({"source":"a.jpg","x":1})", u"p:1: \"y\" wants a whole number"_s},
        {R"({"source":"a.jpg","x":1.5,"y":2})", u"p:1: \"x\" wants a whole number"_s},
        {R"({"source":"a.jpg","x":"1","y":2})", u"p:1: \"x\" wants a whole number"_s},
        {R"({"source":"a.jpg","x":1e12,"y":2})", u"p:1: \"x\" wants a whole number"_s},
        {R"({"source_base64":"*","x":1,"y":2})", u"p:1: \"source_base64\" is not base 64"_s},
        {R"({"x":1,"y":2})", u"p:1: no \"source\" nor \"source_base64\""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        const PlacementsRead read = parsePlacements(c.lines, u"p"_s);
        EXPECT_TRUE(c.error.isEmpty() ? read.error.isEmpty() : read.error.startsWith(c.error))
            << read.error.toStdString();
        EXPECT_EQ(read.warnings, c.warnings);
        if (!c.error.isEmpty())
            continue;
        ASSERT_EQ(read.lines.size(), c.placed.size());
        for (std::size_t i = 0; i < c.placed.size(); ++i) {
            EXPECT_EQ(read.lines[i].source, c.placed[i].first);
            EXPECT_EQ(read.lines[i].topLeft, c.placed[i].second);
        }
    }
}

TEST(PlacementsFileTest, EveryLineMustNameASourceOfTheRun) {
    std::vector<SourceFile> sources{
        {u"/s/"_s, u"a.jpg"_s}, {u"/s/"_s, u"c.jpg"_s}, {u"/t/"_s, u"x"_s, {}, u"-"_s}};
    const PlacementsRead read = parsePlacements(R"({"source":"/s/c.jpg","x":5,"y":6})"
                                                "\n"
                                                R"({"source":"-","x":1,"y":1})",
                                                u"p"_s);
    EXPECT_EQ(assignPlacements(read.lines, sources, u"p"_s), QString());
    EXPECT_EQ(sources[0].placement, std::nullopt);
    EXPECT_EQ(sources[1].placement, QPoint(5, 6));
    EXPECT_EQ(sources[2].placement, QPoint(1, 1));
    const PlacementsRead unknown = parsePlacements(
        "{\"source\":\"/s/c.jpg\",\"x\":5,\"y\":6}\n{\"source\":\"c.jpg\",\"x\":5,\"y\":6}",
        u"p"_s);
    EXPECT_EQ(assignPlacements(unknown.lines, sources, u"p"_s),
              u"p:2: c.jpg is no source of this run"_s);
}

} // namespace
} // namespace kadrix::cli
