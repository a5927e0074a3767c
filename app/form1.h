#pragma once

#include <QWidget>

namespace kadrix {

// The auxiliary form: created at start, never shown or used.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
};

} // namespace kadrix
