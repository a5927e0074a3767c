// The folder scan: the two buttons that start one, the listing with its
// count and the sizes of the smallest and the largest file, and the row
// shown afterwards.
#include "form_kadrix.h"

#include "ui_form_kadrix.h"

#include "dialog_service.h"
#include "dispatch.h"
#include "event_loop.h"
#include "folder_scan.h"
#include "naming.h"
#include "picture_registry.h"

#include <QDir>

namespace kadrix {
namespace {

// How often the running count repaints during a scan: about a display frame.
constexpr std::chrono::milliseconds CountFrame{20};

// The window as a running scan sees it. The count changes at every file
// listed, and its text is always current, but the label repaints at most once
// per frame: repainting it for each of 100,000 files would take most of the
// scan's time and show nothing more.
class ScanHooks final : public ScanWindow {
public:
    ScanHooks(QLabel* count, bool& stopRequested)
        : count_(count), stopRequested_(stopRequested), countPaint_(count, CountFrame) {}
    void setFoundCountText(const QString& text) override { count_->setText(text); }
    void processScanMessages() override { countPaint_.processPendingMessages(); }
    bool stopRequested() const override { return stopRequested_; }
    void setStopRequested(bool on) override { stopRequested_ = on; }

private:
    QLabel* count_;
    bool& stopRequested_;
    RepaintThrottle countPaint_;
};

QString sizeText(const char* caption, const PictureLoader& picture) {
    return QStringLiteral("%1: %2 * %3")
        .arg(QString::fromUtf8(caption))
        .arg(picture.width())
        .arg(picture.height());
}

} // namespace

void TFormKadrix::bindScanHandlers() {
    connect(ui->SpeedButtonSrcDir, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonSrcDirClick(); }));
    connect(ui->SpeedButtonList, &QToolButton::clicked, this,
            guarded([this] { SpeedButtonListClick(); }));
}

ScanResult TFormKadrix::scanSource(const QString& folderText, const QString& ExtensionFilter) {
    SmallestRow = LargestRow = -1;
    // The scan empties the list at once; the image list follows, so that no
    // row of the old list can be addressed while the scan runs.
    ui->ListBox1->setCount(0);
    ScanHooks hooks(ui->LabelCount, StopRequested);
    const ScanResult result = scanFolder(folderText, ExtensionFilter, *SourceList_, hooks);
    SmallestRow = result.smallestRow;
    LargestRow = result.largestRow;
    return result;
}

bool TFormKadrix::ScanFolder(const QString& folderText, const QString& ExtensionFilter) {
    return scanSource(folderText, ExtensionFilter).found;
}

void TFormKadrix::ListSourceFolder(const QString& PickedFile) {
    BusyCursor busy;
    RedrawSuspension suspended(ui->ListBox1);
    PictureLoader picture;
    const QString ExtensionFilter = ui->ComboBoxSrcExt->currentText().toUpper();
    ImageListView& list = *ui->ListBox1;
    const ScanResult scan = scanSource(ui->EditSrcDir->text(), ExtensionFilter);
    // A drop or another scan that ran during this one has shown its own list.
    if (scan.replaced)
        return;
    if (!scan.found) {
        list.setCount(0);
        ui->LabelCount->setText(foundCountText(0));
        ui->LabelMinSize->setText(QStringLiteral("Taille mini: 0 * 0"));
        ui->LabelMaxSize->setText(QStringLiteral("Taille Maxi: 0 * 0"));
        return;
    }
    list.setCount(SourceList_->count());
    ui->LabelCount->setText(foundCountText(SourceList_->count()));
    picture.loadFromFile(SourcePath(SmallestRow));
    ui->LabelMinSize->setText(sizeText("Taille mini", picture));
    picture.loadFromFile(SourcePath(LargestRow));
    ui->LabelMaxSize->setText(sizeText("Taille Maxi", picture));

    const int row = PickedFile.isEmpty() ? 0 : ListBox1DataFind(fileNamePart(PickedFile));
    ShowRow(row, viewMode());
    list.setCurrentRow(row);
    list.setSelected(row, true);
}

void TFormKadrix::SpeedButtonSrcDirClick() {
    const auto choice = dialogs().openPicture(pictureRegistry().filterText(),
                                              ui->ComboBoxSrcExt->currentIndex() + 1);
    if (!choice)
        return;
    ui->ComboBoxSrcExt->setCurrentIndex(choice->filterIndex - 1);
    ui->EditSrcDir->setText(folderPart(choice->path));
    EditSrcDirChange();
    ListSourceFolder(choice->path);
}

void TFormKadrix::SpeedButtonListClick() {
    ui->EditSrcDir->setText(QDir::currentPath() + u'/');
    EditSrcDirChange();
    ListSourceFolder(QString());
}

} // namespace kadrix
