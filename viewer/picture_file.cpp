#include "picture_file.h"

#include "picture_registry.h"

namespace kadrix {

Bitmap loadPictureAs24(const QString& path, Colour background) {
    PictureLoader loader;
    loader.loadFromFile(path);
    Bitmap bitmap;
    loader.assignTo(bitmap);
    bitmap.convertTo24(background);
    return bitmap;
}

} // namespace kadrix
