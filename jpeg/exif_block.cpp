#include "exif_block.h"

#include <libexif/exif-log.h>

#include <cstring>

namespace kadrix {
namespace {

struct ExifLogRelease {
    void operator()(ExifLog* log) const { exif_log_unref(log); }
};

// The loader's notes that mean damage. libexif reads past most damage,
// skipping what it cannot place, and reports much of it (offsets past the
// end, counts the block cannot hold, directories that loop) only as
// debugging notes, so these are recognised by the start of their wording.
constexpr const char* DamageNotes[] = {
    "Tag data past end",   "Tag starts past end",    "Tag data goes past end",
    "Short data",          "Recursive entry",        "Deep/expensive recursion",
    "Attempt to load IFD", "Size of data too small", "EXIF marker not found",
    "APP Tag too short",   "EXIF header not found",  "Unknown encoding",
    "Bogus offset",        "Bogus thumbnail",
};

// Notes whether libexif reported damage outside the maker note, which
// libexif only interprets, or ran out of memory.
void noteCorruption(ExifLog*, ExifLogCode code, const char* domain, const char* format, va_list,
                    void* corrupt) {
    bool damage = code == EXIF_LOG_CODE_NO_MEMORY;
    if (domain == nullptr || std::strncmp(domain, "ExifMnote", 9) != 0) {
        damage = damage || code == EXIF_LOG_CODE_CORRUPT_DATA;
        for (const char* note : DamageNotes)
            damage = damage ||
                     (format != nullptr && std::strncmp(format, note, std::strlen(note)) == 0);
    }
    if (damage)
        *static_cast<bool*>(corrupt) = true;
}

} // namespace

ExifDataPtr loadExifBlock(const QByteArray& block) {
    if (block.isEmpty())
        return nullptr;
    ExifDataPtr data(exif_data_new());
    const std::unique_ptr<ExifLog, ExifLogRelease> log(exif_log_new());
    if (!data || !log)
        return nullptr;
    bool corrupt = false;
    exif_log_set_func(log.get(), noteCorruption, &corrupt);
    exif_data_log(data.get(), log.get());
    // As it is stored: no tag added, fixed or dropped, and the maker note
    // saved byte for byte when the block is written again.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    // The data keeps a reference to the log; it must not report into this
    // frame once it has returned.
    exif_data_log(data.get(), nullptr);
    if (corrupt || data->ifd[EXIF_IFD_0]->count == 0)
        return nullptr;
    return data;
}

} // namespace kadrix
