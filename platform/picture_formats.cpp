#include "picture_formats.h"

#include <algorithm>

namespace kadrix {
namespace {

// HEIF files open with an ISO-BMFF `ftyp` box: its type at offset 4, the
// major brand at offset 8.
QList<QByteArray> ftypSignatures(std::initializer_list<const char*> brands) {
    QList<QByteArray> signatures;
    for (const char* brand : brands)
        signatures << QByteArray("????ftyp") + brand;
    return signatures;
}

std::vector<PictureFormat> table() {
    using R = FormatReader;
    using W = ResultFormat;
    const auto bytes = [](const char* text, qsizetype size) { return QByteArray(text, size); };
    return {
        {"png", "Images PNG", {"png"}, R::Qt, "png", W::Png, "png", {"\x89PNG\r\n\x1A\n"}},
        {"ico", "Icônes", {"ico"}, R::Qt, "ico", {}, {}, {bytes("\0\0\1\0", 4)}},
        {"bmp", "Bitmaps", {"bmp"}, R::Qt, "bmp", W::Bmp, "bmp", {"BM"}},
        {"tiff",
         "Images TIFF",
         {"tif", "tiff"},
         R::QtPlugin,
         "tiff",
         W::Tiff,
         "tiff",
         {bytes("II*\0", 4), bytes("MM\0*", 4)}},
        {"webp", "Images WebP", {"webp"}, R::QtPlugin, "webp", W::WebP, "webp", {"RIFF????WEBP"}},
        {"jpeg", "Images JPEG", {"jpeg", "jpg"}, R::OwnType, {}, W::Jpeg, "jpeg", {"\xFF\xD8\xFF"}},
        // Read by the HEIF picture type once its library registers them, each
        // as one item; the reader also looks for these brands among a file's
        // compatible ones.
        {"heif",
         "Images HEIF",
         {"heic", "heif", "hif"},
         R::OwnType,
         {},
         {},
         {},
         ftypSignatures({"heic", "heix", "hevc", "heim", "heis", "hevm", "hevs", "mif1", "msf1"})},
        {"avif", "Images AVIF", {"avif"}, R::OwnType, {}, {}, {}, ftypSignatures({"avif", "avis"})},
    };
}

bool matchesFrom(QByteArrayView pattern, QByteArrayView head, bool partial) {
    if (head.size() < pattern.size() && !partial)
        return false;
    const qsizetype n = std::min(head.size(), pattern.size());
    for (qsizetype i = 0; i < n; ++i)
        if (pattern[i] != '?' && pattern[i] != head[i])
            return false;
    return true;
}

} // namespace

const std::vector<PictureFormat>& pictureFormats() {
    static const std::vector<PictureFormat> formats = table();
    return formats;
}

const PictureFormat* pictureFormatNamed(QStringView nameOrExtension) {
    const QString key = nameOrExtension.toString().toLower();
    for (const PictureFormat& format : pictureFormats())
        if (format.name == key || format.extensions.contains(key))
            return &format;
    return nullptr;
}

std::vector<const PictureFormat*> resultFormats() {
    std::vector<const PictureFormat*> formats;
    for (const PictureFormat& format : pictureFormats())
        if (format.result)
            formats.push_back(&format);
    std::sort(formats.begin(), formats.end(),
              [](const auto* a, const auto* b) { return *a->result < *b->result; });
    return formats;
}

const PictureFormat& resultFormat(ResultFormat format) {
    return *resultFormats()[std::size_t(format)];
}

QString resultItem(const PictureFormat& format) {
    QStringList masks;
    for (const QString& extension : format.extensions)
        if (extension != format.resultExtension)
            masks << QStringLiteral("*.") + extension.toUpper();
    masks << QStringLiteral("*.") + format.resultExtension.toUpper();
    return masks.join(u';');
}

bool hasSignature(const PictureFormat& format, QByteArrayView head, bool partial) {
    return std::any_of(
        format.signatures.begin(), format.signatures.end(),
        [&](const QByteArray& pattern) { return matchesFrom(pattern, head, partial); });
}

const PictureFormat* formatOfSignature(QByteArrayView head) {
    for (const PictureFormat& format : pictureFormats())
        if (hasSignature(format, head))
            return &format;
    return nullptr;
}

qsizetype signatureLength() {
    qsizetype longest = 0;
    for (const PictureFormat& format : pictureFormats())
        for (const QByteArray& pattern : format.signatures)
            longest = std::max(longest, pattern.size());
    return longest;
}

} // namespace kadrix
