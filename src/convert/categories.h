#pragma once

#include "convert/quantities.h"

#include <string_view>

namespace convert {

// The kinds of panel a category is shown on, numbered from 1: one list panel each for lengths,
// areas and volumes, the quotient panel and the force-times-length panel.
enum class Panel { Lengths = 1, Areas, Volumes, Quotient, Moment };
inline constexpr Panel allPanels[] = {Panel::Lengths, Panel::Areas, Panel::Volumes, Panel::Quotient,
                                      Panel::Moment};

// A tab of the window: what it is called, which panel serves it, and the quantity it converts.
// The panel hides the pickers its quantity has no table for.
struct Category {
    std::string_view caption;  // UTF-8, as its tab shows it
    Panel panel;
    Measure measure;

    const Quantity& quantity() const { return convert::quantity(measure); }
};

inline constexpr int categoryCount = 13;

// The category of the 1-based tab number n, or nullptr for a number outside the tabs.
const Category* categoryAt(int n);

}  // namespace convert
