#pragma once

#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>

#include <array>

namespace kadrix::heif {

// What names and marks a HEIF file (HEIC, AVIF and the rest of the family):
// kept together so that a table of picture formats can take them over.

// The file-type items of the HEIF type, each a description and the
// extensions it covers, in the order they are listed after the other types.
struct HeifFileType {
    QLatin1StringView description;
    std::array<QLatin1StringView, 3> extensions; // empty views are unused
};
inline constexpr std::array<HeifFileType, 2> HeifFileTypes{{
    {QLatin1StringView("Images HEIF"),
     {QLatin1StringView("heic"), QLatin1StringView("heif"), QLatin1StringView("hif")}},
    {QLatin1StringView("Images AVIF"), {QLatin1StringView("avif"), {}, {}}},
}};

// The ISO-BMFF `ftyp` box opens the file: its type at offset 4, its major
// brand at offset 8, compatible brands from offset 16.
inline constexpr qsizetype FtypTypeOffset = 4;
inline constexpr QByteArrayView FtypType("ftyp");
inline constexpr std::array<QByteArrayView, 11> HeifBrands{
    QByteArrayView("heic"), QByteArrayView("heix"), QByteArrayView("hevc"), QByteArrayView("heim"),
    QByteArrayView("heis"), QByteArrayView("hevm"), QByteArrayView("hevs"), QByteArrayView("mif1"),
    QByteArrayView("msf1"), QByteArrayView("avif"), QByteArrayView("avis")};

// Whether `head` (the first bytes of a file) starts with an `ftyp` box whose
// major or a compatible brand is one of HeifBrands.
bool hasHeifSignature(QByteArrayView head);

} // namespace kadrix::heif
