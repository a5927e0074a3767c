#pragma once

#include <cstdint>

namespace kadrix {

enum class JpegPerformance : std::uint8_t { BestQuality = 0, BestSpeed = 1 };
enum class JpegPixelFormat : std::uint8_t { Bits24 = 0, Bits8 = 1 };
enum class JpegScale : std::uint8_t { FullSize = 0, Half = 1, Quarter = 2, Eighth = 3 };

// The decode and encode options of JPEG pictures. Every picture copies the
// process-wide record when it is created and keeps its copy.
struct TJPEGDefaults {
    std::uint8_t CompressionQuality = 90; // encoder quality, 1 to 100
    bool GrayScale = false;               // decode to grey levels; encode as greyscale
    JpegPerformance Performance = JpegPerformance::BestQuality;
    JpegPixelFormat PixelFormat = JpegPixelFormat::Bits24;
    bool ProgressiveDisplay = false;  // decode progressive files pass by pass
    bool ProgressiveEncoding = false; // encode as a progressive file
    JpegScale Scale = JpegScale::FullSize;
    bool Smoothing = true;       // block smoothing while decoding
    bool HorzSubSampling = true; // keep the encoder's horizontal chroma sub-sampling
    bool VertSubSampling = true; // keep the encoder's vertical chroma sub-sampling
    bool AutoOrient = true;      // decode upright, as the EXIF Orientation tag says
    // A JPEG result of a JPEG source carries the source's colour profile and
    // its EXIF block (edited to fit the result).
    bool KeepMetadata = true;
    // Grey output in 24 bits gets its 256 exact levels instead of the 236 of
    // the palette. The window keeps the palette; kadrix-batch sets this.
    bool ExactGrey = false;

    friend bool operator==(const TJPEGDefaults&, const TJPEGDefaults&) = default;
};

// The options the JPEG options dialog starts with and restores with
// "Default": quality 95, colour, best quality, 24 bits, no progressive
// display or encoding, full size, smoothing on, every component at full
// resolution, and metadata kept. kadrix-batch frames with them unless told otherwise.
inline constexpr TJPEGDefaults DialogJpegDefaults{
    .CompressionQuality = 95,
    .GrayScale = false,
    .Performance = JpegPerformance::BestQuality,
    .PixelFormat = JpegPixelFormat::Bits24,
    .ProgressiveDisplay = false,
    .ProgressiveEncoding = false,
    .Scale = JpegScale::FullSize,
    .Smoothing = true,
    .HorzSubSampling = false,
    .VertSubSampling = false,
    .AutoOrient = true,
    .KeepMetadata = true,
    .ExactGrey = false,
};

// Written by the JPEG options dialog, read by every new picture.
extern TJPEGDefaults JpegDefaults;

// The content before the options dialog first writes the record: 8-bit
// decoding only on a screen of 8 bits per pixel or fewer (asked of the
// primary screen when an application exists, a 24-bit screen otherwise).
TJPEGDefaults startupJpegDefaults();

} // namespace kadrix
