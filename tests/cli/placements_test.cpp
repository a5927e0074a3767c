#include "batch_run.h"
#include "placements_file.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

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

// Every pixel differs from the others, so that a result shows where it was cut.
QImage picture(QSize size) {
    QImage image(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, QColor(x * 2, y * 2, (x + y) % 256));
    return image;
}

class PlacementRunTest : public BatchRunTest {};

TEST_F(PlacementRunTest, PlacedSourcesAreFramedThereWithinReach) {
    constexpr QSize Result(40, 30);
    struct Case {
        const char* what;
        QSize picture;
        QPoint wanted;
        QPoint topLeft; // the result's top-left corner in the picture
    };
    const Case cases[] = {
        {"inside", {120, 90}, {10, 20}, {10, 20}},
        {"clamped left and below", {120, 90}, {-7, 500}, {0, 60}},
        {"clamped right and above", {120, 90}, {95, -3}, {80, 0}},
        {"a smaller picture moved inside the result", {20, 10}, {-5, -20}, {-5, -20}},
        {"a smaller picture kept inside the result", {20, 10}, {-30, 4}, {-20, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(picture(c.picture).save(dir.filePath(u"pic.png"_s)));
        write(u"p"_s, here(u"{\"source\":\"~/pic.png\",\"x\":%1,\"y\":%2}\n"_s)
                          .arg(c.wanted.x())
                          .arg(c.wanted.y())
                          .toUtf8());
        const Outcome r =
            run({u"--json"_s, u"--overwrite"_s, u"--size"_s, u"40x30"_s, u"--format"_s, u"png"_s,
                 u"--out"_s, here(u"~/o"_s), u"--placements"_s, u"p"_s, here(u"~/pic.png"_s)});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QJsonObject line = QJsonDocument::fromJson(r.bytes).object();
        EXPECT_EQ(line.value(u"clamped"_s).toBool(true), c.topLeft == c.wanted ? false : true);
        EXPECT_EQ(QPoint(line.value(u"x"_s).toInt(), line.value(u"y"_s).toInt()), c.topLeft);
        QImage expected(Result, QImage::Format_RGB888);
        expected.fill(Qt::black);
        QPainter(&expected).drawImage(-c.topLeft, picture(c.picture));
        EXPECT_EQ(
            QImage(dir.filePath(u"o/cropped_pic.PNG"_s)).convertToFormat(QImage::Format_RGB888),
            expected);
    }
}

// What --json says of a run, fed back as --placements, frames the same results.
TEST_F(PlacementRunTest, JsonLinesFedBackFrameByteIdenticalResults) {
    ASSERT_TRUE(picture({120, 90}).save(dir.filePath(u"a.png"_s)));
    ASSERT_TRUE(picture({20, 10}).save(dir.filePath(u"b.png"_s)));
    const QStringList common{u"--size"_s, u"40x30"_s,         u"--format"_s,
                             u"png"_s,    here(u"~/a.png"_s), here(u"~/b.png"_s)};
    const Outcome first = run(
        QStringList{u"--json"_s, u"--gravity"_s, u"south-east"_s, u"--out"_s, u"o1"_s} + common);
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    write(u"j"_s, first.bytes);
    const Outcome second =
        run(QStringList{u"--placements"_s, u"j"_s, u"--out"_s, u"o2"_s} + common);
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    for (const QString& name : {u"cropped_a.PNG"_s, u"cropped_b.PNG"_s}) {
        QFile one(dir.filePath(u"o1/"_s + name)), two(dir.filePath(u"o2/"_s + name));
        ASSERT_TRUE(one.open(QIODevice::ReadOnly) && two.open(QIODevice::ReadOnly));
        EXPECT_EQ(one.readAll(), two.readAll()) << name.toStdString();
    }
}

TEST_F(PlacementRunTest, ABadLineOrAnUnknownSourceFramesNothing) {
    writeJpeg(u"a.jpg"_s, 40, 30);
    // clang-format off
    const RunCase cases[] = {
        {"a bad line", {"--placements", "-", "~/a.jpg"}, 2, {""}, {"-:2: not valid JSON"},
         {{"~/cropped/cropped_a.BMP", {}}}, "{\"source\":\"~/a.jpg\",\"x\":1,\"y\":1}\n{x"},
        {"an unknown source", {"--placements", "-", "~/a.jpg"}, 2, {""},
         {"-:1: b.jpg is no source of this run"}, {{"~/cropped/cropped_a.BMP", {}}},
         "{\"source\":\"b.jpg\",\"x\":1,\"y\":1}"},
        {"a source placed twice", {"--placements", "-", "~/a.jpg"}, 0, {},
         {"-:2: ~/a.jpg placed again: this line replaces line 1"},
         {{"~/cropped/cropped_a.BMP", {640, 480}}},
         "{\"source\":\"~/a.jpg\",\"x\":1,\"y\":1}\n{\"source\":\"~/a.jpg\",\"x\":0,\"y\":0}"},
    };
    // clang-format on
    for (RunCase c : cases) {
        c.input = here(QString::fromUtf8(c.input)).toUtf8();
        expectRun(c);
    }
}

} // namespace
} // namespace kadrix::cli
