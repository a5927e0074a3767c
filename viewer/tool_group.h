#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QAbstractButton;

namespace kadrix {

// Checkable buttons of which at most one is down, and all may be up. Putting
// one down, by a press or from code, puts the others up; pressing the one
// that is down puts it up. Each button keeps its own clicked signal, which
// fires after the group has settled, so a click handler sees the new states.
class ToolGroup : public QObject {
public:
    explicit ToolGroup(QObject* parent = nullptr);

    void addButton(QAbstractButton* button);
    // The button that is down, or nullptr when all are up.
    QAbstractButton* checkedButton() const;

private:
    void buttonToggled(QAbstractButton* button, bool down);

    std::vector<QPointer<QAbstractButton>> buttons_;
};

} // namespace kadrix
