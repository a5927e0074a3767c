#include "tool_group.h"

#include <QAbstractButton>

namespace kadrix {

ToolGroup::ToolGroup(QObject* parent) : QObject(parent) {}

void ToolGroup::addButton(QAbstractButton* button) {
    button->setCheckable(true);
    buttons_.emplace_back(button);
    // toggled is emitted inside the press, before clicked: the others are up
    // by the time the pressed button's click handler runs.
    connect(button, &QAbstractButton::toggled, this,
            [this, button](bool down) { buttonToggled(button, down); });
}

QAbstractButton* ToolGroup::checkedButton() const {
    for (const auto& b : buttons_)
        if (b && b->isChecked())
            return b;
    return nullptr;
}

void ToolGroup::buttonToggled(QAbstractButton* button, bool down) {
    if (!down)
        return;
    for (const auto& other : buttons_)
        if (other && other != button && other->isChecked())
            other->setChecked(false);
}

} // namespace kadrix
