#include "errors.h"
#include "source_list.h"

#include <gtest/gtest.h>

namespace kadrix {
namespace {

TEST(SourceList, ARowPastEitherEndIsAnErrorOfTheProgramsOwn) {
    SourceList list;
    list.append(QStringLiteral("a.bmp"));
    for (int row : {-1, 1, 5}) {
        try {
            list.removeAt(row);
            ADD_FAILURE() << "no error for row " << row;
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Ligne %1 absente de la liste").arg(row));
        }
        EXPECT_THROW((void)list[row], Error);
    }
    EXPECT_EQ(list.count(), 1);
}

TEST(SourceListWatch, SeesEveryChangeButTheOnesItAccepts) {
    SourceList list;
    SourceListWatch watch(list);
    list.append(QStringLiteral("a.bmp"));
    EXPECT_TRUE(watch.changed());
    watch.acceptOwnChange();
    EXPECT_FALSE(watch.changed());
    SourceList other;
    other.append(QStringLiteral("b.bmp"));
    list.replaceWith(std::move(other));
    EXPECT_TRUE(watch.changed());
    EXPECT_EQ(list[0], QStringLiteral("b.bmp"));
    EXPECT_TRUE(other.isEmpty());
}

} // namespace
} // namespace kadrix
