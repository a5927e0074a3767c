#include "status_bar.h"

#include "status_bar_accessible.h"

#include <QAccessible>
#include <QPainter>
#include <QStyleOption>

namespace kadrix {

namespace {

// Tells assistive technology that a panel now reads differently. Skipped
// when none listens: the readout changes on every pointer move.
void announcePanel(StatusBar* bar, int panel) {
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* barInterface = QAccessible::queryAccessibleInterface(bar);
    QAccessibleInterface* panelInterface = barInterface ? barInterface->child(panel) : nullptr;
    if (!panelInterface)
        return;
    QAccessibleEvent nameChanged(panelInterface, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleEvent valueChanged(panelInterface, QAccessible::TextUpdated);
    QAccessible::updateAccessibility(&valueChanged);
}

} // namespace

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
    installStatusBarAccessibility();
}

void StatusBar::setPanelText(int panel, const QString& text) {
    if (texts_.at(size_t(panel)) == text)
        return;
    texts_.at(size_t(panel)) = text;
    update(panelRect(panel));
    if (!ownerDrawn_.at(size_t(panel)))
        announcePanel(this, panel);
}

QString StatusBar::panelAccessibleText(int panel) const {
    return ownerDrawn_.at(size_t(panel)) ? accessibleNames_.at(size_t(panel))
                                         : texts_.at(size_t(panel));
}

void StatusBar::setPanelAccessibleName(int panel, const QString& name) {
    accessibleNames_.at(size_t(panel)) = name;
    announcePanel(this, panel);
}

void StatusBar::setPanelWidth(int panel, int width) {
    widths_.at(size_t(panel)) = width;
    update();
}

void StatusBar::setOwnerDrawn(int panel, bool on) {
    ownerDrawn_.at(size_t(panel)) = on;
    update();
}

int StatusBar::panelWidth(int panel) const {
    const int width = widths_.at(size_t(panel));
    if (panel != StretchedPanel)
        return width;
    // Panel 3 takes the rest of the bar, as the text of a long result path
    // would otherwise be cut at 50 pixels.
    int others = 0;
    for (int i = 0; i < PanelCount; ++i)
        others += i == StretchedPanel ? 0 : widths_[size_t(i)];
    return std::max(width, this->width() - others);
}

QRect StatusBar::panelRect(int panel) const {
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += panelWidth(i);
    return QRect(left, 0, panelWidth(panel), height());
}

void StatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < PanelCount; ++i) {
        if (panelWidth(i) == 0)
            continue;
        const QRect r = panelRect(i).adjusted(1, 1, -2, -1);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(r);
        const QRect inner = r.adjusted(1, 1, 0, 0);
        if (ownerDrawn_[size_t(i)]) {
            if (drawPanel)
                drawPanel(painter, i, inner);
            continue;
        }
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(inner.adjusted(2, 0, -1, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         texts_[size_t(i)]);
    }
}

} // namespace kadrix
