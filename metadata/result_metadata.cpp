#include "result_metadata.h"

#include "exif_edit.h"
#include "icc_profile.h"

namespace kadrix {

PictureMetadata jpegResultMetadata(const PictureMetadata& source, int width, int height,
                                   bool greyResult) {
    PictureMetadata result;
    if (iccProfileFits(source.iccProfile, greyResult, MaxJpegIccBytes))
        result.iccProfile = source.iccProfile;
    if (!source.exif.isEmpty())
        result.exif = exifForResult(source.exif, {width, height, source.turned}).value_or(QByteArray());
    return result;
}

} // namespace kadrix
