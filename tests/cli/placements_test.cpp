#include "batch_run.h"
#include "placements_file.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

namespace kadrix::cli {
namespace {

using namespace Qt::StringLiterals;

// Each source's placement ("name x,y", later lines winning, then the
// warnings after "/"), or the first bad line's message.
TEST(PlacementsFileTest, LinesGiveTheirSourcesPlacementsOrTheFirstBadLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"{\"source\":\"/a.jpg\",\"x\":120,\"y\":-40,\"status\":\"framed\"}\r\n\n"
         R"({"source":"b\ufffd.jpg","source_base64":"L2Iy/7IuanBn","x":0,"y":7})",
         "/a.jpg 120,-40; /b2\xff\xb2.jpg 0,7"},
        {"{\"source\":\"/s/a.jpg\",\"x\":1,\"y\":2}\n{\"source\":\"/s/./"
         "a.jpg\",\"x\":-3,\"y\":4e2}",
         "/s/a.jpg -3,400 / p:2: /s/a.jpg placed again: this line replaces line 1"},
        {"\n{\"source\":\"a.jpg\",\"x\":1,\"y\":2}\n{\"source\":", "p:3: not valid JSON"},
        {R"([1, 2])", "p:1: not a JSON object"},
        {R"({"source":"a.jpg","x":1})", "p:1: \"y\" wants a whole number"},
        {"{\"source\":\"/a.jpg\",\"x\":null,\"y\":null}\n{\"source\":\"/b\",\"x\":1,\"y\":1}",
         "/b 1,1"},
        {R"({"source":"a.jpg","x":null,"y":2})", "p:1: \"x\" wants a whole number"},
        {R"({"source":"a.jpg","x":1.5,"y":2})", "p:1: \"x\" wants a whole number"},
        {R"({"source":"a.jpg","x":"1","y":2})", "p:1: \"x\" wants a whole number"},
        {R"({"source":"a.jpg","x":1e12,"y":2})", "p:1: \"x\" wants a whole number"},
        {R"({"source_base64":"*","x":1,"y":2})", "p:1: \"source_base64\" is not base 64"},
        {R"({"x":1,"y":2})", "p:1: no \"source\" nor \"source_base64\""},
    };
    for (const auto& [lines, outcome] : cases) {
        const PlacementsRead read = parsePlacements(lines, u"p"_s);
        QStringList placed;
        for (const PlacementLine& line : read.lines)
            placed << QString::fromLatin1(line.source) +
                          u" %1,%2"_s.arg(line.topLeft.x()).arg(line.topLeft.y());
        const QString got = read.error.isEmpty()
                                ? (QStringList{placed.join(u"; ")} + read.warnings).join(u" / ")
                                : read.error;
        EXPECT_TRUE(got.startsWith(QString::fromLatin1(outcome))) << got.toStdString();
    }
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
    struct Case {
        const char* what;
        QSize picture;
        QPoint wanted, topLeft;      // the result's top-left corner asked for, and given
        const char* line = nullptr;  // instead of the line placing pic.png at `wanted`
        const char* error = nullptr; // then nothing is framed
    };
    const Case cases[] = {
        {"inside", {120, 90}, {10, 20}, {10, 20}},
        {"clamped left and below", {120, 90}, {-7, 500}, {0, 60}},
        {"clamped right and above", {120, 90}, {95, -3}, {80, 0}},
        {"a smaller picture moved inside the result", {20, 10}, {-5, -20}, {-5, -20}},
        {"a smaller picture kept inside the result", {20, 10}, {-30, 4}, {-20, 0}},
        {"a bad line", {20, 10}, {}, {}, "{x", "p:1: not valid JSON"},
        {"an unknown source",
         {20, 10},
         {},
         {},
         R"({"source":"b.png","x":0,"y":0})",
         "b.png is no source of this run"},
    };
    const QString result = dir.filePath(u"o/cropped_pic.PNG"_s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(picture(c.picture).save(dir.filePath(u"pic.png"_s)));
        QFile::remove(result);
        write(u"p"_s, c.line ? QByteArray(c.line)
                             : u"{\"source\":\"pic.png\",\"x\":%1,\"y\":%2}"_s.arg(c.wanted.x())
                                   .arg(c.wanted.y())
                                   .toUtf8());
        const Outcome r =
            run({u"--json"_s, u"--size"_s, u"40x30"_s, u"--format"_s, u"png"_s, u"--out"_s, u"o"_s,
                 u"--placements"_s, u"p"_s, here(u"~/pic.png"_s)});
        if (c.error) {
            EXPECT_EQ(r.status, 2);
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.error))) << r.err.toStdString();
            EXPECT_FALSE(QFile::exists(result));
            continue;
        }
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QJsonObject line = QJsonDocument::fromJson(r.bytes).object();
        EXPECT_EQ(line.value(u"clamped"_s).toBool(true), c.topLeft != c.wanted);
        EXPECT_EQ(QPoint(line.value(u"x"_s).toInt(), line.value(u"y"_s).toInt()), c.topLeft);
        QImage expected(40, 30, QImage::Format_RGB888);
        expected.fill(Qt::black);
        QPainter(&expected).drawImage(-c.topLeft, picture(c.picture));
        EXPECT_EQ(QImage(result).convertToFormat(QImage::Format_RGB888), expected);
    }
}

// What --json says of a run, fed back as --placements, frames the same results:
// the Blur fill's background too, which an anchor puts where the picture spans
// the canvas (a ratio padded across).
TEST_F(PlacementRunTest, JsonLinesFedBackFrameByteIdenticalResults) {
    ASSERT_TRUE(picture({120, 90}).save(dir.filePath(u"a.png"_s)));
    ASSERT_TRUE(picture({20, 10}).save(dir.filePath(u"b.png"_s)));
    const QStringList common{u"--format"_s, u"png"_s, here(u"~/a.png"_s), here(u"~/b.png"_s)};
    const QStringList blur{u"--size"_s, u"1:3"_s,  u"--ratio"_s,   u"pad"_s,
                           u"--fill"_s, u"blur"_s, u"--gravity"_s, u"north-east"_s};
    const std::pair<QStringList, QStringList> cases[] = {
        {{u"--size"_s, u"40x30"_s, u"--gravity"_s, u"south-east"_s}, {u"--size"_s, u"40x30"_s}},
        {blur, blur}};
    for (const auto& [firstOptions, secondOptions] : cases) {
        QDir(dir.filePath(u"o1"_s)).removeRecursively();
        QDir(dir.filePath(u"o2"_s)).removeRecursively();
        const Outcome first =
            run(QStringList{u"--json"_s, u"--out"_s, u"o1"_s} + firstOptions + common);
        write(u"j"_s, first.bytes);
        const Outcome second = run(QStringList{u"--placements"_s, u"j"_s, u"--out"_s, u"o2"_s} +
                                   secondOptions + common);
        ASSERT_EQ(first.status + second.status, 0) << second.err.toStdString();
        for (const QString& name : {u"cropped_a.PNG"_s, u"cropped_b.PNG"_s}) {
            QFile one(dir.filePath(u"o1/"_s + name)), two(dir.filePath(u"o2/"_s + name));
            ASSERT_TRUE(one.open(QIODevice::ReadOnly) && two.open(QIODevice::ReadOnly));
            EXPECT_EQ(one.readAll(), two.readAll()) << name.toStdString();
        }
    }
}

} // namespace
} // namespace kadrix::cli
