#include "form_about.h"

namespace kadrix {

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About.."));
    setFixedSize(613, 430);
}

} // namespace kadrix
