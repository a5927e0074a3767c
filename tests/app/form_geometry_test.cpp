// The three forms as Qt lays them out with the substitute fonts: every
// caption fits its control, no two sibling controls overlap, and every child
// of a group box lies inside its frame.
#include "main_window_fixture.h"

#include "form_framing.h"
#include "form_style.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QToolButton>

namespace kadrix::test {
namespace {

// Room a push button keeps between its frame and its content, each side.
constexpr int ButtonFrame = 3;
// Space between a button's icon and its text.
constexpr int IconSpacing = 4;

bool designed(const QWidget* w) {
    return !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
           w->isVisibleTo(w->window());
}

QList<QWidget*> designedChildren(const QWidget* parent) {
    QList<QWidget*> children;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (designed(w))
            children << w;
    return children;
}

bool iconBesideText(const QAbstractButton* button) {
    if (button->icon().isNull())
        return false;
    const auto* tool = qobject_cast<const QToolButton*>(button);
    return !tool || tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon;
}

// The width a control's caption needs, or -1 when it shows no caption.
int captionWidth(const QWidget* w) {
    const QFontMetrics fm = w->fontMetrics();
    const QStyle* style = w->style();
    if (const auto* check = qobject_cast<const QCheckBox*>(w))
        return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w) +
               fm.horizontalAdvance(check->text());
    if (const auto* radio = qobject_cast<const QRadioButton*>(w))
        return style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w) +
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w) +
               fm.horizontalAdvance(radio->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (button->text().isEmpty())
            return -1;
        const int icon = iconBesideText(button) ? button->iconSize().width() + IconSpacing : 0;
        return fm.horizontalAdvance(button->text()) + icon + 2 * ButtonFrame;
    }
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text().isEmpty() ? -1 : fm.horizontalAdvance(label->text());
    if (const auto* box = qobject_cast<const QGroupBox*>(w))
        return FormStyle::TitleIndent + fm.horizontalAdvance(box->title());
    return -1;
}

QStyleOptionGroupBox groupBoxOption(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return option;
}

QString describe(const QWidget* w) {
    const QRect g = w->geometry();
    return QStringLiteral("%1 (%2,%3 %4x%5)")
        .arg(w->objectName())
        .arg(g.x())
        .arg(g.y())
        .arg(g.width())
        .arg(g.height());
}

// Every fault of one form's layout, one line each.
QStringList layoutFaults(QWidget& form) {
    QStringList faults;
    QList<QWidget*> containers{&form};
    for (QWidget* w : form.findChildren<QWidget*>())
        if (designed(w))
            containers << w;
    for (const QWidget* parent : containers) {
        const QList<QWidget*> children = designedChildren(parent);
        for (const QWidget* w : children) {
            const int needed = captionWidth(w);
            if (needed > w->width())
                faults << QStringLiteral("%1: caption needs %2").arg(describe(w)).arg(needed);
            if (needed >= 0 && w->fontMetrics().height() > w->height())
                faults << QStringLiteral("%1: caption needs height %2")
                              .arg(describe(w))
                              .arg(w->fontMetrics().height());
        }
        for (qsizetype i = 0; i < children.size(); ++i)
            for (qsizetype j = i + 1; j < children.size(); ++j)
                if (children[i]->geometry().intersects(children[j]->geometry()))
                    faults << QStringLiteral("%1 overlaps %2")
                                  .arg(describe(children[i]), describe(children[j]));
        if (const auto* box = qobject_cast<const QGroupBox*>(parent)) {
            const QStyleOptionGroupBox option = groupBoxOption(box);
            const QStyle* style = box->style();
            // Inside the frame's two lines, clear of the title.
            const QRect inside =
                style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box)
                    .adjusted(2, 2, -2, -2);
            const QRect title =
                style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
            for (const QWidget* w : children) {
                if (!inside.contains(w->geometry()))
                    faults << QStringLiteral("%1 crosses the frame of %2")
                                  .arg(describe(w), box->objectName());
                if (title.intersects(w->geometry()))
                    faults << QStringLiteral("%1 covers the title of %2")
                                  .arg(describe(w), box->objectName());
            }
        }
    }
    return faults;
}

using FormGeometry = MainWindowTest;

TEST_F(FormGeometry, CaptionsFitAndControlsStayInsideTheirFrames) {
    // The widths below hold for the substitute of the designed face.
    ASSERT_EQ(QFontInfo(window().font()).family(), QStringLiteral("Liberation Sans Narrow"));
    TFormFraming formFraming;
    const struct {
        const char* name;
        QWidget* form;
    } formsToCheck[] = {{"FormKadrix", forms.FormKadrix.get()},
                        {"FormFraming", &formFraming},
                        {"FormOpJpeg", forms.FormOpJpeg.get()},
                        {"FormAbout", forms.FormAbout.get()}};
    // The size labels, in their fixed-pitch face, as they read for the largest pictures.
    for (const char* name : {"LabelMinSize", "LabelMaxSize"})
        control<QLabel>(name)->setText(QStringLiteral("Taille Maxi: 65535 * 65535"));
    for (const auto& f : formsToCheck) {
        f.form->show();
        QApplication::processEvents();
        const QStringList faults = layoutFaults(*f.form);
        EXPECT_TRUE(faults.isEmpty())
            << f.name << ":\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
        f.form->hide();
    }
}

} // namespace
} // namespace kadrix::test
