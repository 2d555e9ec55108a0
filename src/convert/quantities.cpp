#include "convert/quantities.h"

namespace convert {

std::size_t Quantity::pickerCount() const {
    std::size_t count = 0;
    while (count < pickers.size() && !pickers[count].empty()) {
        ++count;
    }
    return count;
}

std::span<const Quantity> allQuantities() {
    // Built on first use: the tables are defined in another translation unit.
    static const std::array<Quantity, measureCount> all{{
        {"метр", {lengths}},
        {"квадратный метр", {areas}},
        {"кубический метр", {volumes}},
        {"м/сек", {speedLengths.first(gravityRow), hours}},
        {"м/сек^2", {speedLengths, squaredHours}, gravityRow},
        {"kN*м", {forces.first(plainForceRows), momentLengths}},
        {"kN*м/м", {forces.first(plainForceRows), momentLengths, perLength}},
        {"градус", {angles}},
        {"час", {times}},
        {"kN", {forces.first(plainForceRows)}},
        {"kN/м", {forces.first(plainForceRows), perLength}},
        {"kN/м^2", {forces, perArea}, plainForceRows},
        {"kN/м^3", {forces.first(plainForceRows), perVolume}},
    }};
    return all;
}

const Quantity& quantity(Measure measure) {
    return allQuantities()[static_cast<std::size_t>(measure)];
}

}  // namespace convert
