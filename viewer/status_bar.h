#pragma once

#include <QWidget>

#include <array>
#include <functional>

namespace kadrix {

// A status bar of fixed-width panels. Text panels draw their text; an
// owner-drawn panel is painted by the drawPanel callback. Panel 3 takes what
// the others leave; the last panel sits at the right end, and a panel of
// width 0 is not drawn.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int PanelCount = 5;
    static constexpr int StretchedPanel = 3;

    explicit StatusBar(QWidget* parent = nullptr);

    QString panelText(int panel) const { return texts_.at(size_t(panel)); }
    void setPanelText(int panel, const QString& text);
    void setPanelWidth(int panel, int width);
    void setOwnerDrawn(int panel, bool on);
    QRect panelRect(int panel) const;
    // What assistive technology reads for a panel: its text, or for an
    // owner-drawn panel the name given here.
    QString panelAccessibleText(int panel) const;
    void setPanelAccessibleName(int panel, const QString& name);

    std::function<void(QPainter&, int panel, const QRect&)> drawPanel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int panelWidth(int panel) const;

    std::array<QString, PanelCount> texts_;
    std::array<int, PanelCount> widths_{50, 110, 100, 50, 0};
    std::array<bool, PanelCount> ownerDrawn_{};
    std::array<QString, PanelCount> accessibleNames_;
};

} // namespace kadrix
