#pragma once

#include "framing_options.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QListWidget;

namespace kadrix {

// The framing options dialog, shown modally from "Framing Options": how
// EditW and EditH are read (RadioSizeFixed, RadioSizeRatioCrop,
// RadioSizeRatioPad: pixels, or a ratio's terms), the
// anchor as a 3 x 3 group of radio buttons (RadioAnchor...) with
// RadioAnchorSubject beside it, the fill as a
// list (ListFill: Colour, Edge, Mirror, Blur) and the dates check box
// (CheckBoxKeepDates). It opens on FramingDefaults; "Default" puts the
// controls back to the designed framing (centre, the wipe colour, results
// dated now), OK stores the controls in FramingDefaults, Cancel leaves it.
class TFormFraming : public QDialog {
    Q_OBJECT
public:
    explicit TFormFraming(QWidget* parent = nullptr);

    void SpeedButtonDefaultClick();
    void BitBtnOkClick();

    // What the controls say.
    FramingOptions options() const;
    void showOptions(const FramingOptions& options);

private:
    QButtonGroup* sizes_;
    QButtonGroup* anchors_;
    QListWidget* fills_;
    QCheckBox* keepDates_;
};

} // namespace kadrix
