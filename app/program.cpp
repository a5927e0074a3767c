#include "program.h"

#include "form1.h"
#include "form_about.h"
#include "form_kadrix.h"
#include "form_op_jpeg.h"
#include "jpeg_image.h"
#include "picture_registry.h"
#include "qt_picture.h"

#include <QCoreApplication>

namespace kadrix {

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

void setUpApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Kadrix"));
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
