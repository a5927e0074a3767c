#include "icc_profile.h"

#include <cstdint>
#include <cstring>

namespace kadrix {
namespace {

constexpr qsizetype HeaderBytes = 128;

std::uint32_t bigEndian32(const QByteArray& bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

bool tagAt(const QByteArray& bytes, qsizetype at, const char (&tag)[5]) {
    return std::memcmp(bytes.constData() + at, tag, 4) == 0;
}

} // namespace

IccColourModel iccColourModel(const QByteArray& profile) {
    // The header, then the tag count that every profile has.
    if (profile.size() < HeaderBytes + 4 || bigEndian32(profile, 0) != quint64(profile.size()) ||
        !tagAt(profile, 36, "acsp"))
        return IccColourModel::Unreadable;
    if (tagAt(profile, 16, "RGB "))
        return IccColourModel::Rgb;
    if (tagAt(profile, 16, "GRAY"))
        return IccColourModel::Grey;
    return IccColourModel::Other;
}

bool iccProfileFits(const QByteArray& profile, bool greyResult, qsizetype capacity) {
    if (profile.size() > capacity)
        return false;
    return iccColourModel(profile) == (greyResult ? IccColourModel::Grey : IccColourModel::Rgb);
}

} // namespace kadrix
