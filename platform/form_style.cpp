#include "form_style.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSlider>

namespace kadrix {
namespace {

// Room around the title where the frame line is broken.
constexpr int TitleGap = 2;

QRect titleRect(const QStyleOptionGroupBox& box) {
    if (box.text.isEmpty())
        return {};
    const QFontMetrics& fm = box.fontMetrics;
    return QRect(box.rect.left() + FormStyle::TitleIndent, box.rect.top(),
                 fm.horizontalAdvance(box.text) + 2 * TitleGap, fm.height());
}

// The frame's top: the middle of the title's line, or the top edge.
int frameTop(const QStyleOptionGroupBox& box) {
    return box.rect.top() + (box.text.isEmpty() ? 0 : box.fontMetrics.height() / 2);
}

// Fusion draws a scroll bar's thumb lighter than its track, so the darker
// rest of the track reads as the thumb: of the wrong size, and moving against
// the arrows. The thumb is drawn over it as the darker, outlined block.
void drawScrollBarThumb(const QStyle& style, const QStyleOptionComplex* option, QPainter* painter,
                        const QWidget* widget) {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (!bar || !(bar->subControls & QStyle::SC_ScrollBarSlider) || bar->maximum <= bar->minimum)
        return;
    const QRect thumb =
        style.subControlRect(QStyle::CC_ScrollBar, option, QStyle::SC_ScrollBarSlider, widget);
    painter->save();
    painter->setPen(option->palette.color(QPalette::Dark));
    painter->setBrush(option->palette.color(QPalette::Mid));
    painter->drawRect(thumb.adjusted(0, 0, -1, -1));
    painter->restore();
}

} // namespace

FormStyle::FormStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QRect FormStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                SubControl subControl, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box || (box->subControls & SC_GroupBoxCheckBox))
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    QRect frame = box->rect;
    frame.setTop(frameTop(*box));
    switch (subControl) {
    case SC_GroupBoxFrame:
        return frame;
    case SC_GroupBoxLabel:
        return titleRect(*box);
    case SC_GroupBoxContents:
        return box->rect.adjusted(2, std::max(2, box->fontMetrics.height()), -2, -2);
    default:
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
}

void FormStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box || (box->subControls & SC_GroupBoxCheckBox)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control == CC_ScrollBar)
            drawScrollBarThumb(*proxy(), option, painter, widget);
        return;
    }
    painter->save();
    // An etched frame: a dark line with a light one inside it.
    const QRect frame = subControlRect(CC_GroupBox, option, SC_GroupBoxFrame, widget);
    const QRect title = titleRect(*box);
    if (!title.isEmpty())
        painter->setClipRegion(QRegion(box->rect).subtracted(QRegion(title)));
    painter->setPen(box->palette.color(QPalette::Mid));
    painter->drawRect(frame.adjusted(0, 0, -2, -2));
    painter->setPen(box->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, -1, -1));
    painter->setClipping(false);
    if (!title.isEmpty())
        proxy()->drawItemText(painter, title.adjusted(TitleGap, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, box->palette,
                              box->state & State_Enabled, box->text, QPalette::WindowText);
    painter->restore();
}

int FormStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
    if ((metric == PM_IndicatorWidth || metric == PM_IndicatorHeight) &&
        qobject_cast<const QAbstractItemView*>(widget))
        return ListIndicatorSide;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

} // namespace kadrix
