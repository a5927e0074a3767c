// The colour tools beside the swatch (colour dialog, brush, pipette), the
// mouse on the viewer image, and the status bar's colour and position readout.
#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dialog_service.h"
#include "dispatch.h"
#include "tool_group.h"
#include "view_geometry.h"

#include <QPainter>
#include <QScopeGuard>

namespace kadrix {
namespace {

// The brush samples a 7 x 7 square around the pointer: three pixels to the
// left and above, three to the right and below.
constexpr int SampleReach = 3;
constexpr int SampleSide = 2 * SampleReach + 1;

// The hand while a tool is armed, the control's default arrow otherwise.
void setToolCursor(QWidget& image, bool armed) {
    if (armed)
        image.setCursor(Qt::PointingHandCursor);
    else
        image.unsetCursor();
}

} // namespace

void TFormKadrix::bindColourHandlers() {
    toolGroup_ = new ToolGroup(this);
    toolGroup_->addButton(ui->SpeedButtonWipeColor);
    toolGroup_->addButton(ui->SpeedButtonBrush);
    toolGroup_->addButton(ui->SpeedButtonPipette);
    connect(ui->SpeedButtonWipeColor, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonWipeColorClick(); }));
    connect(ui->SpeedButtonBrush, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonBrushClick(); }));
    connect(ui->SpeedButtonPipette, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonPipetteClick(); }));
    connect(ui->Image1, &ImageControl::mousePressed, this,
            guarded([this](Qt::MouseButton button, Qt::MouseButtons buttons,
                           Qt::KeyboardModifiers modifiers, int x,
                           int y) { Image1MouseDown(button, buttons, modifiers, x, y); }));
    connect(ui->Image1, &ImageControl::mouseMoved, this,
            guarded([this](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x,
                           int y) { Image1MouseMove(buttons, modifiers, x, y); }));
    ui->StatusBar1->drawPanel = [this](QPainter& painter, int panel, const QRect& rect) {
        dispatch([&] { StatusBar1DrawPanel(painter, panel, rect); });
    };
}

void TFormKadrix::setWipeColor(Colour colour) {
    WipeColor = colour;
    Swatch.fill(WipeColor);
    paintSwatch();
}

void TFormKadrix::SpeedButtonWipeColorClick() {
    const auto putUp = qScopeGuard([this] { ui->SpeedButtonWipeColor->setChecked(false); });
    ColorDialog1.Color = WipeColor;
    if (ColorDialog1.Execute())
        setWipeColor(ColorDialog1.Color);
}

void TFormKadrix::SpeedButtonBrushClick() {
    setToolCursor(*ui->Image1, ui->SpeedButtonBrush->isChecked());
}

void TFormKadrix::SpeedButtonPipetteClick() {
    setToolCursor(*ui->Image1, ui->SpeedButtonPipette->isChecked());
}

QPoint TFormKadrix::image1PixelAt(int x, int y) const {
    const ImageControl& image = *ui->Image1;
    const Bitmap& picture = image.picture();
    return pictureAt({x, y}, {picture.width(), picture.height()}, image.size(), image.stretch());
}

void TFormKadrix::Image1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons,
                                  Qt::KeyboardModifiers, int pointerX, int pointerY) {
    const Bitmap& picture = ui->Image1->picture();
    const bool toolArmed = ui->SpeedButtonBrush->isChecked() || ui->SpeedButtonPipette->isChecked();
    // The pixel displayed under the pointer, also in the stretched view.
    const QPoint at = image1PixelAt(pointerX, pointerY);
    const int x = at.x(), y = at.y();
    if (ui->SpeedButtonBrush->isChecked()) {
        const auto putUp = qScopeGuard([this] { ui->SpeedButtonBrush->setChecked(false); });
        // Enlarged by repeating pixels; what lies outside the picture reads
        // white. The sample only shows in the swatch: WipeColor stays.
        const QRect whole(0, 0, SampleBitmap->width(), SampleBitmap->height());
        SampleBitmap->copyRect(whole, picture,
                               QRect(x - SampleReach, y - SampleReach, SampleSide, SampleSide));
        Swatch.copyRect(QRect(0, 0, Swatch.width(), Swatch.height()), *SampleBitmap, whole);
        paintSwatch();
        ui->PanelWipeColor->repaint();
    }
    if (ui->SpeedButtonPipette->isChecked()) {
        // Outside the picture this is the invalid colour, which every
        // fill paints as white.
        setWipeColor(picture.pixel(x, y));
        ui->SpeedButtonPipette->setChecked(false);
    }
    if (buttons & Qt::RightButton)
        ui->PanelCommande->setHidden(!ui->PanelCommande->isHidden());
    if (button == Qt::LeftButton)
        beginPlacementDrag(toolArmed, pointerX, pointerY);
}

void TFormKadrix::Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers, int pointerX,
                                  int pointerY) {
    const QPoint at = image1PixelAt(pointerX, pointerY);
    const int x = at.x(), y = at.y();
    HoverColor = ui->Image1->picture().pixel(x, y);
    ui->StatusBar1->setPanelText(1, QString::asprintf("RGB = %3.3d/%3.3d/%3.3d", redOf(HoverColor),
                                                      greenOf(HoverColor), blueOf(HoverColor)));
    ui->StatusBar1->setPanelText(2, QString::asprintf("Pos = %4.4d/%4.4d", x, y));
    ui->StatusBar1->update();
    if (drag_ && (buttons & Qt::LeftButton))
        dragPlacementTo(pointerX, pointerY);
}

void TFormKadrix::StatusBar1DrawPanel(QPainter& painter, int panel, const QRect& rect) {
    if (panel == 0)
        painter.fillRect(rect, toQColor(HoverColor));
}

} // namespace kadrix
