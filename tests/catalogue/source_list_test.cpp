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

TEST(SourceList, PlacementsGoWithTheirRowsAndAreNoChangeOfTheRows) {
    SourceList list;
    for (const char* name : {"a.bmp", "b.bmp"})
        list.append(QString::fromLatin1(name));
    const SourceListWatch watch(list);
    list.setPlacement(1, QPoint(-4, 7));
    EXPECT_FALSE(watch.changed());
    list.removeAt(0);
    EXPECT_EQ(list.entry(0).placement, QPoint(-4, 7));
}

} // namespace
} // namespace kadrix
