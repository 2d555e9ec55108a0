#pragma once

#include "convert/units.h"

#include <array>
#include <limits>
#include <string_view>

namespace convert {

// A category of quantity: the tables behind the unit pickers of one value box, from left to
// right. A value walks into the base unit through the picked row of each table in turn.
struct Category {
    std::string_view caption;            // UTF-8, as its tab shows it
    std::string_view baseUnit;           // what the walk arrives at
    int panel;                           // 1..5: the panel that serves the category
    std::array<UnitTable, 3> pickers{};  // an empty table: the category has no such picker
    // Rows of the first picker from here on are whole units ("g", pascals): the pickers after it
    // are passed over.
    int wholeUnitsFrom = std::numeric_limits<int>::max();

    std::size_t pickerCount() const;
};

inline constexpr int categoryCount = 13;

// The category of the 1-based tab number n, or nullptr for a number outside the tabs.
const Category* categoryAt(int n);

}  // namespace convert
