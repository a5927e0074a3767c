#pragma once

#include <memory>

namespace kadrix {

// The id of the program's desktop entry, icon and AppStream component.
inline constexpr char DesktopId[] = "org.kadrix.Kadrix";

// Gives the application the names the desktop knows it by (the application
// name is the X11 window class the desktop entry's StartupWMClass matches;
// the desktop file name is the Wayland app id) and the window icon. It sets
// no display name, which would end every window title.
void setProgramIdentity();

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
