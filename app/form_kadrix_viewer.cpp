// The viewer: showing one row as source, stretched source or result, and
// the list's keys and clicks that choose the row.
#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dialog_service.h"
#include "dispatch.h"
#include "errors.h"
#include "event_loop.h"
#include "image_list_model.h"
#include "picture_file.h"
#include "view_geometry.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kadrix {

void TFormKadrix::bindViewerHandlers() {
    connect(viewModeGroup_, &QButtonGroup::idToggled, this, guarded([this](int, bool checked) {
                if (checked)
                    RadioGroupListClick();
            }));
}

void TFormKadrix::setViewMode(int mode) {
    if (viewMode() == mode)
        return;
    {
        const QSignalBlocker blocker(viewModeGroup_);
        viewModeGroup_->button(mode)->setChecked(true);
    }
    RadioGroupListClick();
}

void TFormKadrix::ShowRow(int row, int mode) {
    if (ui->ListBox1->count() == 0 || row == -1)
        return;
    QString path;
    if (mode == ResultView) {
        path = BuildResultPath(row, true);
        // The row is in view once framed; until then, and when its picture
        // fails, no row is, so a drag cannot place the row shown before.
        inView_ = {};
        ProcessRows(*this, row, row, false, false);
    } else {
        path = SourcePath(row);
        LoadIntoView(path);
        inView_ = {row, SourceList_->revision(), {}, {}};
        showPlacementReadout();
    }
    setWindowTitle(QStringLiteral("Kadrix - ") + path);
}

void TFormKadrix::LoadIntoView(const QString& path) {
    Bitmap bitmap = loadPictureAs24(path, wipeColour());
    const QSize size(bitmap.width(), bitmap.height());
    ui->Image1->setPicture(std::move(bitmap));
    const int mode = viewMode();
    ui->Image1->setStretch(mode == ModedSourceView);
    const QRect bounds = viewBounds(mode, size, ui->ScrollBox1->size());
    ui->Image1->setBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    inView_ = {}; // a source, no row's result
}

void TFormKadrix::RadioGroupListClick() {
    ShowRow(ui->ListBox1->currentRow(), viewMode());
}

void TFormKadrix::ListBox1KeyDown(int key, const std::function<void()>& moveFocus) {
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        throw SilentAbort();
    // The list moves its focus first, so the row shown is the one the arrow
    // leads to and the caption names it.
    moveFocus();
    ShowRow(ui->ListBox1->currentRow(), viewMode());
}

void TFormKadrix::ListBox1MouseDown(Qt::MouseButtons buttons, int x, int y) {
    if (!(buttons & Qt::LeftButton))
        return;
    ShowRow(ui->ListBox1->rowAtPoint(QPoint(x, y)), viewMode());
}

bool TFormKadrix::eventFilter(QObject* watched, QEvent* event) {
    ImageListView* list = ui->ListBox1;
    if (watched == list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Tab and Shift+Tab move the focus between the window's controls:
        // they are the window's keys, not the list's.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        // The handler sees every key first: Up and Down it passes to the list
        // itself (past this filter) before showing the row; every other key
        // ends there and never reaches the list. The space bar, the one
        // character input that acts, toggles the current row's check.
        const auto listActs = [&] { static_cast<QObject*>(list)->event(event); };
        if (!dispatch([&] { ListBox1KeyDown(key->key(), listActs); }) &&
            key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier &&
            list->currentRow() >= 0)
            list->listModel()->toggleChecked(list->currentRow());
        return true;
    }
    if (watched == list->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            return true; // the popup menu opens; the selection stays as it is
        const QPoint p = mouse->position().toPoint();
        dispatch([&] { ListBox1MouseDown(mouse->buttons(), p.x(), p.y()); });
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

void TFormKadrix::walkRows(int mode, const std::function<void(int row)>& showCurrent,
                           const std::function<void(int row)>& visit) {
    setViewMode(mode);
    ImageListView& list = *ui->ListBox1;
    if (list.count() == 0)
        return;
    StopRequested = false;
    RedrawSuspension suspended(&list);
    // The selection only chooses between the current row and the walk over
    // every row, from the last up.
    if (list.selectedCount() < 2) {
        if (list.currentRow() >= 0)
            showCurrent(list.currentRow());
        return;
    }
    const SourceListWatch watch(*SourceList_);
    for (int row = SourceList_->count() - 1; row >= 0; --row) {
        if (nextRowStep(watch) != RowStep::Go)
            break;
        visit(row);
    }
}

bool TFormKadrix::rowChecked(int row) const {
    return row < ui->ListBox1->count() && ui->ListBox1->isChecked(row);
}

void TFormKadrix::VoirSourceClick() {
    const auto show = [this](int row) { ShowRow(row, SourceView); };
    walkRows(SourceView, show, [&](int row) {
        if (rowChecked(row))
            show(row);
        // The step-by-step prompt follows every row, checked or not.
        if (ui->CheckBoxPasaPas->isChecked() &&
            dialogs().messageBox(QStringLiteral("Suivant"), QStringLiteral("Pas à Pas"),
                                 Buttons::OkCancel) == Answer::Cancel) {
            StopRequested = true;
        }
    });
}

void TFormKadrix::VoirResultatClick() {
    walkRows(
        ResultView, [this](int row) { ProcessRows(*this, row, row, false, false); },
        [this](int row) {
            if (rowChecked(row))
                ProcessRows(*this, row, row, ui->CheckBoxPasaPas->isChecked(), false);
        });
}

} // namespace kadrix
