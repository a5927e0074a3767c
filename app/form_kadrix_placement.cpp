// Placing a row's picture by hand: dragging it inside its frame in the
// "Result" view, the double-click that gives it back to its anchor, the
// readout of the placement and the list's mark of placed rows.
#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dispatch.h"
#include "frame_geometry.h"
#include "image_list_model.h"
#include "view_geometry.h"

#include <QPainter>
#include <QScopeGuard>

namespace kadrix {
namespace {

constexpr int ReadoutPanel = 4;
constexpr int ReadoutWidth = 110;
constexpr int NoteIconSide = 11;

QString placementText(QPoint topLeft) {
    return QString::asprintf("Placé: %+d, %+d", topLeft.x(), topLeft.y());
}

// The list's mark of a placed row: a frame moved off its centre.
QIcon placedRowIcon(const QColor& ink) {
    QPixmap pixmap(NoteIconSide, NoteIconSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(ink);
    painter.drawRect(0, 0, NoteIconSide - 1, NoteIconSide - 1);
    painter.fillRect(QRect(4, 2, 5, 4), ink);
    return QIcon(pixmap);
}

} // namespace

void TFormKadrix::bindPlacementHandlers() {
    connect(ui->Image1, &ImageControl::mouseReleased, this,
            guarded([this](Qt::MouseButton button, int x, int y) { Image1MouseUp(button, x, y); }));
    connect(
        ui->Image1, &ImageControl::doubleClicked, this,
        guarded([this](Qt::MouseButton button, int x, int y) { Image1DblClick(button, x, y); }));
    ui->ListBox1->setIconSize(QSize(NoteIconSide, NoteIconSide));
    ui->ListBox1->listModel()->setNoteSource([this](int row) { return placementNote(row); },
                                             placedRowIcon(palette().color(QPalette::Text)));
}

std::optional<QPoint> TFormKadrix::rowPlacement(int row) const {
    if (!SourceList_ || row < 0 || row >= SourceList_->count())
        return std::nullopt;
    return SourceList_->entry(row).placement;
}

void TFormKadrix::resultPlaced(int row, QSize picture, const FrameGeometry& frame) {
    inView_ = {row, SourceList_->revision(), picture, frame};
    showPlacementReadout();
}

bool TFormKadrix::resultInView() const {
    return inView_.row >= 0 && inView_.row < SourceList_->count() &&
           inView_.rows == SourceList_->revision() && !inView_.picture.isEmpty() &&
           viewMode() == ResultView;
}

void TFormKadrix::beginPlacementDrag(bool toolArmed, int x, int y) {
    pressBeforeDragged_ = lastPressDragged_;
    drag_.reset();
    // Not while a run shows its rows: the drag would frame a row inside it.
    if (!toolArmed && resultInView() && runningHandlers() <= 1)
        drag_ = PlacementDrag{QPoint(x, y), inView_.frame.topLeft};
    lastPressDragged_ = drag_.has_value();
}

void TFormKadrix::dragPlacementTo(int x, int y) {
    if (!resultInView()) {
        drag_.reset();
        return;
    }
    // The picture follows the pointer: dragged right, the window onto it
    // moves left.
    const QPoint wanted = drag_->startTopLeft - (QPoint(x, y) - drag_->pressedAt);
    const QPoint topLeft = clampTopLeft(inView_.picture, inView_.frame.size, wanted);
    if (topLeft == rowPlacement(inView_.row).value_or(inView_.frame.topLeft))
        return;
    placeRow(inView_.row, topLeft);
}

void TFormKadrix::Image1MouseUp(Qt::MouseButton button, int, int) {
    if (button == Qt::LeftButton)
        drag_.reset();
}

void TFormKadrix::Image1DblClick(Qt::MouseButton button, int, int) {
    if (button != Qt::LeftButton || !lastPressDragged_ || !pressBeforeDragged_)
        return;
    drag_.reset();
    placeRow(inView_.row, std::nullopt);
}

void TFormKadrix::placeRow(int row, std::optional<QPoint> topLeft) {
    if (rowPlacement(row) == topLeft)
        return;
    SourceList_->setPlacement(row, topLeft);
    ui->ListBox1->listModel()->noteChanged(row);
    showPlacementReadout();
    if (resultInView() && inView_.row == row)
        reframeRowInView();
}

void TFormKadrix::reframeRowInView() {
    if (reframing_)
        return; // the frame under way is followed by one with the new placement
    reframing_ = true;
    const auto done = qScopeGuard([this] { reframing_ = false; });
    try {
        // Framing lets messages through: pointer moves meanwhile change the
        // placement, and the last one is framed before the drag goes on.
        while (resultInView()) {
            const int row = inView_.row;
            const std::optional<QPoint> framed = rowPlacement(row);
            ProcessRows(*this, row, row, false, false);
            if (!resultInView() || inView_.row != row || rowPlacement(row) == framed)
                break;
        }
    } catch (...) {
        drag_.reset(); // one message, not one for every pointer move
        throw;
    }
}

QString TFormKadrix::placementNote(int row) const {
    const std::optional<QPoint> topLeft = rowPlacement(row);
    return topLeft ? placementText(*topLeft) : QString();
}

void TFormKadrix::showPlacementReadout() {
    const bool valid = inView_.row >= 0 && inView_.rows == SourceList_->revision();
    const QString text = valid ? placementNote(inView_.row) : QString();
    ui->StatusBar1->setPanelText(ReadoutPanel, text);
    ui->StatusBar1->setPanelWidth(ReadoutPanel, text.isEmpty() ? 0 : ReadoutWidth);
}

} // namespace kadrix
