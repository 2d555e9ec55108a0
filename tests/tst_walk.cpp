// The number engine on its own, without Qt or a window: values walked into their base unit and
// out again through the real unit tables, against results worked out by hand.
#include "convert/meaning.h"
#include "convert/quantities.h"
#include "convert/units.h"
#include "convert/walk.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace {

using convert::Outcome;

int failures = 0;

void expect(bool ok, std::string_view name, const char* what, double got = NAN) {
    if (!ok) {
        ++failures;
        std::printf("FAIL: %.*s: %s (got %.17g)\n", static_cast<int>(name.size()), name.data(),
                    what, got);
    }
}

const convert::Step& row(const convert::PickerTable& table, std::size_t n) {
    return table.rows[n].toBase;
}

struct WalkCase {
    std::string_view name;
    bool outward;  // out of the base unit, else into it
    std::vector<convert::Step> steps;
    double value;
    Outcome outcome;
    double expected;  // the result, or what is left stored when the walk stops
};

// Within 2 ulps: each case takes at most two roundings.
bool near(double got, double expected) {
    return std::fabs(got - expected) <= 4.5e-16 * std::fabs(expected);
}

void walks() {
    using namespace convert;
    const std::vector<WalkCase> cases{
        {"1.5 km in metres", false, {row(lengths, 0)}, 1.5, Outcome::Done, 1500},
        {"1500 m in km", true, {row(lengths, 0)}, 1500, Outcome::Done, 1.5},
        {"100 inches in metres", false, {row(lengths, 4)}, 100, Outcome::Done, 2.54},
        {"a square inch in m^2", false, {row(areas, 4)}, 1, Outcome::Done, 0.00064516},
        {"1E9 mm^3 in m^3", false, {row(volumes, 2)}, 1e9, Outcome::Done, 1},
        {"2 cubic feet in m^3", false, {row(volumes, 8)}, 2, Outcome::Done, 0.056633693184},
        {"36 km/h in m/s", false, {row(speedLengths, 0), row(perTime, 0)}, 36, Outcome::Done, 10},
        {"10 m/s in km/h", true, {row(speedLengths, 0), row(perTime, 0)}, 10, Outcome::Done, 36},
        {"1 g in m/s^2", false, {row(speedLengths, 5)}, 1, Outcome::Done, 9.81},
        {"1 km/min^2 in m/s^2",
         false,
         {row(speedLengths, 0), row(perSquaredTime, 1)},
         1,
         Outcome::Done,
         1000.0 / 3600},
        {"1 t per cm^2 in kPa", false, {row(forces, 4), row(perArea, 1)}, 1, Outcome::Done, 98100},
        {"2 kg*cm/m in kN*m/m",
         false,
         {row(forces, 3), row(momentLengths, 1), row(perLength, 0)},
         2,
         Outcome::Done,
         0.0001962},
        {"1 radian in degrees", false, {row(angles, 1)}, 1, Outcome::Done, 57.295779513},
        {"90 min in hours", false, {row(times, 1)}, 90, Outcome::Done, 1.5},
        // A step that overflows stops the walk and leaves the last finite value stored.
        {"1E306 km overflows at once", false, {row(lengths, 0)}, 1e306, Outcome::NotFinite, -1},
        {"1E308 m/s overflows in km/h",
         true,
         {row(speedLengths, 0), row(perTime, 0)},
         1e308,
         Outcome::NotFinite,
         1e305},
        {"1E306 km/h overflows first",
         false,
         {row(speedLengths, 0), row(perTime, 0)},
         1e306,
         Outcome::NotFinite,
         1e306},
        {"infinity goes nowhere", false, {row(lengths, 1)}, INFINITY, Outcome::NotFinite, -1},
    };
    for (const WalkCase& c : cases) {
        double result = -1;  // what a stopped single step must leave alone
        const Outcome outcome = c.steps.size() == 1
                                    ? (c.outward ? outOfBase(c.steps[0], c.value, result)
                                                 : intoBase(c.steps[0], c.value, result))
                                    : (c.outward ? outOfBase(c.steps, c.value, result)
                                                 : intoBase(c.steps, c.value, result));
        expect(outcome == c.outcome, c.name, "outcome", result);
        expect(near(result, c.expected), c.name, "result", result);
    }
}

void rowsAndQuantities() {
    const convert::UnitTable lengths = convert::lengths.rows;
    expect(&convert::rowOrLast(lengths, 0) == &lengths[0], "row 0", "first row");
    expect(&convert::rowOrLast(lengths, 12) == &lengths[12], "row 12", "that row");
    for (const int outside : {-1, 13, 32767}) {
        expect(&convert::rowOrLast(lengths, outside) == &lengths.back(), "row outside",
               "the last row", outside);
    }
    // Whole units are offered only by the quantities they measure; elsewhere the picker stops
    // before them.
    struct Shape {
        convert::Measure measure;
        std::size_t pickers;
        std::size_t firstRows;
        int wholeUnitsFrom;
    };
    constexpr int none = std::numeric_limits<int>::max();
    for (const Shape& s :
         {Shape{convert::Measure::Speed, 2, 5, none},
          Shape{convert::Measure::Acceleration, 2, 6, 5},
          Shape{convert::Measure::DistributedMoment, 3, 5, none},
          Shape{convert::Measure::Force, 1, 5, none}, Shape{convert::Measure::Pressure, 2, 8, 5}}) {
        const convert::Quantity& q = convert::quantity(s.measure);
        const auto n = static_cast<double>(s.measure);
        expect(q.pickerCount() == s.pickers, "quantity", "picker count", n);
        expect(q.pickers[0].size() == s.firstRows, "quantity", "rows of the first picker", n);
        expect(q.wholeUnitsFrom == s.wholeUnitsFrom, "quantity", "whole units", n);
    }
}

// What a row stands for, as the tooltips and the help say it.
void meanings() {
    struct Meaning {
        const convert::PickerTable& table;
        std::size_t row;
        double factor;
        std::string_view base;
    };
    const Meaning cases[] = {
        {convert::lengths, 6, 1066.8, "м"},          {convert::perTime, 0, 3600, "сек"},
        {convert::speedLengths, 5, 9.81, "м/сек^2"}, {convert::forces, 4, 9.81, "kN"},
        {convert::forces, 5, 0.001, "kN/м^2"},       {convert::perArea, 3, 0.00064516, "м^2"},
        {convert::volumes, 2, 1e-9, "м^3"},
    };
    for (const Meaning& c : cases) {
        const std::optional<convert::RowMeaning> m = convert::meaningOf(c.table, c.row);
        expect(m && near(m->factor, c.factor), c.table.name, "factor", m ? m->factor : NAN);
        expect(m && m->base == c.base, c.table.name, "base unit");
    }
    expect(!convert::meaningOf(convert::lengths, convert::lengths.rows.size()), "lengths",
           "no meaning past the last row");
}
}  // namespace

int main() {
    walks();
    rowsAndQuantities();
    meanings();
    std::printf("%s\n", failures ? "tst_walk: FAILED" : "tst_walk: passed");
    return failures ? 1 : 0;
}
