#include "file_filter.h"
#include "naming.h"
#include "result_writer.h"

#include <gtest/gtest.h>

#include <limits>

namespace kadrix {
namespace {

TEST(NamingParts, StemsAndExtensions) {
    const struct {
        const char* name;
        const char* stem;
    } stems[] = {{"a.b.c.bmp", "a"},
                 {"holiday.2004.jpg", "holiday"},
                 {"noext", "noext"},
                 {".hidden", ""},
                 {"", ""}};
    for (const auto& s : stems)
        EXPECT_EQ(nameBeforeFirstDot(QString::fromUtf8(s.name)), QString::fromUtf8(s.stem))
            << s.name;

    const struct {
        const char* item;
        const char* extension;
    } extensions[] = {{"*.BMP", ".BMP"}, {"*.JPG;*.JPEG", ".JPEG"},
                      {"*.bmp", ".BMP"}, {"", ""},
                      {"*", ""},         {"a.b/c", ""},
                      {"x.y:z", ""},     {"*.*", ".*"}};
    for (const auto& e : extensions)
        EXPECT_EQ(extensionOfItem(QString::fromUtf8(e.item)), QString::fromUtf8(e.extension))
            << e.item;
}

TEST(NamingParts, ATypedExtensionNamesTheItemThatHoldsIt) {
    const QStringList items = FilterDescriptions(resultFormatFilter());
    for (auto [typed, item] : {std::pair{"jpg", "*.JPG;*.JPEG"}, {".jpeg", "*.JPG;*.JPEG"},
                               {"*.png", "*.PNG"}, {"tif", "*.TIF;*.TIFF"}, {"*.GIF", ""},
                               {"jp", ""}, {"*.", ""}, {"*.jpg;*.JPEG", "*.JPG;*.JPEG"}})
        EXPECT_EQ(items.value(itemNamedBy(items, QString::fromUtf8(typed))), item) << typed;
}

TEST(NamingParts, NumbersArePaddedNeverCutAndBounded) {
    EXPECT_EQ(zeroPadded(1, 4), QStringLiteral("0001"));
    EXPECT_EQ(zeroPadded(123, 2), QStringLiteral("123"));
    EXPECT_EQ(zeroPadded(-5, 4), QStringLiteral("-0005"));
    EXPECT_EQ(zeroPadded(qint64(std::numeric_limits<qint32>::max()) + 1, 1),
              QStringLiteral("2147483648"));
    // An absurd digit count is bounded instead of building a gigantic text.
    const QString wide = zeroPadded(7, std::numeric_limits<qint32>::max());
    EXPECT_EQ(wide.size(), MaxNumberDigits);
    EXPECT_TRUE(wide.endsWith(QStringLiteral("07")));
}

RenameScheme defaults() {
    RenameScheme s;
    s.prefixOn = true;
    s.prefix = QStringLiteral("cropped_");
    s.nameOn = true;
    s.suffixOn = false;
    s.suffix = QStringLiteral("_");
    s.numberOn = false;
    s.digits = QStringLiteral("4");
    s.start = QStringLiteral("1");
    s.extensionItem = QStringLiteral("*.BMP");
    s.destination = QStringLiteral("/photos/cropped");
    return s;
}

TEST(BuildResultName, TheRenameSchemeInEachOfItsParts) {
    const QString img = QStringLiteral("IMG_0042.JPG");
    const auto numbered = [](const char* digits, const char* start) {
        RenameScheme s = defaults();
        s.numberOn = true;
        s.digits = QString::fromUtf8(digits);
        s.start = QString::fromUtf8(start);
        return s;
    };
    RenameScheme allOff = defaults();
    allOff.prefixOn = allOff.nameOn = false;
    RenameScheme withSuffix = defaults();
    withSuffix.suffixOn = true;
    RenameScheme jpeg = defaults();
    jpeg.extensionItem = QStringLiteral("*.JPG;*.JPEG");
    RenameScheme noItem = defaults();
    noItem.extensionItem.clear();
    RenameScheme blanks = defaults();
    blanks.destination = QStringLiteral("  /out  ");
    RenameScheme emptyDestination = defaults();
    emptyDestination.destination = QStringLiteral(" ");

    const struct {
        const char* what;
        RenameScheme scheme;
        std::optional<QString> entry;
        int row;
        const char* path;
    } cases[] = {
        {"defaults", defaults(), img, 0, "/photos/cropped/cropped_IMG_0042.BMP"},
        {"digits 4 row 0", numbered("4", "1"), img, 0, "/photos/cropped/cropped_IMG_00420001.BMP"},
        {"digits 4 row 41", numbered("4", "1"), img, 41,
         "/photos/cropped/cropped_IMG_00420042.BMP"},
        {"digits 2 row 122", numbered("2", "1"), img, 122,
         "/photos/cropped/cropped_IMG_0042123.BMP"},
        {"start x numbers from 1", numbered("3", "x"), img, 4,
         "/photos/cropped/cropped_IMG_0042005.BMP"},
        {"empty digits adds none", numbered("", "1"), img, 0,
         "/photos/cropped/cropped_IMG_0042.BMP"},
        {"negative digits adds none", numbered("-3", "1"), img, 0,
         "/photos/cropped/cropped_IMG_0042.BMP"},
        {"start near the limit", numbered("1", "2147483647"), img, 1,
         "/photos/cropped/cropped_IMG_00422147483648.BMP"},
        {"all parts off", allOff, img, 0, "/photos/cropped/.BMP"},
        {"suffix", withSuffix, img, 0, "/photos/cropped/cropped_IMG_0042_.BMP"},
        {"first dot", defaults(), QStringLiteral("a.b.c.bmp"), 0, "/photos/cropped/cropped_a.BMP"},
        {"no dot", defaults(), QStringLiteral("plain"), 0, "/photos/cropped/cropped_plain.BMP"},
        {"jpeg item", jpeg, img, 0, "/photos/cropped/cropped_IMG_0042.JPEG"},
        {"no item", noItem, img, 0, "/photos/cropped/cropped_IMG_0042"},
        {"blanks trimmed", blanks, img, 0, "/out/cropped_IMG_0042.BMP"},
        {"empty destination", emptyDestination, img, 0, "cropped_IMG_0042.BMP"},
        {"empty list", defaults(), std::nullopt, 0, "/photos/cropped/cropped_???.BMP"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(buildResultName(c.scheme, c.entry, c.row, true).path, QString::fromUtf8(c.path))
            << c.what;
}

TEST(BuildResultName, ReportsWhatTheFieldsMustShow) {
    RenameScheme s = defaults();
    ResultName r = buildResultName(s, QStringLiteral("IMG_0042.JPG"), 0, true);
    EXPECT_EQ(r.destination, QStringLiteral("/photos/cropped/"));
    EXPECT_EQ(r.currentName, QStringLiteral("IMG_0042"));
    EXPECT_FALSE(r.correctedStart);
    EXPECT_FALSE(r.correctedDigits);

    s.nameOn = false;
    EXPECT_FALSE(buildResultName(s, QStringLiteral("a.jpg"), 0, true).currentName);
    EXPECT_EQ(buildResultName(defaults(), std::nullopt, 0, true).currentName,
              QStringLiteral("???"));

    // Fields that do not parse are corrected only with write-back, and only
    // while the number is on.
    s = defaults();
    s.start = QStringLiteral("x");
    s.digits = QString();
    EXPECT_FALSE(buildResultName(s, std::nullopt, 0, true).correctedStart);
    s.numberOn = true;
    r = buildResultName(s, std::nullopt, 0, false);
    EXPECT_FALSE(r.correctedStart);
    EXPECT_FALSE(r.correctedDigits);
    r = buildResultName(s, std::nullopt, 0, true);
    EXPECT_EQ(r.correctedStart, QStringLiteral("1"));
    EXPECT_EQ(r.correctedDigits, QStringLiteral("0"));
    s.digits = QStringLiteral("-3");
    EXPECT_FALSE(buildResultName(s, std::nullopt, 0, true).correctedDigits);
}

TEST(BuildResultName, AHugeDigitCountStaysBounded) {
    RenameScheme s = defaults();
    s.prefixOn = s.nameOn = false;
    s.numberOn = true;
    s.digits = QStringLiteral("2147483647");
    const QString path = buildResultName(s, std::nullopt, 0, true).path;
    EXPECT_EQ(path, QStringLiteral("/photos/cropped/") + QString(MaxNumberDigits - 1, u'0') +
                        QStringLiteral("1.BMP"));
}

} // namespace
} // namespace kadrix
