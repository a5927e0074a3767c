#pragma once

#include "bitmap.h"
#include "colour.h"
#include "source_loader.h"

#include <QString>

namespace kadrix {

// What a batch run reads and writes of the main window. The window
// implements it; tests may too.
class BatchWindow {
public:
    virtual ~BatchWindow() = default;

    virtual void setRunningCountText(const QString& text) = 0; // LabelTraitee
    virtual QString destinationText() const = 0;               // EditDstDir
    virtual QString targetWidthText() const = 0;               // EditW
    virtual void setTargetWidthText(const QString& text) = 0;
    virtual QString targetHeightText() const = 0; // EditH
    virtual void setTargetHeightText(const QString& text) = 0;
    // Image1: stretching off, size W x H.
    virtual void prepareResultView(int width, int height) = 0;
    // Image1's picture: a copy of the canvas, unaffected by later drawing.
    virtual void showResult(const Bitmap& copy) = 0;
    virtual bool stopRequested() const = 0;
    virtual void setStopRequested(bool on) = 0;
    virtual Colour wipeColour() const = 0;
    // Changes whenever the rows change (a drop, a scan, a removal run while
    // the batch let messages through); a window whose rows cannot change
    // during a run keeps the default.
    virtual quint64 rowsRevision() const { return 0; }
    virtual QString SourcePath(int row) = 0;
    virtual QString BuildResultPath(int Row, bool WriteBack) = 0;
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
