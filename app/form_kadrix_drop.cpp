// Files dropped on the window replace the list, like a scan but with no
// filter and no file read.
#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dispatch.h"
#include "event_loop.h"
#include "filedrag.h"
#include "folder_scan.h"
#include "naming.h"

namespace kadrix {

void TFormKadrix::bindDropHandlers() {
    FileDrag1 = std::make_unique<TFileDrag>(this);
    FileDrag1->setObjectName(QStringLiteral("FileDrag1"));
    connect(FileDrag1.get(), &TFileDrag::OnDrop, this, guarded([this] { FileDrag1Drop(); }));
}

void TFormKadrix::FileDrag1Drop() {
    const QStringList& files = FileDrag1->Files();
    if (files.isEmpty())
        return;
    StopRequested = false;
    ImageListView& list = *ui->ListBox1;
    RedrawSuspension suspended(&list);
    SourceList_->clear();
    for (const QString& path : files)
        SourceList_->append(fileNamePart(path));
    // Every row is looked for in the first item's folder.
    SourceList_->setListing({folderPart(files.first()), true});
    ui->EditSrcDir->setText(folderPart(files.first())); // fires EditSrcDirChange
    if (ui->CheckBoxAutoDStDir->isChecked())
        ui->EditDstDir->setText(automaticDestination(ui->EditSrcDir->text()));
    list.setCount(SourceList_->count());
    ui->LabelCount->setText(foundCountText(SourceList_->count()));
    if (!SourceList_->isEmpty()) {
        ShowRow(0, viewMode());
        list.setCurrentRow(0);
        list.setSelected(0, true);
    }
}

} // namespace kadrix
