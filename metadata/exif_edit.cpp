#include "exif_edit.h"

#include "exif_block.h"

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

#include <memory>

namespace kadrix {
namespace {

struct MemRelease {
    void operator()(ExifMem* mem) const { exif_mem_unref(mem); }
};

// Sets a one-value SHORT or LONG entry, in place when the entry has one of
// these formats and room for the value, otherwise as a new entry of the
// `fresh` format. False when memory runs out.
bool setNumber(ExifMem* mem, ExifContent* content, ExifTag tag, ExifFormat fresh,
               ExifByteOrder order, unsigned value) {
    if (ExifEntry* entry = exif_content_get_entry(content, tag)) {
        if (entry->components == 1 && entry->data != nullptr) {
            if (entry->format == EXIF_FORMAT_SHORT && entry->size >= 2 && value <= 0xFFFF) {
                exif_set_short(entry->data, order, ExifShort(value));
                return true;
            }
            if (entry->format == EXIF_FORMAT_LONG && entry->size >= 4) {
                exif_set_long(entry->data, order, ExifLong(value));
                return true;
            }
        }
        exif_content_remove_entry(content, entry);
    }
    ExifEntry* entry = exif_entry_new_mem(mem);
    if (entry == nullptr)
        return false;
    const bool isShort = fresh == EXIF_FORMAT_SHORT && value <= 0xFFFF;
    entry->size = isShort ? 2 : 4;
    entry->data = static_cast<unsigned char*>(exif_mem_alloc(mem, entry->size));
    if (entry->data == nullptr) {
        exif_entry_unref(entry);
        return false;
    }
    entry->tag = tag;
    entry->format = isShort ? EXIF_FORMAT_SHORT : EXIF_FORMAT_LONG;
    entry->components = 1;
    if (isShort)
        exif_set_short(entry->data, order, ExifShort(value));
    else
        exif_set_long(entry->data, order, ExifLong(value));
    exif_content_add_entry(content, entry); // the content holds its own reference
    exif_entry_unref(entry);
    return true;
}

void removeThumbnail(ExifMem* mem, ExifData* data) {
    if (data->data != nullptr)
        exif_mem_free(mem, data->data);
    data->data = nullptr;
    data->size = 0;
    // The thumbnail's own directory describes only the thumbnail.
    ExifContent* thumbnail = data->ifd[EXIF_IFD_1];
    while (thumbnail->count > 0)
        exif_content_remove_entry(thumbnail, thumbnail->entries[thumbnail->count - 1]);
}

// Maker notes are dropped: many cameras' notes (Canon, Sony, Panasonic,
// older Olympus) count their offsets from the TIFF header, so they point at
// the wrong bytes once libexif lays the block out again, and which notes
// libexif could move soundly depends on its version.
void removeMakerNotes(ExifData* data) {
    for (ExifContent* content : data->ifd)
        while (ExifEntry* note = exif_content_get_entry(content, EXIF_TAG_MAKER_NOTE))
            exif_content_remove_entry(content, note);
}

} // namespace

std::optional<QByteArray> exifForResult(const QByteArray& block, const ExifResultEdit& edit) {
    if (block.isEmpty() || block.size() > MaxExifBytes || edit.width < 0 || edit.height < 0)
        return std::nullopt;
    const ExifDataPtr data = loadExifBlock(block);
    // libexif's default allocator, the one the loaded data uses as well.
    const std::unique_ptr<ExifMem, MemRelease> mem(exif_mem_new_default());
    if (!data || !mem)
        return std::nullopt;

    const ExifByteOrder order = exif_data_get_byte_order(data.get());
    removeThumbnail(mem.get(), data.get());
    removeMakerNotes(data.get());
    // An Orientation that cannot be read left the picture as it is stored,
    // which the result then says.
    const bool upright = edit.turned || orientationEntry(data.get()) < 0;
    if (upright && !setNumber(mem.get(), data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION,
                              EXIF_FORMAT_SHORT, order, 1))
        return std::nullopt;
    ExifContent* exif = data->ifd[EXIF_IFD_EXIF];
    if (!setNumber(mem.get(), exif, EXIF_TAG_PIXEL_X_DIMENSION, EXIF_FORMAT_LONG, order,
                   unsigned(edit.width)) ||
        !setNumber(mem.get(), exif, EXIF_TAG_PIXEL_Y_DIMENSION, EXIF_FORMAT_LONG, order,
                   unsigned(edit.height)))
        return std::nullopt;

    unsigned char* saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data.get(), &saved, &size);
    const auto release = [&mem](unsigned char* p) { exif_mem_free(mem.get(), p); };
    const std::unique_ptr<unsigned char, decltype(release)> owned(saved, release);
    if (saved == nullptr || size == 0 || size > unsigned(MaxExifBytes))
        return std::nullopt;
    QByteArray result(reinterpret_cast<const char*>(saved), qsizetype(size));
    // What is written must read back as it was meant.
    const ExifDataPtr again = loadExifBlock(result);
    if (!again || orientationEntry(again.get()) != (upright ? 1 : orientationEntry(data.get())))
        return std::nullopt;
    return result;
}

} // namespace kadrix
