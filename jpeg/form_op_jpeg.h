#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFormOpJpeg;
}

namespace kadrix {

// The JPEG options dialog: modeless, always on top, hidden on close.
class TFormOpJpeg : public QDialog {
    Q_OBJECT
public:
    explicit TFormOpJpeg(QWidget* parent = nullptr);
    ~TFormOpJpeg() override;

private:
    std::unique_ptr<Ui::TFormOpJpeg> ui;
};

} // namespace kadrix
