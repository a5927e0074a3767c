#pragma once

#include "batch.h"
#include "bitmap.h"
#include "colour.h"
#include "source_list.h"

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class TFormKadrix;
}
class QButtonGroup;

namespace kadrix {

class TFormOpJpeg;
class TFormAbout;

// The main window. All of the program's state lives here: in the controls
// and in the fields below. Handlers keep the names of their control and event.
class TFormKadrix : public QWidget, private BatchWindow {
    Q_OBJECT
public:
    explicit TFormKadrix(QWidget* parent = nullptr);
    ~TFormKadrix() override;

    // The two dialogs the buttons show; created after this window.
    void setDialogs(TFormOpJpeg* formOpJpeg, TFormAbout* formAbout);

    // State other parts of the program read and tests inspect.
    const SourceList& sourceList() const { return *SourceList_; }
    SourceList& sourceList() { return *SourceList_; }
    Colour wipeColor() const { return WipeColor; }
    Colour hoverColor() const { return HoverColor; }
    bool stopRequested() const override { return StopRequested; }
    const Bitmap& sampleBitmap() const { return *SampleBitmap; }
    const Bitmap& swatch() const { return Swatch; }
    int viewMode() const;

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void SpeedButtonCloseClick();
    void SpeedButton1Click();
    void SpeedButton2Click();

    // Source folder and output naming.
    void EditSrcDirChange();
    QString SourcePath(int row) override;
    QString BuildResultPath(int Row, bool WriteBack) override;
    void ComboBoxRenommerChange(QObject* Sender);
    void SpeedButtonDefRenameClick();
    void SpeedButtonDstDirClick();
    void CheckBoxAutoDStDirClick();

    // Batch run.
    void SpeedButtonRedimClick();
    void SpeedButtonStopClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void bindHandlers();
    void bindNamingHandlers();
    void bindBatchHandlers();

    // What a batch run reads and writes of this window.
    void setRunningCountText(const QString& text) override;
    QString destinationText() const override;
    QString targetWidthText() const override;
    void setTargetWidthText(const QString& text) override;
    QString targetHeightText() const override;
    void setTargetHeightText(const QString& text) override;
    bool stepByStepChecked() const override;
    void prepareResultView(int width, int height) override;
    void showResult(const Bitmap& copy) override;
    void setStopRequested(bool on) override { StopRequested = on; }
    Colour wipeColour() const override { return WipeColor; }

    void paintSwatch();

    std::unique_ptr<Ui::TFormKadrix> ui;
    QButtonGroup* viewModeGroup_ = nullptr; // owned by this window (QObject parent)
    TFormOpJpeg* FormOpJpeg = nullptr;
    TFormAbout* FormAbout = nullptr;

    // Fields of the window, in declaration order.
    std::unique_ptr<Bitmap> SampleBitmap;
    Colour WipeColor = 0;
    Colour HoverColor = 0;
    bool StopRequested = false;
    int SmallestRow = -1;
    int LargestRow = -1;
    std::unique_ptr<SourceList> SourceList_;

    Bitmap Swatch; // the picture of PanelWipeColor
};

} // namespace kadrix
