#pragma once

#include "convert/quantities.h"

#include <string_view>

namespace convert {

// A tab of the window: what it is called, which panel serves it, and the quantity it converts.
// The panel hides the pickers its quantity has no table for.
struct Category {
    std::string_view caption;  // UTF-8, as its tab shows it
    int panel;                 // 1..5
    Measure measure;

    const Quantity& quantity() const { return convert::quantity(measure); }
};

inline constexpr int categoryCount = 13;

// The category of the 1-based tab number n, or nullptr for a number outside the tabs.
const Category* categoryAt(int n);

}  // namespace convert
