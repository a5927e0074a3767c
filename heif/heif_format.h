#pragma once

#include <QByteArrayView>

namespace kadrix::heif {

// The picture formats of the HEIF family in the format table, each
// registered as one item of the picture-type box: HEIF (heic, heif, hif),
// then AVIF.
inline constexpr const char* HeifFormatNames[] = {"heif", "avif"};

// Whether `head` (the first bytes of a file) starts with an ISO-BMFF `ftyp`
// box whose major brand or one of whose compatible brands is one of the
// brands the format table gives the HEIF family. Phones write a generic
// major brand (mif1) with the codec's brand among the compatible ones.
bool hasHeifSignature(QByteArrayView head);

} // namespace kadrix::heif
