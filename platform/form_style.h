#pragma once

#include <QProxyStyle>

namespace kadrix {

// The style the forms are designed for, over the platform's own:
// - a group box draws its frame line through the middle of its title, so
//   that children placed near the top lie inside the frame;
// - the check boxes of list rows fit rows 13 pixels high;
// - a scroll bar's thumb is the darker part of its track.
class FormStyle : public QProxyStyle {
public:
    FormStyle();

    // The indicator side of a check box drawn in a list row.
    static constexpr int ListIndicatorSide = 11;
    // Where a group box's title starts, from its left edge.
    static constexpr int TitleIndent = 8;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
};

} // namespace kadrix
