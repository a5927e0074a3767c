#include "exif_orientation.h"

#include "exif_block.h"

namespace kadrix {

Orientation exifOrientation(const QByteArray& exifBlock) {
    const ExifDataPtr data = loadExifBlock(exifBlock);
    if (!data)
        return Orientation::Normal;
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 ||
        entry->data == nullptr || entry->size < 2)
        return Orientation::Normal;
    return orientationFromTag(exif_get_short(entry->data, exif_data_get_byte_order(data.get())));
}

} // namespace kadrix
