#include "status_bar.h"

#include <QAccessible>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

TEST(StatusBarAccessibility, PanelsReadWhatTheyShow) {
    StatusBar bar;
    bar.resize(400, 19);
    bar.setOwnerDrawn(0, true);
    bar.setPanelText(0, QStringLiteral("couleur")); // never shown, never read
    bar.setPanelAccessibleName(0, QStringLiteral("Colour under the pointer"));
    bar.setPanelText(1, QStringLiteral("RGB = 000/000/000"));

    QAccessibleInterface* readout = QAccessible::queryAccessibleInterface(&bar);
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->role(), QAccessible::StatusBar);
    ASSERT_EQ(readout->childCount(), StatusBar::PanelCount);

    bar.setPanelText(1, QStringLiteral("RGB = 255/000/000"));
    bar.setPanelText(2, QStringLiteral("Pos = 0005/0012"));
    const struct {
        int panel;
        const char* reads;
    } panels[] = {
        {0, "Colour under the pointer"}, {1, "RGB = 255/000/000"}, {2, "Pos = 0005/0012"}, {3, ""}};
    for (const auto& p : panels) {
        QAccessibleInterface* panel = readout->child(p.panel);
        ASSERT_NE(panel, nullptr) << p.panel;
        EXPECT_EQ(panel->role(), QAccessible::StaticText);
        EXPECT_EQ(panel->text(QAccessible::Name), QString::fromUtf8(p.reads)) << p.panel;
        EXPECT_EQ(panel->text(QAccessible::Value), QString::fromUtf8(p.reads)) << p.panel;
        EXPECT_EQ(readout->indexOfChild(panel), p.panel);
        EXPECT_EQ(panel->parent(), readout);
    }
    // A panel is found where it is drawn.
    const QPoint insidePanel2 = bar.mapToGlobal(bar.panelRect(2).center());
    EXPECT_EQ(readout->childAt(insidePanel2.x(), insidePanel2.y()), readout->child(2));
}

} // namespace
} // namespace kadrix
