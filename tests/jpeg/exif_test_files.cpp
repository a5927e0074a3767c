#include "exif_test_files.h"

#include <gtest/gtest.h>

#include <libexif/exif-data.h>

#include <cstdlib>

namespace kadrix::test {
namespace {

void addEntry(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[ifd], entry);
    exif_entry_initialize(entry, tag);
    exif_entry_unref(entry);
}

} // namespace

QByteArray exifBlock(int orientation, bool bigEndian) {
    ExifData* data = exif_data_new();
    const ExifByteOrder order = bigEndian ? EXIF_BYTE_ORDER_MOTOROLA : EXIF_BYTE_ORDER_INTEL;
    exif_data_set_byte_order(data, order);
    if (orientation >= 0) {
        addEntry(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION);
        exif_set_short(exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION)->data,
                       order, ExifShort(orientation));
    }
    addEntry(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
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
