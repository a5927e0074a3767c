#include "integer_text.h"

#include <QString>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

TEST(ReadInteger, ValueAndErrorPosition) {
    const struct {
        const char* text;
        qint64 value;
        int position;
    } cases[] = {
        {"95", 95, 0},
        {"  12", 12, 0},
        {"+5", 5, 0},
        {"-7", -7, 0},
        {"", 0, 1},
        {"   ", 0, 4},
        {"-", 0, 2},
        {"abc", 0, 1},
        {"12a", 12, 3},
        {"-12a", 12, 4}, // the value of an error has no sign
        {"1 2", 1, 2},
        {"$1F", 31, 0},
        {"x10", 16, 0},
        {"X10", 16, 0},
        {"0x1f", 31, 0},
        {"0X1g", 1, 4},
        {"$", 0, 2},
        {"012", 12, 0},
        {"2147483647", 2147483647, 0},
        {"2147483648", 214748364, 10},
        {"-2147483648", -2147483648LL, 0},
        {"-2147483648x", 2147483648LL, 12},
        {"99999999999", 999999999, 10},
        {"+$60", 0, 2}, // a sign takes decimal digits only
        {"-0x10", 0, 3},
        {"+0x10", 0, 3},
        {"\t50", 0, 1}, // only blanks are skipped
    };
    for (const auto& c : cases) {
        const IntegerReading reading = readInteger(QString::fromLatin1(c.text));
        EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(reading.errorPosition, c.position) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace kadrix
