#pragma once

#include "bitmap.h"
#include "colour.h"
#include "errors.h"
#include "frame_geometry.h"
#include "source_loader.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

namespace kadrix {

// The texts of the TargetSize fields (EditW, EditH).
struct TargetSizeText {
    QString width;
    QString height;
};

// What a batch run needs of the main window. The window implements it;
// tests and benchmarks may too.
class BatchWindow {
public:
    virtual ~BatchWindow() = default;

    // Read once, at the start of a run.
    virtual QString destinationText() const = 0;       // EditDstDir, tested and created
    virtual TargetSizeText targetSizeText() const = 0; // EditW, EditH
    // The fields with their defaults written back where they did not parse.
    virtual void setTargetSizeText(const TargetSizeText& text) = 0;

    // Read again for every row, so that changes between rows apply.
    virtual QString SourcePath(int row) = 0;
    virtual QString BuildResultPath(int Row, bool WriteBack) = 0;
    virtual Colour wipeColour() const = 0;
    // Changes whenever the rows change (a drop, a scan, a removal run while
    // the batch let messages through); a window whose rows cannot change
    // during a run keeps the default.
    virtual quint64 rowsRevision() const { return 0; }
    // Where the row's result's top-left corner lies in its upright picture
    // when the user placed it by hand; none when the anchor places it.
    virtual std::optional<QPoint> rowPlacement(int /*row*/) const { return std::nullopt; }

    // What the run shows.
    virtual void setRunningCountText(const QString& text) = 0; // LabelTraitee
    // Image1: stretching off, size W x H.
    // At the start of a run for a fixed size; before each row shown for a ratio.
    virtual void prepareResultView(int width, int height) = 0;
    // Image1's picture: a copy of the canvas, unaffected by later drawing.
    virtual void showResult(const Bitmap& copy) = 0;
    // The row whose result was just shown, before any prompt about it: the
    // window says which file it is.
    virtual void showingRow(int /*row*/) {}
    // A source that cannot be loaded ends the run with the loader's error.
    // The window may first say which file it is, and give an error naming it
    // to end the run with instead.
    virtual std::optional<Error> sourceError(int /*row*/, const QString& /*path*/,
                                             const Error& /*error*/) {
        return std::nullopt;
    }
    // Told after each result shown: its row, the size of the row's upright
    // picture, and where on that picture the result lies.
    virtual void resultPlaced(int /*row*/, QSize /*picture*/, const FrameGeometry& /*frame*/) {}

    // StopRequested: cleared after the start-up steps, polled before each
    // row, set by a Cancel answer (and by Stop while the run processes
    // messages).
    virtual bool& stopFlag() = 0;
};

// The running-count text shown in LabelTraitee.
QString runningCountText(int count);

// Composes, shows, asks about and saves rows FirstRow..LastRow (inclusive).
// Ends early with SilentAbort (Stop, Cancel, an empty or uncreatable
// destination, rows changed by a command run in between: nothing composed
// from an old row is saved under a new row's name) or with the loader's
// error for a source that cannot be read.
// A JPEG source larger than the canvas is decoded only where it lands on the
// canvas unless `decode` asks for the whole picture.
void ProcessRows(BatchWindow& window, int FirstRow, int LastRow, bool StepByStep, bool SaveResults,
                 const DecodeOptions& decode = {});

} // namespace kadrix
