#include "mark_operations.h"

#include <gtest/gtest.h>

namespace kadrix {
namespace {

// Each operation on the four marks a row can have, written as the checked
// and selected marks it leaves for (unchecked, unselected), (unchecked,
// selected), (checked, unselected) and (checked, selected).
TEST(MarkOperations, EachOperationOnEveryPairOfMarks) {
    using Op = MarkOperation;
    const RowMarks in[4] = {{false, false}, {false, true}, {true, false}, {true, true}};
    const struct {
        Op op;
        const char* name;
        RowMarks out[4];
    } cases[] = {
        {Op::CheckAll, "CheckAll", {{1, 0}, {1, 1}, {1, 0}, {1, 1}}},
        {Op::InvertChecks, "InvertChecks", {{1, 0}, {1, 1}, {0, 0}, {0, 1}}},
        {Op::UncheckAll, "UncheckAll", {{0, 0}, {0, 1}, {0, 0}, {0, 1}}},
        {Op::UncheckSelected, "UncheckSelected", {{0, 0}, {0, 1}, {1, 0}, {0, 1}}},
        {Op::CheckOnlySelected, "CheckOnlySelected", {{0, 0}, {1, 1}, {0, 0}, {1, 1}}},
        {Op::CheckSelected, "CheckSelected", {{0, 0}, {1, 1}, {1, 0}, {1, 1}}},
        {Op::SelectAll, "SelectAll", {{0, 1}, {0, 1}, {1, 1}, {1, 1}}},
        {Op::InvertSelection, "InvertSelection", {{0, 1}, {0, 0}, {1, 1}, {1, 0}}},
        {Op::DeselectAll, "DeselectAll", {{0, 0}, {0, 0}, {1, 0}, {1, 0}}},
        {Op::DeselectChecked, "DeselectChecked", {{0, 0}, {0, 1}, {1, 0}, {1, 0}}},
        {Op::SelectOnlyChecked, "SelectOnlyChecked", {{0, 0}, {0, 0}, {1, 1}, {1, 1}}},
        {Op::SelectChecked, "SelectChecked", {{0, 0}, {0, 1}, {1, 1}, {1, 1}}},
    };
    for (const auto& c : cases)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(applyMark(c.op, in[i]), c.out[i])
                << c.name << " on checked=" << in[i].checked << " selected=" << in[i].selected;
}

} // namespace
} // namespace kadrix
