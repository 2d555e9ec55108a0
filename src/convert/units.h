#pragma once

#include <algorithm>
#include <span>
#include <string_view>

namespace convert {

// How a value in some unit is taken to its category's base unit. The way back uses the
// very same constant with the inverse operation. Each step is rounded to a double on its own,
// so a single-step unit converted into itself returns the typed number, but a compound one
// (km/час: times 1000, then divided by 3600) may come back one bit off, which can show in the
// fifteenth digit.
enum class Op { Copy, Multiply, Divide };

struct Step {
    Op op = Op::Copy;
    double constant = 1;
    int power = 1;  // above 1 the factor is std::pow(constant, power), computed at each use

    double term() const;
};

struct Unit {
    std::string_view text;  // UTF-8, as the picker shows it
    Step toBase;
};

using UnitTable = std::span<const Unit>;

// Everything a picker's table says: its rows and what one of each stands for. The walk, the
// tooltips and the help pages all read it here.
struct PickerTable {
    std::string_view name;  // for the tools that walk all of them
    UnitTable rows;
    std::string_view base;  // UTF-8: what the rows' factors are in, the way the pickers write it
    bool denominator =
        false;  // its rows divide the value: a row is the unit under the fraction bar
    // Rows from here on are whole units of their own ("g", the pascals), measured in `wholeBase`;
    // a quantity offering them passes over its later pickers.
    std::size_t wholeUnitsFrom = std::dynamic_extent;
    std::string_view wholeBase = {};

    // The rows before the whole units: what a quantity that does not offer them shows.
    UnitTable plainRows() const { return rows.first(std::min(wholeUnitsFrom, rows.size())); }
};

// Tables of the list pickers, one row per list row, in list order.
extern const PickerTable lengths;  // base: metre
extern const PickerTable areas;    // base: square metre
extern const PickerTable volumes;  // base: cubic metre

// A list row outside its table (including "no row") falls back to the table's last row.
const Unit& rowOrLast(UnitTable table, int row);

// Picker tables of the quotient and moment panels.
extern const PickerTable speedLengths;    // km ... inch, then g (the acceleration of gravity)
extern const PickerTable perTime;         // divisors taking "per hour/minute/second" to per second
extern const PickerTable perSquaredTime;  // the same, squared
extern const PickerTable angles;          // base: degree
extern const PickerTable times;           // base: hour
extern const PickerTable forces;     // base: kilonewton; the rows after the forces are pressures
extern const PickerTable perLength;  // divisors: per m, cm, mm, inch
extern const PickerTable perArea;    // divisors: per m^2 ...
extern const PickerTable perVolume;  // divisors: per m^3 ...
extern const PickerTable momentLengths;  // multipliers: m, cm, mm, inch

// Every table above, for the tools that walk all of them.
std::span<const PickerTable* const> allTables();

}  // namespace convert
