#include "exif_block.h"

#include <libexif/exif-log.h>
#include <libexif/exif-utils.h>

namespace kadrix {
namespace {

struct ExifLogRelease {
    void operator()(ExifLog* log) const { exif_log_unref(log); }
};

// Notes whether libexif ran out of memory. Its other notes describe what it
// read past, which is judged by what is read afterwards, not by its wording.
void noteNoMemory(ExifLog*, ExifLogCode code, const char*, const char*, va_list, void* failed) {
    if (code == EXIF_LOG_CODE_NO_MEMORY)
        *static_cast<bool*>(failed) = true;
}

} // namespace

ExifDataPtr loadExifBlock(const QByteArray& block) {
    if (block.isEmpty())
        return nullptr;
    ExifDataPtr data(exif_data_new());
    const std::unique_ptr<ExifLog, ExifLogRelease> log(exif_log_new());
    if (!data || !log)
        return nullptr;
    bool outOfMemory = false;
    exif_log_set_func(log.get(), noteNoMemory, &outOfMemory);
    exif_data_log(data.get(), log.get());
    // As it is stored: no tag added, fixed or dropped, and the maker note
    // never laid out again by libexif.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    // The data, its directories and its maker note each keep a reference to
    // the log: it must report nowhere once this frame has returned.
    exif_log_set_func(log.get(), nullptr, nullptr);
    if (outOfMemory || data->ifd[EXIF_IFD_0]->count == 0)
        return nullptr;
    return data;
}

int orientationEntry(ExifData* data) {
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry == nullptr)
        return 0;
    if (entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || entry->data == nullptr ||
        entry->size < 2)
        return -1;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(data));
    return value >= 1 && value <= 8 ? value : -1;
}

} // namespace kadrix
