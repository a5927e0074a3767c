#pragma once

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

// Names the application: "Kadrix" is the caption of the default error box.
// No display name is set, since the platform would append it to every window
// title, and message boxes must read exactly as given (a file path, "Pas à
// Pas"). Called once the application object exists.
void setUpApplication();

// Registers every picture type (the platform's, then JPEG) before any window
// exists; unregisters the JPEG type when destroyed.
class PictureTypes {
public:
    PictureTypes();
    ~PictureTypes();
    PictureTypes(const PictureTypes&) = delete;
    PictureTypes& operator=(const PictureTypes&) = delete;
};

} // namespace kadrix
