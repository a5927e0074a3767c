// Glyph-only controls explain themselves to a new user (tooltip) and to a
// screen reader (accessible name).
#include "main_window_fixture.h"

#include <QAbstractButton>
#include <QLabel>

namespace kadrix::test {
namespace {

using Explanations = MainWindowTest;

TEST_F(Explanations, EveryGlyphOnlyButtonAndTheSwatchHaveATooltipAndAName) {
    QList<QWidget*> unexplained{control<QLabel>("PanelWipeColor")};
    for (QWidget* form : {static_cast<QWidget*>(forms.FormKadrix.get()),
                          static_cast<QWidget*>(forms.FormOpJpeg.get()),
                          static_cast<QWidget*>(forms.FormAbout.get())})
        for (QAbstractButton* button : form->findChildren<QAbstractButton*>())
            if (button->text().isEmpty() && !button->objectName().startsWith(QLatin1String("qt_")))
                unexplained << button;
    ASSERT_GE(unexplained.size(), 9); // eight glyph buttons and the swatch
    for (const QWidget* w : unexplained) {
        EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
}

} // namespace
} // namespace kadrix::test
