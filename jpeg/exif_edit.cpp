#include "exif_edit.h"

#include "jpeg_markers.h"

#include <libexif/exif-data.h>
#include <libexif/exif-log.h>
#include <libexif/exif-utils.h>

#include <cstdarg>
#include <cstring>
#include <memory>

namespace kadrix {
namespace {

struct MemRelease {
    void operator()(ExifMem* mem) const { exif_mem_unref(mem); }
};
struct DataRelease {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};
struct LogRelease {
    void operator()(ExifLog* log) const { exif_log_unref(log); }
};

// The reader's notes that mean damage. libexif reads past most damage,
// skipping what it cannot place, and reports much of it only as debugging
// notes, so these are recognised by the start of their wording.
constexpr const char* DamageNotes[] = {
    "Tag data past end",   "Tag starts past end",     "Tag data goes past end",
    "Short data",          "Recursive entry",         "Deep/expensive recursion",
    "Attempt to load IFD", "Size of data too small",  "EXIF marker not found",
    "APP Tag too short",   "EXIF header not found",   "Unknown encoding",
    "Bogus offset",        "Bogus thumbnail",
};

// Damage found while the block itself is read (the maker notes, which
// libexif only interprets, have domains of their own and stay out of it),
// or memory running out anywhere.
void noteDamage(ExifLog*, ExifLogCode code, const char* domain, const char* format, va_list,
                void* data) {
    bool damage = code == EXIF_LOG_CODE_NO_MEMORY;
    if (domain != nullptr && std::strcmp(domain, "ExifData") == 0) {
        damage = damage || code == EXIF_LOG_CODE_CORRUPT_DATA;
        for (const char* note : DamageNotes)
            damage = damage || (format != nullptr && std::strncmp(format, note, std::strlen(note)) == 0);
    }
    if (damage)
        *static_cast<bool*>(data) = true;
}

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

} // namespace

std::optional<QByteArray> exifForResult(const QByteArray& block, const ExifResultEdit& edit) {
    if (block.isEmpty() || block.size() > jpegcodec::MaxExifBytes || edit.width < 0 ||
        edit.height < 0)
        return std::nullopt;
    const std::unique_ptr<ExifMem, MemRelease> mem(exif_mem_new_default());
    if (!mem)
        return std::nullopt;
    const std::unique_ptr<ExifData, DataRelease> data(exif_data_new_mem(mem.get()));
    const std::unique_ptr<ExifLog, LogRelease> log(exif_log_new_mem(mem.get()));
    if (!data || !log)
        return std::nullopt;
    bool damaged = false;
    exif_log_set_func(log.get(), noteDamage, &damaged);
    exif_data_log(data.get(), log.get());
    // Read and write the block as it is: no tag added, fixed or dropped, the
    // maker note copied byte for byte.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    if (damaged || data->ifd[EXIF_IFD_0]->count == 0)
        return std::nullopt;

    const ExifByteOrder order = exif_data_get_byte_order(data.get());
    removeThumbnail(mem.get(), data.get());
    if (edit.turned &&
        !setNumber(mem.get(), data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION, EXIF_FORMAT_SHORT,
                   order, 1))
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
    if (saved == nullptr || size == 0 || damaged || size > unsigned(jpegcodec::MaxExifBytes))
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(saved), qsizetype(size));
}

} // namespace kadrix
