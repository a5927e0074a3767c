#pragma once

#include "colour.h"

#include <QString>

namespace kadrix {

// The open-picture dialog as a form holds it: its filter, filter index and
// file name stay set between uses. Shown through the dialog service.
class TOpenDialog {
public:
    QString Filter;      // "desc|mask|desc|mask"
    int FilterIndex = 1; // counted from 1; the user's choice after Execute()
    QString FileName;    // the chosen file after Execute()

    // Shows the dialog; false when it was cancelled (nothing changes then).
    bool Execute();
};

// The colour dialog as a form holds it: it starts from Color, and Color is
// the chosen colour after Execute().
class TColorDialog {
public:
    Colour Color = 0;

    // Shows the dialog; false when it was cancelled (Color stays).
    bool Execute();
};

} // namespace kadrix
