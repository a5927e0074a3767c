#include "heif_files.h"

#include "compositor.h"
#include "framing.h"
#include "heif_picture.h"
#include "subject_interest.h"

#include <QTransform>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

// A picture of `size`: a plain or gently graded background, and a textured,
// saturated square at `subject` when it is not empty.
Bitmap scene(QSize size, bool graded, QRect subject = {}) {
    Bitmap bitmap(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const int level = graded ? 90 + 60 * x / size.width() : 120;
            const bool inside = subject.contains(x, y);
            const bool odd = (x / 2 + y / 2) % 2 != 0;
            row[x * 3] = std::uint8_t(inside ? (odd ? 20 : 40) : level);      // blue
            row[x * 3 + 1] = std::uint8_t(inside ? (odd ? 200 : 30) : level); // green
            row[x * 3 + 2] = std::uint8_t(inside ? 230 : level);              // red
        }
    }
    return bitmap;
}

// A picture of even interest is framed exactly as the centre anchor frames
// it, on each axis larger or smaller than the result.
TEST(SubjectInterest, AnEvenPictureIsFramedAsTheCentreAnchorFramesIt) {
    for (const QSize picture : {QSize(333, 221), QSize(333, 50), QSize(64, 300), QSize(7, 5)})
        for (const bool graded : {false, true}) {
            const QSize result(100, 80);
            const Bitmap even = scene(picture, graded);
            EXPECT_EQ(subjectTopLeft(even, picture, result),
                      anchoredGeometry(picture, result, Anchor::Centre).topLeft)
                << picture.width() << "x" << picture.height() << (graded ? " graded" : "");
        }
}

// A saturated, textured subject at each of nine places, on a plain or graded
// background, is inside the result, measured at full size or on a picture
// half as large.
TEST(SubjectInterest, ASubjectAtNinePlacesIsInsideTheResult) {
    const QSize picture(320, 240), result(100, 80);
    for (const int x : {6, 148, 290})
        for (const int y : {4, 108, 210})
            for (const bool graded : {false, true}) {
                const QRect subject(x, y, 24, 24);
                const Bitmap whole = scene(picture, graded, subject);
                const Bitmap half(
                    whole.image()
                        .scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_BGR888));
                for (const Bitmap* reduced : {&whole, &half}) {
                    const QPoint topLeft = subjectTopLeft(*reduced, picture, result);
                    EXPECT_TRUE(QRect(topLeft, result).contains(subject))
                        << x << "," << y << (graded ? " graded" : "") << " at " << topLeft.x()
                        << "," << topLeft.y() << " on " << reduced->width();
                }
            }
}

// A HEIF file's thumbnail stands for its picture when, turned as the file
// says, it has ThumbnailSide pixels on its shorter side and the picture's
// aspect ratio: the result then holds the subject the thumbnail shows (put
// elsewhere than the picture's own, to tell them apart); a thumbnail too
// small, of another shape or absent leaves the measure to the picture.
TEST(SubjectInterest, AHeifThumbnailStandsForThePictureWhenItMay) {
    using namespace test;
    const QSize stored(640, 480), result(200, 160);
    const QRect own(12, 8, 48, 48), elsewhere(580, 420, 48, 48);
    const auto rgb = [](const Bitmap& b) {
        return b.image().convertToFormat(QImage::Format_RGB888);
    };
    const QImage picture = rgb(scene(stored, true, own));
    const QImage other = rgb(scene(stored, true, elsewhere));
    const QImage square = other.scaled(480, 480);
    // The grid is stored turned back (irot 1 turns it a quarter anticlockwise).
    const QTransform back = QTransform().rotate(90);
    QList<QByteArray> tiles;
    for (int t = 0; t < 4; ++t)
        tiles << encodeHeif(
            {.picture = picture.transformed(back).copy(t % 2 * 240, t / 2 * 320, 240, 320),
             .fast = true});
    const QByteArray turnedThumbnail =
        encodeHeif({.picture = other.scaled(214, 160).transformed(back), .fast = true});
    struct Case {
        const char* name;
        QByteArray file;
        QRect subject; // where the result must reach, in the upright picture
    };
    const Case cases[] = {
        {"usable",
         encodeHeif({.picture = picture, .fast = true, .thumbnailSide = 214, .thumbnail = other}),
         elsewhere},
        {"too small",
         encodeHeif({.picture = picture, .fast = true, .thumbnailSide = 160, .thumbnail = other}),
         own},
        {"another shape",
         encodeHeif({.picture = picture, .fast = true, .thumbnailSide = 240, .thumbnail = square}),
         own},
        {"none", encodeHeif({.picture = picture, .fast = true}), own},
        {"turned grid",
         gridHeif(tiles, 2, 2, 480, 640, {irotBox(1)}, false, {turnedThumbnail, {irotBox(1)}}),
         elsewhere},
        {"turned grid, thumbnail unturned",
         gridHeif(tiles, 2, 2, 480, 640, {irotBox(1)}, false, {turnedThumbnail}), own},
    };
    for (const Case& c : cases) {
        HeifPicture heif;
        heif.loadFromData(c.file);
        ASSERT_EQ(QSize(heif.width(), heif.height()), stored) << c.name;
        const FrameGeometry frame = frameGeometryOf(
            heif, {SizeMode::Fixed, result.width(), result.height()}, {Anchor::Subject});
        EXPECT_TRUE(QRect(frame.topLeft, frame.size).contains(c.subject))
            << c.name << " at " << frame.topLeft.x() << "," << frame.topLeft.y();
    }
}

} // namespace
} // namespace kadrix
