#include "convert/meaning.h"

#include <array>

namespace convert {

namespace {

struct TableBase {
    const UnitTable* table;
    std::string_view base;
    bool denominator;  // its rows divide the value: a row is the unit under the fraction bar
};

// Tables that share rows (forces and their first rows) start at the same place: a row is found
// by where the table starts.
const std::array<TableBase, 13> bases{{
    {&lengths, "м", false},
    {&areas, "м^2", false},
    {&volumes, "м^3", false},
    {&speedLengths, "м", false},
    {&hours, "сек", true},
    {&squaredHours, "сек^2", true},
    {&angles, "градус", false},
    {&times, "час", false},
    {&forces, "kN", false},
    {&perLength, "м", true},
    {&perArea, "м^2", true},
    {&perVolume, "м^3", true},
    {&momentLengths, "м", false},
}};

}  // namespace

std::optional<RowMeaning> meaningOf(UnitTable table, std::size_t row) {
    if (row >= table.size()) {
        return std::nullopt;
    }
    for (const TableBase& entry : bases) {
        if (entry.table->data() != table.data()) {
            continue;
        }
        const Step& step = table[row].toBase;
        std::string_view base = entry.base;
        // "g" and the pascals are whole units of their own, not lengths or forces.
        if (entry.table == &speedLengths && row == static_cast<std::size_t>(gravityRow)) {
            base = "м/сек^2";
        } else if (entry.table == &forces && row >= static_cast<std::size_t>(plainForceRows)) {
            base = "kN/м^2";
        }
        switch (step.op) {
            case Op::Copy:
                return RowMeaning{1, base};
            case Op::Multiply:
                return RowMeaning{step.term(), base};
            case Op::Divide:
                return RowMeaning{entry.denominator ? step.term() : 1 / step.term(), base};
        }
    }
    return std::nullopt;
}

}  // namespace convert
