#include "status_bar_accessible.h"

#include "status_bar.h"

#include <QAccessibleWidget>

#include <array>

namespace kadrix {
namespace {

class StatusBarAccessible;

// One panel: a virtual child with no QObject of its own.
class PanelAccessible final : public QAccessibleInterface {
public:
    PanelAccessible(StatusBarAccessible* bar, int panel) : bar_(bar), panel_(panel) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }

private:
    StatusBarAccessible* bar_;
    int panel_;
};

class StatusBarAccessible final : public QAccessibleWidget {
public:
    explicit StatusBarAccessible(StatusBar* bar) : QAccessibleWidget(bar, QAccessible::StatusBar) {}
    ~StatusBarAccessible() override {
        for (QAccessible::Id id : ids_)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

    StatusBar* bar() const { return static_cast<StatusBar*>(widget()); }

    int childCount() const override { return StatusBar::PanelCount; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= StatusBar::PanelCount)
            return nullptr;
        QAccessible::Id& id = ids_[size_t(index)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(
                new PanelAccessible(const_cast<StatusBarAccessible*>(this), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < StatusBar::PanelCount; ++i)
            if (ids_[size_t(i)] != 0 && QAccessible::accessibleInterface(ids_[size_t(i)]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = bar()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < StatusBar::PanelCount; ++i)
            if (bar()->panelRect(i).contains(local))
                return child(i);
        return nullptr;
    }

private:
    mutable std::array<QAccessible::Id, StatusBar::PanelCount> ids_{};
};

bool PanelAccessible::isValid() const {
    return bar_->isValid();
}
QWindow* PanelAccessible::window() const {
    return bar_->window();
}
QAccessibleInterface* PanelAccessible::parent() const {
    return bar_;
}

QString PanelAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
    case QAccessible::Value:
        return bar_->bar()->panelAccessibleText(panel_);
    default:
        return QString();
    }
}

QRect PanelAccessible::rect() const {
    const StatusBar* bar = bar_->bar();
    const QRect local = bar->panelRect(panel_);
    return QRect(bar->mapToGlobal(local.topLeft()), local.size());
}

QAccessibleInterface* statusBarFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("kadrix::StatusBar") && object && object->isWidgetType())
        return new StatusBarAccessible(static_cast<StatusBar*>(object));
    return nullptr;
}

} // namespace

void installStatusBarAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(statusBarFactory);
        return true;
    }();
    (void)installed;
}

} // namespace kadrix
