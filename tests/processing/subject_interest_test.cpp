#include "compositor.h"
#include "subject_interest.h"

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

} // namespace
} // namespace kadrix
