// The main window's side of batch runs: "GO", Stop, and the controls a run
// reads and writes.
#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dispatch.h"
#include "event_loop.h"
#include "field_text.h"

namespace kadrix {

void TFormKadrix::bindBatchHandlers() {
    connect(ui->SpeedButtonRedim, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonRedimClick(); }));
    connect(ui->SpeedButtonStop, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonStopClick(); }));
}

void TFormKadrix::SpeedButtonRedimClick() {
    ProcessRows(*this, 0, SourceList_->count() - 1, ui->CheckBoxPasaPas->isChecked(), true);
}

void TFormKadrix::SpeedButtonStopClick() {
    StopRequested = true;
    processPendingMessages();
}

QString TFormKadrix::destinationText() const {
    return ui->EditDstDir->text();
}

TargetSizeText TFormKadrix::targetSizeText() const {
    return {ui->EditW->text(), ui->EditH->text()};
}

void TFormKadrix::setTargetSizeText(const TargetSizeText& text) {
    ui->EditW->setText(text.width);
    ui->EditH->setText(text.height);
}

void TFormKadrix::setRunningCountText(const QString& text) {
    ui->LabelTraitee->setText(text);
}

void TFormKadrix::prepareResultView(int width, int height) {
    ui->Image1->setStretch(false);
    ui->Image1->setBounds(ui->Image1->x(), ui->Image1->y(), width, height);
}

void TFormKadrix::showResult(const Bitmap& copy) {
    ui->Image1->setPicture(copy);
}

void TFormKadrix::showingRow(int row) {
    pointAtRow(row, BuildResultPath(row, true));
}

std::optional<Error> TFormKadrix::sourceError(int row, const QString& path, const Error& error) {
    pointAtRow(row, path);
    // A dropped file is named by its path: it is looked for in the folder of
    // the drop's first file, which may not be its own.
    const std::optional<SourceList::Listing>& listing = SourceList_->listing();
    const QString file = listing && listing->dropped ? path : fileNamePart(path);
    return Error(QStringLiteral("%1\nFichier: %2").arg(error.message(), file));
}

void TFormKadrix::pointAtRow(int row, const QString& path) {
    setWindowTitle(QStringLiteral("Kadrix - ") + path);
    if (row < ui->ListBox1->count())
        ui->ListBox1->setCurrentRow(row);
}

} // namespace kadrix
