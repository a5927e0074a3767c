#include "exif_orientation.h"

#include "exif_block.h"

namespace kadrix {

Orientation exifOrientation(const QByteArray& exifBlock) {
    const ExifDataPtr data = loadExifBlock(exifBlock);
    const int value = data ? orientationEntry(data.get()) : 0;
    return value > 0 ? orientationFromTag(value) : Orientation::Normal;
}

} // namespace kadrix
