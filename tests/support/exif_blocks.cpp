#include "exif_blocks.h"

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

#include <cstdlib>
#include <cstring>

namespace kadrix::test {
namespace {

// An empty EXIF block that libexif writes and reads as it stands, without
// adding, dropping or fixing entries.
ExifData* verbatimExifData() {
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    return data;
}

void addEntry(ExifData* data, ExifIfd ifd, ExifTag tag, ExifFormat format, const QByteArray& bytes,
              unsigned long components) {
    ExifEntry* entry = exif_entry_new();
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    entry->size = unsigned(bytes.size());
    entry->data = static_cast<unsigned char*>(std::malloc(std::size_t(bytes.size())));
    std::memcpy(entry->data, bytes.constData(), std::size_t(bytes.size()));
    exif_content_add_entry(data->ifd[ifd], entry);
    exif_entry_unref(entry);
}

void addShort(ExifData* data, ExifIfd ifd, ExifTag tag, int value) {
    QByteArray bytes(2, '\0');
    exif_set_short(reinterpret_cast<unsigned char*>(bytes.data()), exif_data_get_byte_order(data),
                   ExifShort(value));
    addEntry(data, ifd, tag, EXIF_FORMAT_SHORT, bytes, 1);
}

void addText(ExifData* data, ExifIfd ifd, ExifTag tag, const QByteArray& text) {
    const QByteArray bytes = text + '\0';
    addEntry(data, ifd, tag, EXIF_FORMAT_ASCII, bytes, unsigned(bytes.size()));
}

QByteArray textOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    if (entry == nullptr || entry->data == nullptr)
        return {};
    return QByteArray(reinterpret_cast<const char*>(entry->data), int(entry->size)).chopped(1);
}

long numberOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    if (entry == nullptr || entry->data == nullptr)
        return -1;
    const ExifByteOrder order = exif_data_get_byte_order(data);
    return entry->format == EXIF_FORMAT_SHORT ? long(exif_get_short(entry->data, order))
                                              : long(exif_get_long(entry->data, order));
}

} // namespace

QByteArray makeExif(const ExifFields& fields) {
    ExifData* data = verbatimExifData();
    exif_data_set_byte_order(data,
                             fields.bigEndian ? EXIF_BYTE_ORDER_MOTOROLA : EXIF_BYTE_ORDER_INTEL);
    if (!fields.make.isEmpty())
        addText(data, EXIF_IFD_0, EXIF_TAG_MAKE, fields.make);
    if (fields.orientation != 0)
        addShort(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION, fields.orientation);
    if (!fields.dateTaken.isEmpty())
        addText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, fields.dateTaken);
    if (fields.pixelWidth != 0) {
        addShort(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, fields.pixelWidth);
        addShort(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, fields.pixelHeight);
    }
    if (fields.gps)
        addText(data, EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), "N");
    if (fields.interoperability)
        addText(data, EXIF_IFD_INTEROPERABILITY, EXIF_TAG_INTEROPERABILITY_INDEX, "R98");
    if (!fields.makerNote.isEmpty())
        addEntry(data, EXIF_IFD_EXIF, EXIF_TAG_MAKER_NOTE, EXIF_FORMAT_UNDEFINED, fields.makerNote,
                 unsigned(fields.makerNote.size()));
    if (!fields.thumbnail.isEmpty()) {
        data->size = unsigned(fields.thumbnail.size());
        data->data = static_cast<unsigned char*>(std::malloc(data->size));
        std::memcpy(data->data, fields.thumbnail.constData(), data->size);
        addShort(data, EXIF_IFD_1, EXIF_TAG_COMPRESSION, 6);
    }
    unsigned char* saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &saved, &size);
    QByteArray block(reinterpret_cast<const char*>(saved), int(size));
    std::free(saved);
    exif_data_unref(data);
    return block;
}

ExifFacts readExif(const QByteArray& block) {
    ExifFacts facts;
    if (block.isEmpty())
        return facts;
    ExifData* data = verbatimExifData();
    exif_data_load_data(data, reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    facts.readable = data->ifd[EXIF_IFD_0]->count > 0;
    facts.orientation = int(numberOf(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION));
    facts.dateTaken = textOf(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
    facts.make = textOf(data, EXIF_IFD_0, EXIF_TAG_MAKE);
    facts.gps = textOf(data, EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF)) == "N";
    facts.makerNote = exif_content_get_entry(data->ifd[EXIF_IFD_EXIF], EXIF_TAG_MAKER_NOTE);
    facts.thumbnail = data->data != nullptr || data->ifd[EXIF_IFD_1]->count > 0;
    facts.pixelWidth = numberOf(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION);
    facts.pixelHeight = numberOf(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION);
    exif_data_unref(data);
    return facts;
}

QByteArray exifBlock(int orientation, bool bigEndian) {
    ExifFields fields;
    fields.bigEndian = bigEndian;
    fields.orientation = orientation > 0 ? orientation : 0;
    fields.dateTaken = "2024:05:06 07:08:09";
    return makeExif(fields);
}

QByteArray withApp1(const QByteArray& jpeg, const QByteArray& payload) {
    const qsizetype length = payload.size() + 2;
    QByteArray marker("\xFF\xE1", 2);
    marker.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    return QByteArray(jpeg).insert(2, marker);
}

} // namespace kadrix::test
