#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <QtGlobal>

namespace kadrix {

enum ViewMode { SourceView = 0, ModedSourceView = 1, ResultView = 2 };

// Bounds of the viewer image inside the scroll box: the picture's own size
// from (3, 3), or in the stretched view the scroll box's outer size less 7.
constexpr QRect viewBounds(int mode, QSize picture, QSize scrollBox) {
    if (mode == ModedSourceView)
        return QRect(3, 3, scrollBox.width() - 7, scrollBox.height() - 7);
    return QRect(3, 3, picture.width(), picture.height());
}

// The picture pixel shown at a point of the viewer image. Stretched over the
// control, the picture is drawn by nearest neighbour as Qt's raster painter
// does it: the step from one control pixel to the next, in 16.16 fixed
// point, is the picture's side over the control's, truncated, and each
// control pixel takes the picture pixel under its centre. Otherwise the
// control's pixels are the picture's.
inline QPoint pictureAt(QPoint point, QSize picture, QSize control, bool stretched) {
    if (!stretched || control.isEmpty() || picture.isEmpty())
        return point;
    const auto scale = [](int at, int pictureSide, int controlSide) {
        const auto step = qint64(65536 / (double(controlSide) / pictureSide));
        return int((step / 2 + at * step) >> 16); // an arithmetic shift: floors below 0
    };
    return {scale(point.x(), picture.width(), control.width()),
            scale(point.y(), picture.height(), control.height())};
}

} // namespace kadrix
