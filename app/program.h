#pragma once

#include "picture_types.h"

#include <memory>

namespace kadrix {

class TFormKadrix;
class TFormOpJpeg;
class TForm1;
class TFormAbout;

// The program's forms, created in their start-up order: the main window,
// the JPEG options dialog, Form1 and the About dialog, all but the first
// hidden. Destroyed in the reverse order.
struct Forms {
    Forms();
    ~Forms();
    std::unique_ptr<TFormKadrix> FormKadrix;
    std::unique_ptr<TFormOpJpeg> FormOpJpeg;
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TFormAbout> FormAbout;
};

} // namespace kadrix
