#include "form_op_jpeg.h"

#include "ui_form_op_jpeg.h"

namespace kadrix {

TFormOpJpeg::TFormOpJpeg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormOpJpeg>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);
}

TFormOpJpeg::~TFormOpJpeg() = default;

} // namespace kadrix
