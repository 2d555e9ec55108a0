#pragma once

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

// Unit tables for the list pickers, one row per list row, in list order.
extern const UnitTable lengths;  // base: metre
extern const UnitTable areas;    // base: square metre
extern const UnitTable volumes;  // base: cubic metre

// A list row outside its table (including "no row") falls back to the table's last row.
const Unit& rowOrLast(UnitTable table, int row);

// Picker tables of the quotient and moment panels.
extern const UnitTable speedLengths;   // km ... inch, then g (the acceleration of gravity)
extern const UnitTable hours;          // divisors taking "per hour/minute/second" to per second
extern const UnitTable squaredHours;   // the same, squared
extern const UnitTable angles;         // base: degree
extern const UnitTable times;          // base: hour
extern const UnitTable forces;         // base: kilonewton; rows 5..7 are pressures
extern const UnitTable perLength;      // divisors: per m, cm, mm, inch
extern const UnitTable perArea;        // divisors: per m^2 ...
extern const UnitTable perVolume;      // divisors: per m^3 ...
extern const UnitTable momentLengths;  // multipliers: m, cm, mm, inch

// Every table above under its name here, for the tools that walk all of them.
struct NamedTable {
    std::string_view name;
    UnitTable table;
};
std::span<const NamedTable> allTables();

// The number of force rows that are forces proper; the rows after them are pressures.
inline constexpr int plainForceRows = 5;
// Row of "g" in speedLengths: a whole acceleration unit on its own.
inline constexpr int gravityRow = 5;

}  // namespace convert
