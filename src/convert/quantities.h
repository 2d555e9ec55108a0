#pragma once

#include "convert/units.h"

#include <array>
#include <limits>
#include <span>
#include <string_view>

namespace convert {

// A quantity: the tables behind the unit pickers of one value box, from left to right. A value
// walks into the base unit through the picked row of each table in turn.
struct Quantity {
    std::string_view baseUnit;                   // UTF-8: what the walk arrives at
    std::array<const PickerTable*, 3> tables{};  // nullptr: the quantity has no such picker
    std::array<UnitTable, 3> pickers{};          // the rows each picker shows, from `tables`
    // Rows of the first picker from here on are whole units ("g", pascals): the pickers after it
    // are passed over.
    int wholeUnitsFrom = std::numeric_limits<int>::max();

    std::size_t pickerCount() const;
};

enum class Measure {
    Length,
    Area,
    Volume,
    Speed,
    Acceleration,
    Moment,
    DistributedMoment,
    Angle,
    Time,
    Force,
    DistributedForce,
    Pressure,
    SpecificWeight,
};

inline constexpr std::size_t measureCount = 13;

const Quantity& quantity(Measure measure);

// Every quantity, in the order of Measure, for the tools that walk all of them.
std::span<const Quantity> allQuantities();

}  // namespace convert
