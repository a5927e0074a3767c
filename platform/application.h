#pragma once

#include <QApplication>

namespace kadrix {

// The application object. Its notify() is the last guard: an exception that
// escaped a handler's own guard is reported instead of unwinding through Qt.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kadrix
