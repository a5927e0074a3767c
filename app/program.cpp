#include "program.h"

#include "about_picture.h"

#include "form1.h"
#include "form_about.h"
#include "form_kadrix.h"
#include "form_op_jpeg.h"
#include "jpeg_image.h"
#include "picture_registry.h"
#include "qt_picture.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

namespace kadrix {

void setProgramIdentity() {
    // No display name: the platform would append it to every window title,
    // and message boxes must read exactly as given (a file path, "Pas à
    // Pas"). The application name alone is the default error box's caption.
    QApplication::setApplicationName(QStringLiteral("Kadrix"));
    QApplication::setDesktopFileName(QString::fromLatin1(DesktopId));
    QIcon icon;
    for (const int side : {16, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(aboutPicture(side)));
    QApplication::setWindowIcon(icon);
}

Forms::Forms()
    : FormKadrix(std::make_unique<TFormKadrix>()), FormOpJpeg(std::make_unique<TFormOpJpeg>()),
      Form1(std::make_unique<TForm1>()), FormAbout(std::make_unique<TFormAbout>()) {
    FormKadrix->setDialogs(FormOpJpeg.get(), FormAbout.get());
}

Forms::~Forms() {
    FormAbout.reset();
    Form1.reset();
    FormOpJpeg.reset();
    FormKadrix.reset();
}

PictureTypes::PictureTypes() {
    static bool platformRegistered = false;
    if (!platformRegistered) {
        registerPlatformPictures();
        platformRegistered = true;
    }
    registerJpegPicture();
}

PictureTypes::~PictureTypes() {
    unregisterJpegPicture();
}

} // namespace kadrix
