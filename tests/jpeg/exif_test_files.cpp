#include "exif_test_files.h"

#include <gtest/gtest.h>

#include <libexif/exif-data.h>

#include <cstdlib>
#include <utility>

namespace kadrix::test {

QByteArray exifBlock(int orientation, bool bigEndian) {
    ExifData* data = exif_data_new();
    const ExifByteOrder order = bigEndian ? EXIF_BYTE_ORDER_MOTOROLA : EXIF_BYTE_ORDER_INTEL;
    exif_data_set_byte_order(data, order);
    for (const auto& [ifd, tag] : {std::pair{EXIF_IFD_0, EXIF_TAG_ORIENTATION},
                                   std::pair{EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL}}) {
        if (tag == EXIF_TAG_ORIENTATION && orientation < 0)
            continue;
        ExifEntry* entry = exif_entry_new();
        exif_content_add_entry(data->ifd[ifd], entry);
        exif_entry_initialize(entry, tag);
        if (tag == EXIF_TAG_ORIENTATION)
            exif_set_short(entry->data, order, ExifShort(orientation));
        exif_entry_unref(entry);
    }
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    exif_data_unref(data);
    QByteArray block(reinterpret_cast<const char*>(bytes), qsizetype(size));
    std::free(bytes);
    EXPECT_TRUE(block.startsWith(QByteArray("Exif\0\0", 6)));
    return block;
}

QByteArray withApp1(const QByteArray& jpeg, const QByteArray& payload) {
    const qsizetype length = payload.size() + 2;
    QByteArray marker("\xFF\xE1", 2);
    marker.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    return QByteArray(jpeg).insert(2, marker);
}

} // namespace kadrix::test
