#pragma once

#include "batch.h"
#include "bitmap.h"
#include "colour.h"
#include "common_dialogs.h"
#include "mark_operations.h"
#include "source_list.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TFormKadrix;
}
class QButtonGroup;
class QMenu;
class QPainter;

namespace kadrix {

class TFormOpJpeg;
class TFormAbout;
class TFileDrag;
struct ScanResult;
class ToolGroup;

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
    bool stopRequested() const { return StopRequested; }
    const Bitmap& sampleBitmap() const { return *SampleBitmap; }
    const Bitmap& swatch() const { return Swatch; }
    int viewMode() const;

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void SpeedButtonCloseClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    // "Framing Options": the framing options dialog, modally.
    void SpeedButtonFramingClick();

    // Source folder and output naming.
    void EditSrcDirChange();
    // Enter in the source folder field: scans the folder typed there.
    void EditSrcDirReturnPressed();
    QString SourcePath(int row) override;
    QString BuildResultPath(int Row, bool WriteBack) override;
    void ComboBoxRenommerChange(QObject* Sender);
    void SpeedButtonDefRenameClick();
    void SpeedButtonDstDirClick();
    void CheckBoxAutoDStDirClick();

    // Batch run.
    void SpeedButtonRedimClick();
    void SpeedButtonStopClick();

    // Image list: data handlers, popup menu and row removal.
    QString ListBox1Data(int row) const;
    int ListBox1DataFind(const QString& text) const;
    std::optional<qint64> ListBox1DataObject(int row) const;
    void ToutCocher1Click();
    void InverserCocher1Click();
    void AnnulerCocher1Click();
    void RetirerSelectiondeCocher1Click();
    void CocherUniquementSelectionnes1Click();
    void AjouterSelectionesaCocher1Click();
    void ToutSelectionnerClick();
    void InverserSelectionClick();
    void AnnulerSelectionClick();
    void RetirerCochesdeSelectionClick();
    void SelectionnerUniquementCoches1Click();
    void AjouterCochesaSelection1Click();
    void RetirerSelectionClick();
    void RedimensionnerSelectionClick();

    // Viewer.
    void ShowRow(int row, int mode);
    void LoadIntoView(const QString& path);
    void RadioGroupListClick();
    void ListBox1KeyDown(int key, const std::function<void()>& moveFocus);
    void ListBox1MouseDown(Qt::MouseButtons buttons, int x, int y);
    void VoirSourceClick();
    void VoirResultatClick();

    // Folder scan and file drop.
    bool ScanFolder(const QString& folderText, const QString& ExtensionFilter);
    void ListSourceFolder(const QString& PickedFile);
    void SpeedButtonSrcDirClick();
    void SpeedButtonListClick();
    void FileDrag1Drop();
    TFileDrag& fileDrag() { return *FileDrag1; }
    int smallestRow() const { return SmallestRow; }
    int largestRow() const { return LargestRow; }
    // Colour tools and the status bar readout.
    void SpeedButtonWipeColorClick();
    void SpeedButtonBrushClick();
    void SpeedButtonPipetteClick();
    void Image1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons,
                         Qt::KeyboardModifiers modifiers, int x, int y);
    void Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void StatusBar1DrawPanel(QPainter& painter, int panel, const QRect& rect);
    // Placing a row's picture by hand in the "Result" view: a drag moves the
    // picture in its frame, a double-click gives the row back to its anchor.
    void Image1MouseUp(Qt::MouseButton button, int x, int y);
    void Image1DblClick(Qt::MouseButton button, int x, int y);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void bindHandlers();
    void bindNamingHandlers();
    void bindBatchHandlers();
    void bindListHandlers();
    void bindViewerHandlers();
    void bindScanHandlers();
    ScanResult scanSource(const QString& folderText, const QString& ExtensionFilter);
    void bindDropHandlers();
    void bindColourHandlers();
    void bindPlacementHandlers();
    // Starts a drag of the result in view; `toolArmed`: the press was the
    // pipette's or the brush's.
    void beginPlacementDrag(bool toolArmed, int x, int y);
    void dragPlacementTo(int x, int y);
    // Places a row by hand (none: back to its anchor), marks it in the list,
    // and frames its result again when it is in view.
    void placeRow(int row, std::optional<QPoint> topLeft);
    // Frames the result in view again, and again while a drag moved the
    // picture meanwhile.
    void reframeRowInView();
    bool resultInView() const;
    // The readout panel of the row in view, and the note of a row in the list.
    void showPlacementReadout();
    QString placementNote(int row) const;
    void runMarkOperation(MarkOperation op);
    // The check a loop over the rows makes before each row: processes
    // pending messages, then tells whether to go on, stop (Stop was pressed)
    // or abandon (another command changed the list).
    RowStep nextRowStep(const SourceListWatch& watch);
    // Sets the view mode from code; a change shows the current row in it,
    // and an error there ends the calling command.
    void setViewMode(int mode);
    // The two "Voir" commands: switch the view mode, then show the current
    // row, or visit every row from the last up when two or more are selected.
    void walkRows(int mode, const std::function<void(int row)>& showCurrent,
                  const std::function<void(int row)>& visit);
    bool rowChecked(int row) const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // What a batch run reads and writes of this window.
    QString destinationText() const override;
    TargetSizeText targetSizeText() const override;
    void setTargetSizeText(const TargetSizeText& text) override;
    Colour wipeColour() const override { return WipeColor; }
    void setRunningCountText(const QString& text) override;
    void prepareResultView(int width, int height) override;
    void showResult(const Bitmap& copy) override;
    void showingRow(int row) override;
    std::optional<Error> sourceError(int row, const QString& path, const Error& error) override;
    // Names the file in the caption and makes its row the list's current row,
    // leaving the selection and the check marks as they are.
    void pointAtRow(int row, const QString& path);
    bool& stopFlag() override { return StopRequested; }
    quint64 rowsRevision() const override { return SourceList_->revision(); }
    std::optional<QPoint> rowPlacement(int row) const override;
    void resultPlaced(int row, QSize picture, const FrameGeometry& frame) override;

    // The pixel of Image1's picture displayed at a point of the control.
    QPoint image1PixelAt(int x, int y) const;
    void paintSwatch();
    // Sets WipeColor and fills the swatch with it.
    void setWipeColor(Colour colour);

    std::unique_ptr<Ui::TFormKadrix> ui;
    QButtonGroup* viewModeGroup_ = nullptr; // owned by this window (QObject parent)
    QMenu* PopupMenu1 = nullptr;            // owned by this window (QObject parent)
    ToolGroup* toolGroup_ = nullptr;        // owned by this window (QObject parent)
    TFormOpJpeg* FormOpJpeg = nullptr;
    TFormAbout* FormAbout = nullptr;
    TOpenDialog OpenDialog1;   // picks a source file or a destination folder
    TColorDialog ColorDialog1; // chooses WipeColor

    // Fields of the window, in declaration order.
    std::unique_ptr<Bitmap> SampleBitmap;
    Colour WipeColor = 0;
    Colour HoverColor = 0;
    bool StopRequested = false;
    int SmallestRow = -1;
    int LargestRow = -1;
    std::unique_ptr<SourceList> SourceList_;
    // A member rather than a Qt child: it goes while the controls it hooks
    // still exist.
    std::unique_ptr<TFileDrag> FileDrag1;

    Bitmap Swatch; // the picture of PanelWipeColor

    // The row Image1 shows, valid while the list keeps its rows; for a
    // result, the size of its upright picture and where the result lies on it.
    struct RowInView {
        int row = -1;
        quint64 rows = 0; // the list's revision when shown
        QSize picture;    // empty unless a result is shown
        FrameGeometry frame;
    };
    RowInView inView_;
    // A drag of the result in view: where it was pressed, and the window's
    // top-left corner then.
    struct PlacementDrag {
        QPoint pressedAt;
        QPoint startTopLeft;
    };
    std::optional<PlacementDrag> drag_;
    bool reframing_ = false;
    // Whether each of the last two presses began a drag: a double-click
    // resets the placement only when both its presses did.
    bool lastPressDragged_ = false;
    bool pressBeforeDragged_ = false;
};

} // namespace kadrix
