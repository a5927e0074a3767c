#include "jpeg_decoder.h"
#include "jpeg_sampled_rows.h"
#include "jpeg_stream_layout.h"
#include "jpeg_test_files.h"
#include "jpeg_window.h"

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

using jpegcodec::WindowStart;

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out.append(char(v));
    return out;
}

// Restart markers are found by their bytes alone: in turn (up to the one
// asked for, or further when asked), after fill bytes, never in stuffed data,
// and only before any other marker.
TEST(JpegStreamLayoutTest, RestartIntervalsAreFoundByTheirMarkers) {
    struct Case {
        const char* name;
        QByteArray data;
        qsizetype interval;
        std::optional<qsizetype> expected;
        qsizetype through = 0;
    };
    QByteArray nine;
    for (int i = 0; i < 9; ++i)
        nine += bytes({0x12, 0xFF, 0xD0 + i % 8});
    const Case cases[] = {
        {"second", bytes({0x11, 0xFF, 0x00, 0x22, 0xFF, 0xD0, 0x33, 0xFF, 0xD1, 0x44}), 2, 9},
        {"after fill bytes", bytes({0x11, 0xFF, 0xFF, 0xFF, 0xD0, 0x33}), 1, 5},
        {"stuffed after fill", bytes({0xFF, 0xFF, 0x00, 0xFF, 0xD0, 0x55}), 1, 5},
        {"numbers wrap after 7", nine, 9, 27},
        {"checked on after it", nine, 2, 6, 9},
        {"out of turn after it", bytes({0x11, 0xFF, 0xD0, 0x22, 0xFF, 0xD2, 0x33}), 1, std::nullopt,
         2},
        {"out of turn", bytes({0x11, 0xFF, 0xD0, 0x22, 0xFF, 0xD2, 0x33}), 2, std::nullopt},
        {"first is not RST0", bytes({0x11, 0xFF, 0xD1, 0x22}), 1, std::nullopt},
        {"too few", bytes({0x11, 0xFF, 0xD0, 0x22}), 2, std::nullopt},
        {"end of image first", bytes({0x11, 0xFF, 0xD9, 0xFF, 0xD0, 0x22}), 1, std::nullopt},
        {"ends in fill", bytes({0x11, 0xFF, 0xFF}), 1, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(jpegcodec::findRestartInterval(c.data, 0, c.interval, c.through), c.expected)
            << c.name;
}

// The walk finds the picture's own frame and scan, whatever sits before them.
TEST(JpegStreamLayoutTest, WalkFindsTheMainFrameAndScan) {
    const QByteArray picture = encodeRaw(photoLike(333, 250), {90, false, 2, 1, 21});
    const QByteArray thumbnail = encodeRaw(photoLike(40, 30), {90, false, 2, 2, 3});
    QByteArray app1 = QByteArray("Exif\0\0", 6) + thumbnail;
    app1 = bytes({0xFF, 0xE1, int(app1.size() + 2) >> 8, int(app1.size() + 2) & 0xFF}) + app1;
    const QByteArray withThumbnail = picture.left(2) + app1 + picture.mid(2);

    for (const QByteArray& data : {picture, withThumbnail}) {
        const auto layout = jpegcodec::readStreamLayout(data);
        ASSERT_TRUE(layout.has_value());
        EXPECT_EQ(layout->frameMarker, 0xC0);
        EXPECT_EQ(layout->precision, 8);
        EXPECT_EQ(layout->width, 333);
        EXPECT_EQ(layout->height, 250);
        EXPECT_EQ(data.mid(layout->heightOffset, 2), bytes({0, 250}));
        EXPECT_EQ(layout->frameComponents, 3);
        EXPECT_EQ(layout->scanComponents, 3);
        EXPECT_EQ(layout->restartInterval, 21);
        // The data begins with the first interval, closed by RST0.
        EXPECT_TRUE(jpegcodec::findRestartInterval(data, layout->entropyStart, 1));
    }
    const auto progressive = jpegcodec::readStreamLayout(encodeRaw(photoLike(64, 64), {90, true}));
    ASSERT_TRUE(progressive.has_value());
    EXPECT_EQ(progressive->frameMarker, 0xC2);
    EXPECT_EQ(progressive->restartInterval, 0);
    for (const qsizetype cut : {qsizetype(1), qsizetype(3), picture.indexOf("\xFF\xDA") + 2})
        EXPECT_FALSE(jpegcodec::readStreamLayout(picture.left(cut))) << cut;
    EXPECT_FALSE(jpegcodec::readStreamLayout(picture.mid(2)));
}

struct Sampling {
    const char* name;
    int components, lumaH, lumaV;
    bool exactGrey = false; // grey files then decode windowed, else whole
};
constexpr Sampling Samplings[] = {
    {"4:2:0", 3, 2, 2},          {"4:2:2", 3, 2, 1},          {"4:4:0", 3, 1, 2},
    {"4:4:4", 3, 1, 1},          {"grey", 1, 1, 1},           {"grey 2x2", 1, 2, 2, true},
    {"grey 2x1", 1, 2, 1, true}, {"grey 1x2", 1, 1, 2, true},
};

bool samePixels(const Bitmap& a, const Bitmap& b) {
    return a.width() == b.width() && a.height() == b.height() && a.image() == b.image();
}

// Over sizes, samplings (a grey file's one component sampled 2x2, 2x1 or 1x2
// too: its scan has one block per MCU), restart intervals (one per MCU row,
// a part of a row, one that does not divide the row), windows near the top, in the
// middle and at the bottom, every scale and both DCTs: the window holds the
// whole decode's pixels, and the rows are entered at a restart marker
// exactly where the markers start rows and the window lies low enough.
TEST(JpegSeekTest, WindowEnteredAtARestartMarkerMatchesTheWholeDecode) {
    enum Interval { PerRow, PartOfRow, NotDividing };
    for (const Sampling& s : Samplings)
        for (const QSize size : {QSize(575, 397), QSize(333, 250)})
            for (const Interval kind : {PerRow, PartOfRow, NotDividing}) {
                const int mcuWidth = s.components == 1 ? 8 : 8 * s.lumaH;
                const unsigned perRow = unsigned(size.width() + mcuWidth - 1) / unsigned(mcuWidth);
                const unsigned interval = kind == PerRow      ? perRow
                                          : kind == PartOfRow ? perRow / 3 // 36, 72, 21, 42
                                                              : perRow - 1;
                const QByteArray jpeg = encodeRaw(
                    photoLike(size.width(), size.height(), s.components, perRow),
                    {90, false, s.lumaH, s.lumaV, interval}, {}, [&](jpeg_compress_struct& c) {
                        c.comp_info[0].h_samp_factor = s.lumaH;
                        c.comp_info[0].v_samp_factor = s.lumaV;
                    });
                for (const JpegScale scale :
                     {JpegScale::FullSize, JpegScale::Half, JpegScale::Quarter, JpegScale::Eighth})
                    for (const bool fast : {false, true}) {
                        TJPEGDefaults options;
                        options.Scale = scale;
                        options.ExactGrey = s.exactGrey;
                        options.Performance =
                            fast ? JpegPerformance::BestSpeed : JpegPerformance::BestQuality;
                        const Bitmap whole = jpegcodec::decode(jpeg, options);
                        const int w = whole.width(), h = whole.height();
                        for (const int top : {3, h / 2 - h / 8, h - h / 4}) {
                            const QRect window(w / 3 + 1, top, w / 3, h / 4);
                            WindowStart start{};
                            const auto part = jpegcodec::decodeWindow(jpeg, options, window,
                                                                      DecodeMode::Seek, &start);
                            const std::string where =
                                std::string(s.name) + " " + std::to_string(size.width()) +
                                " interval " + std::to_string(interval) + " scale " +
                                std::to_string(int(scale)) + " fast " + std::to_string(fast) +
                                " top " + std::to_string(top);
                            if (s.components == 1 && !s.exactGrey) { // grey files decode whole
                                EXPECT_FALSE(part.has_value()) << where;
                                continue;
                            }
                            ASSERT_TRUE(part.has_value()) << where;
                            EXPECT_TRUE(samePixels(*part, Bitmap(whole.image().copy(window))))
                                << where;
                            const bool entered = kind != NotDividing && top != 3;
                            EXPECT_EQ(start == WindowStart::RestartMarker, entered) << where;
                        }
                    }
            }
}

// Damage to the markers above the window or inside it, or a file cut short,
// gives the decode from the top; damaged data above the window, between
// sound markers, is passed over. Either way the pixels are the whole decode's.
TEST(JpegSeekTest, DamagedMarkersGiveTheWholeDecodesPixels) {
    const QByteArray good = encodeRaw(photoLike(480, 400, 3, 9), {90, false, 2, 2, 30});
    const auto layout = jpegcodec::readStreamLayout(good);
    ASSERT_TRUE(layout.has_value());
    // Where restart marker n (from 1) is.
    const auto marker = [&](int n) {
        return *jpegcodec::findRestartInterval(good, layout->entropyStart, n) - 2;
    };
    const QRect window(100, 200, 240, 120); // MCU rows 12 to 20: entered at row 11
    struct Case {
        const char* name;
        QByteArray data;
        WindowStart start;
    };
    QByteArray renumberedAbove = good, renumberedInside = good, damagedData = good;
    renumberedAbove[marker(5) + 1] = char(0xD6);
    renumberedInside[marker(14) + 1] = char(0xD0);
    // Entered at interval 11, the codec counts markers from 0 and takes a
    // marker numbered as it counts for a sound one: the third it meets.
    QByteArray countedFromEntry = good;
    countedFromEntry[marker(14) + 1] = char(0xD2);
    for (int i = 0; i < 6; ++i)
        damagedData[(marker(6) + marker(7)) / 2 + i] = 0;
    const Case cases[] = {
        {"sound", good, WindowStart::RestartMarker},
        {"damaged data above", damagedData, WindowStart::RestartMarker},
        {"marker above out of turn", renumberedAbove, WindowStart::Top},
        {"marker above missing", QByteArray(good).remove(marker(5), 2), WindowStart::Top},
        {"entry marker missing", QByteArray(good).remove(marker(11), 2), WindowStart::Top},
        {"extra marker above", QByteArray(good).insert(marker(6), bytes({0xFF, 0xD5})),
         WindowStart::Top},
        {"marker inside out of turn", renumberedInside, WindowStart::Top},
        {"marker inside numbered from the entry", countedFromEntry, WindowStart::Top},
        {"marker inside missing", QByteArray(good).remove(marker(14), 2), WindowStart::Top},
        {"cut inside the window", good.left(marker(15)), WindowStart::Top},
    };
    const TJPEGDefaults options;
    for (const Case& c : cases) {
        const Bitmap whole = jpegcodec::decode(c.data, options);
        WindowStart start{};
        const auto part =
            jpegcodec::decodeWindow(c.data, options, window, DecodeMode::Seek, &start);
        ASSERT_TRUE(part.has_value()) << c.name;
        EXPECT_TRUE(samePixels(*part, Bitmap(whole.image().copy(window)))) << c.name;
        EXPECT_EQ(start, c.start) << c.name;
    }
}

// A stream of every third MCU row holds the whole decode's rows of those MCU
// rows (less each one's first and last, whose chroma up-sampling looks into
// the rows next to it), for every sampling the rows are cut from; nothing
// for a one-component file sampled other than 1 x 1, intervals that do not
// divide the rows, markers out of turn or missing.
TEST(JpegSeekTest, SampledRowsAreTheWholeDecodesRows) {
    constexpr int Step = 3;
    for (const Sampling& s : Samplings)
        for (const int intervalsPerRow : {1, 3, 0}) {
            const QSize size(575, 397);
            const int mcuWidth = s.components == 1 ? 8 : 8 * s.lumaH;
            const int mcuHeight = s.components == 1 ? 8 : 8 * s.lumaV;
            const int perRow = (size.width() + mcuWidth - 1) / mcuWidth;
            const int interval = intervalsPerRow > 0 ? perRow / intervalsPerRow : perRow - 1;
            const QByteArray jpeg =
                encodeRaw(photoLike(size.width(), size.height(), s.components, 7),
                          {90, false, s.lumaH, s.lumaV, unsigned(interval)}, {},
                          [&](jpeg_compress_struct& c) {
                              c.comp_info[0].h_samp_factor = s.lumaH;
                              c.comp_info[0].v_samp_factor = s.lumaV;
                          });
            const std::string where = std::string(s.name) + " " + std::to_string(interval);
            const auto rows = jpegcodec::sampledRowsStream(jpeg, Step);
            const bool cut = intervalsPerRow > 0 && (s.components == 3 || s.lumaH * s.lumaV == 1);
            ASSERT_EQ(rows.has_value(), cut) << where;
            if (!cut)
                continue;
            TJPEGDefaults options;
            options.ExactGrey = true;
            const Bitmap whole = jpegcodec::decode(jpeg, options);
            const Bitmap sampled = jpegcodec::decode(*rows, options);
            const int mcuRows = (size.height() + mcuHeight - 1) / mcuHeight;
            ASSERT_EQ(sampled.height(), (mcuRows + Step - 1) / Step * mcuHeight) << where;
            for (int band = 0; band * Step < mcuRows; ++band) {
                const int from = std::min(band * Step + Step / 2, mcuRows - 1) * mcuHeight + 1;
                const int count = std::min(mcuHeight - 2, size.height() - from);
                EXPECT_EQ(sampled.image().copy(0, band * mcuHeight + 1, size.width(), count),
                          whole.image().copy(0, from, size.width(), count))
                    << where << " band " << band;
            }
            const qsizetype entropy = jpegcodec::readStreamLayout(jpeg)->entropyStart;
            const qsizetype second = *jpegcodec::findRestartInterval(jpeg, entropy, 2) - 1;
            QByteArray renumbered = jpeg;
            renumbered[second] = char(0xD5);
            EXPECT_FALSE(jpegcodec::sampledRowsStream(renumbered, Step)) << where;
            EXPECT_FALSE(jpegcodec::sampledRowsStream(QByteArray(jpeg).remove(second - 1, 2), Step))
                << where;
        }
}

} // namespace
} // namespace kadrix::test
