#pragma once

#include <QRect>
#include <QSize>

namespace kadrix {

enum ViewMode { SourceView = 0, ModedSourceView = 1, ResultView = 2 };

// Bounds of the viewer image inside the scroll box: the picture's own size
// from (3, 3), or in the stretched view the scroll box's outer size less 7.
constexpr QRect viewBounds(int mode, QSize picture, QSize scrollBox) {
    if (mode == ModedSourceView)
        return QRect(3, 3, scrollBox.width() - 7, scrollBox.height() - 7);
    return QRect(3, 3, picture.width(), picture.height());
}

} // namespace kadrix
