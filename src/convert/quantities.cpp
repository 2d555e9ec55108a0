#include "convert/quantities.h"

namespace convert {

std::size_t Quantity::pickerCount() const {
    std::size_t count = 0;
    while (count < pickers.size() && !pickers[count].empty()) {
        ++count;
    }
    return count;
}

namespace {

enum class WholeUnits { Left, Offered };

// The first table's whole units are offered only where they are the quantity measured.
Quantity from(std::string_view base, std::array<const PickerTable*, 3> tables,
              WholeUnits whole = WholeUnits::Left) {
    Quantity q{base, tables};
    for (std::size_t k = 0; k < tables.size() && tables[k]; ++k) {
        q.pickers[k] = tables[k]->plainRows();
    }
    if (whole == WholeUnits::Offered) {
        q.pickers[0] = tables[0]->rows;
        q.wholeUnitsFrom = static_cast<int>(tables[0]->wholeUnitsFrom);
    }
    return q;
}

}  // namespace

std::span<const Quantity> allQuantities() {
    // Built on first use: the tables are defined in another translation unit.
    static const std::array<Quantity, measureCount> all{{
        from("метр", {&lengths}),
        from("квадратный метр", {&areas}),
        from("кубический метр", {&volumes}),
        from("м/сек", {&speedLengths, &perTime}),
        from("м/сек^2", {&speedLengths, &perSquaredTime}, WholeUnits::Offered),
        from("kN*м", {&forces, &momentLengths}),
        from("kN*м/м", {&forces, &momentLengths, &perLength}),
        from("градус", {&angles}),
        from("час", {&times}),
        from("kN", {&forces}),
        from("kN/м", {&forces, &perLength}),
        from("kN/м^2", {&forces, &perArea}, WholeUnits::Offered),
        from("kN/м^3", {&forces, &perVolume}),
    }};
    return all;
}

const Quantity& quantity(Measure measure) {
    return allQuantities()[static_cast<std::size_t>(measure)];
}

}  // namespace convert
