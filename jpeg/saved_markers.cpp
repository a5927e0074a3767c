#include "saved_markers.h"

#include <cstring>

namespace kadrix::jpegcodec {
namespace {

constexpr int App1 = JPEG_APP0 + 1;
constexpr char ExifIdentifier[] = {'E', 'x', 'i', 'f', 0, 0};

} // namespace

void keepExifMarkers(j_decompress_ptr c) {
    jpeg_save_markers(c, App1, 0xFFFF);
}

QByteArray exifBlockOf(j_decompress_ptr c) {
    for (jpeg_saved_marker_ptr marker = c->marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker != App1 || marker->data_length < sizeof ExifIdentifier ||
            std::memcmp(marker->data, ExifIdentifier, sizeof ExifIdentifier) != 0)
            continue;
        return QByteArray(reinterpret_cast<const char*>(marker->data),
                          qsizetype(marker->data_length));
    }
    return {};
}

} // namespace kadrix::jpegcodec
