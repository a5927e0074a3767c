#pragma once

namespace kadrix {

// The twelve operations of the image list's popup menu that set check marks
// and selection from each other. Each reads only the row's own two marks.
enum class MarkOperation {
    CheckAll,              // C := all
    InvertChecks,          // C := all - C
    UncheckAll,            // C := {}
    UncheckSelected,       // C := C - S
    CheckOnlySelected,     // C := S
    CheckSelected,         // C := C + S
    SelectAll,             // S := all
    InvertSelection,       // S := all - S
    DeselectAll,           // S := {}
    DeselectChecked,       // S := S - C
    SelectOnlyChecked,     // S := C
    SelectChecked,         // S := S + C
};

struct RowMarks {
    bool checked;
    bool selected;
    bool operator==(const RowMarks&) const = default;
};

// The row action of an operation on one row.
constexpr RowMarks applyMark(MarkOperation op, RowMarks row) {
    switch (op) {
    case MarkOperation::CheckAll:
        return {true, row.selected};
    case MarkOperation::InvertChecks:
        return {!row.checked, row.selected};
    case MarkOperation::UncheckAll:
        return {false, row.selected};
    case MarkOperation::UncheckSelected:
        return {row.checked && !row.selected, row.selected};
    case MarkOperation::CheckOnlySelected:
        return {row.selected, row.selected};
    case MarkOperation::CheckSelected:
        return {row.checked || row.selected, row.selected};
    case MarkOperation::SelectAll:
        return {row.checked, true};
    case MarkOperation::InvertSelection:
        return {row.checked, !row.selected};
    case MarkOperation::DeselectAll:
        return {row.checked, false};
    case MarkOperation::DeselectChecked:
        return {row.checked, row.selected && !row.checked};
    case MarkOperation::SelectOnlyChecked:
        return {row.checked, row.checked};
    case MarkOperation::SelectChecked:
        return {row.checked, row.selected || row.checked};
    }
    return row;
}

} // namespace kadrix
