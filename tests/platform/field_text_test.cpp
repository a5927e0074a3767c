#include "field_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace kadrix {
namespace {

TEST(ParseInteger, AcceptsDecimalAndUnsignedHexadecimalOnly) {
    const struct {
        const char* text;
        std::optional<qint32> value;
    } cases[] = {
        {"800", 800},
        {" 800", 800},
        {"   42", 42},
        {"800 ", std::nullopt},
        {"+7", 7},
        {"-3", -3},
        {"-0", 0},
        {"007", 7},
        {"$1F", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"-0x1F", std::nullopt},
        {"+$10", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"1F", std::nullopt},
        {"12a", std::nullopt},
        {"1 2", std::nullopt},
        {"\t5", std::nullopt},
        {"2147483647", std::numeric_limits<qint32>::max()},
        {"-2147483648", std::numeric_limits<qint32>::min()},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$7FFFFFFF", std::numeric_limits<qint32>::max()},
        {"$80000000", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"x", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInteger(QString::fromUtf8(c.text)), c.value) << '"' << c.text << '"';
}

TEST(FieldText, FileNameAndFolderParts) {
    EXPECT_EQ(fileNamePart(QStringLiteral("/photos/IMG_0042.JPG")), QStringLiteral("IMG_0042.JPG"));
    EXPECT_EQ(fileNamePart(QStringLiteral("IMG.JPG")), QStringLiteral("IMG.JPG"));
    EXPECT_EQ(folderPart(QStringLiteral("/photos/out/x.bmp")), QStringLiteral("/photos/out/"));
    EXPECT_EQ(folderPart(QStringLiteral("/x.bmp")), QStringLiteral("/"));
    EXPECT_EQ(folderPart(QStringLiteral("x.bmp")), QString());
}

TEST(FieldText, FoldersAreTrimmedAndEndInASeparatorUnlessEmpty) {
    const struct {
        const char* text;
        const char* folder;
    } cases[] = {{"/photos/cropped", "/photos/cropped/"},
                 {"/photos/cropped/", "/photos/cropped/"},
                 {"  /out  ", "/out/"},
                 {"\t/out/\n", "/out/"},
                 {"/", "/"},
                 {"", ""},
                 {"   ", ""},
                 {"cropped", "cropped/"}};
    for (const auto& c : cases)
        EXPECT_EQ(normaliseFolder(QString::fromUtf8(c.text)), QString::fromUtf8(c.folder))
            << c.text;
    EXPECT_EQ(leadingControlCount(QStringLiteral("  \t/a ")), 3);
}

} // namespace
} // namespace kadrix
