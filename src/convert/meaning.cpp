#include "convert/meaning.h"

namespace convert {

std::optional<RowMeaning> meaningOf(const PickerTable& table, std::size_t row) {
    if (row >= table.rows.size()) {
        return std::nullopt;
    }
    const Step& step = table.rows[row].toBase;
    const std::string_view base = row >= table.wholeUnitsFrom ? table.wholeBase : table.base;
    switch (step.op) {
        case Op::Copy:
            return RowMeaning{1, base};
        case Op::Multiply:
            return RowMeaning{step.term(), base};
        case Op::Divide:
            return RowMeaning{table.denominator ? step.term() : 1 / step.term(), base};
    }
    return std::nullopt;
}

}  // namespace convert
