#include "form1.h"

namespace kadrix {

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    resize(979, 563);
}

} // namespace kadrix
