#include "picture_types.h"

#include "heif_picture.h"
#include "jpeg_image.h"
#include "qt_picture.h"

namespace kadrix {

PictureTypes::PictureTypes() {
    static bool platformRegistered = false;
    if (!platformRegistered) {
        // First, so that its items come last in the filter; its pictures
        // turn upright as the JPEG options say.
        registerHeifPicture([] { return JpegDefaults.AutoOrient; });
        registerPlatformPictures();
        platformRegistered = true;
    }
    registerJpegPicture();
}

PictureTypes::~PictureTypes() {
    unregisterJpegPicture();
}

} // namespace kadrix
