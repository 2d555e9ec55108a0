#pragma once

#include "convert/units.h"

#include <optional>
#include <string_view>

namespace convert {

// What one row of a unit table stands for: one of it equals `factor` of `base`. A row of a
// denominator table ("per hour") is read as the unit itself: 1 час = 3600 сек.
struct RowMeaning {
    double factor;
    std::string_view base;  // UTF-8, written the way the pickers write units
};

// Nothing for a row outside the table.
std::optional<RowMeaning> meaningOf(const PickerTable& table, std::size_t row);

}  // namespace convert
