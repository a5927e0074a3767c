#include "jpeg_markers.h"

#include "jpeg_codec.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace kadrix::jpegcodec {
namespace {

constexpr char ExifSignature[6] = {'E', 'x', 'i', 'f', '\0', '\0'};

QByteArray exifBlockOf(const jpeg_decompress_struct& c) {
    for (jpeg_saved_marker_ptr m = c.marker_list; m != nullptr; m = m->next) {
        // A marker cut short by the end of the file is not taken.
        if (m->marker != JPEG_APP0 + 1 || m->data_length != m->original_length ||
            m->data_length < sizeof ExifSignature ||
            std::memcmp(m->data, ExifSignature, sizeof ExifSignature) != 0)
            continue;
        return QByteArray(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
    }
    return {};
}

} // namespace

PictureMetadata readMetadata(const QByteArray& data) {
    PictureMetadata metadata;
    if (data.isEmpty())
        return metadata;
    try {
        Decompressor decompressor(data);
        jpeg_decompress_struct* c = decompressor.info();
        JOCTET* icc = nullptr;
        unsigned int iccLength = 0;
        decompressor.run([&] {
            jpeg_save_markers(c, JPEG_APP0 + 1, 0xFFFF);
            jpeg_save_markers(c, JPEG_APP0 + 2, 0xFFFF);
            jpeg_read_header(c, TRUE);
            // False, with nothing allocated, for missing or inconsistent markers.
            if (!jpeg_read_icc_profile(c, &icc, &iccLength))
                icc = nullptr;
        });
        const std::unique_ptr<JOCTET, decltype(&std::free)> owned(icc, &std::free);
        if (icc != nullptr)
            metadata.iccProfile =
                QByteArray(reinterpret_cast<const char*>(icc), qsizetype(iccLength));
        metadata.exif = exifBlockOf(*c);
    } catch (const Error&) {
        return {};
    } catch (const std::bad_alloc&) {
        return {};
    }
    return metadata;
}

} // namespace kadrix::jpegcodec
