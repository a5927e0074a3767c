#include "jpeg_markers.h"

#include "jpeg_codec.h"
#include "saved_markers.h"

#include <cstdlib>
#include <memory>
#include <new>

namespace kadrix::jpegcodec {
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
            keepExifMarkers(c);
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
        metadata.exif = exifBlockOf(c);
    } catch (const Error&) {
        return {};
    } catch (const std::bad_alloc&) {
        return {};
    }
    return metadata;
}

} // namespace kadrix::jpegcodec
