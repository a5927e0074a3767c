#pragma once

#include "exif_edit.h"
#include "picture.h"

#include <QByteArray>

namespace kadrix::jpegcodec {

// The stream's ICC profile, reassembled from its APP2 markers (left out
// when they are damaged), and its first EXIF block (APP1 starting
// "Exif\0\0"). Never throws: a stream whose header cannot be read gives
// nothing.
PictureMetadata readMetadata(const QByteArray& data);

} // namespace kadrix::jpegcodec
