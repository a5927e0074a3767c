#include "picture_types.h"

#include "jpeg_image.h"
#include "qt_picture.h"

namespace kadrix {

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
