#include "exif_block.h"

#include <libexif/exif-log.h>

#include <cstring>

namespace kadrix {
namespace {

struct ExifLogRelease {
    void operator()(ExifLog* log) const { exif_log_unref(log); }
};

// Notes whether libexif reported corrupt data outside the maker note.
void noteCorruption(ExifLog*, ExifLogCode code, const char* domain, const char*, va_list,
                    void* corrupt) {
    if (code == EXIF_LOG_CODE_CORRUPT_DATA &&
        (domain == nullptr || std::strncmp(domain, "ExifMnote", 9) != 0))
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
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    // The data keeps a reference to the log; it must not report into this
    // frame once it has returned.
    exif_data_log(data.get(), nullptr);
    if (corrupt)
        return nullptr;
    return data;
}

} // namespace kadrix
