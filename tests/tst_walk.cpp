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

// The place of the row with this text in its table; past the end, and a failure, without one.
std::size_t at(const convert::PickerTable& table, std::string_view text) {
    for (std::size_t n = 0; n < table.rows.size(); ++n) {
        if (table.rows[n].text == text) {
            return n;
        }
    }
    expect(false, text, "no such row");
    return table.rows.size();
}

convert::Step row(const convert::PickerTable& table, std::string_view text) {
    const std::size_t n = at(table, text);
    return n < table.rows.size() ? table.rows[n].toBase : convert::Step{convert::Op::Multiply, NAN};
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
    // clang-format off
    const std::vector<WalkCase> cases{
        {"1.5 km in metres", false, {row(lengths, "Километр")}, 1.5, Outcome::Done, 1500},
        {"1500 m in km", true, {row(lengths, "Километр")}, 1500, Outcome::Done, 1.5},
        {"100 inches in metres", false, {row(lengths, "Дюйм")}, 100, Outcome::Done, 2.54},
        {"a square inch in m^2", false, {row(areas, "Квадратный дюйм")}, 1, Outcome::Done, 0.00064516},
        {"1E9 mm^3 in m^3", false, {row(volumes, "Кубический миллиметр")}, 1e9, Outcome::Done, 1},
        {"2 cubic feet in m^3", false, {row(volumes, "Кубический фут")}, 2, Outcome::Done, 0.056633693184},
        {"36 km/h in m/s", false, {row(speedLengths, "км"), row(perTime, "час")}, 36, Outcome::Done, 10},
        {"10 m/s in km/h", true, {row(speedLengths, "км"), row(perTime, "час")}, 10, Outcome::Done, 36},
        {"1 g in m/s^2", false, {row(speedLengths, "g")}, 1, Outcome::Done, 9.81},
        {"1 km/min^2 in m/s^2", false, {row(speedLengths, "км"), row(perSquaredTime, "мин^2")}, 1, Outcome::Done, 1000.0 / 3600},
        {"1 t per cm^2 in kPa", false, {row(forces, "т"), row(perArea, "см^2")}, 1, Outcome::Done, 98100},
        {"2 kg*cm/m in kN*m/m", false, {row(forces, "кг"), row(momentLengths, "см"), row(perLength, "м")}, 2, Outcome::Done, 0.0001962},
        {"1 radian in degrees", false, {row(angles, "радиан")}, 1, Outcome::Done, 57.295779513},
        {"90 min in hours", false, {row(times, "мин")}, 90, Outcome::Done, 1.5},
        // A step that overflows stops the walk and leaves the last finite value stored.
        {"1E306 km overflows at once", false, {row(lengths, "Километр")}, 1e306, Outcome::NotFinite, -1},
        {"1E308 m/s overflows in km/h", true, {row(speedLengths, "км"), row(perTime, "час")}, 1e308, Outcome::NotFinite, 1e305},
        {"1E306 km/h overflows first", false, {row(speedLengths, "км"), row(perTime, "час")}, 1e306, Outcome::NotFinite, 1e306},
        {"infinity goes nowhere", false, {row(lengths, "Метр")}, INFINITY, Outcome::NotFinite, -1},
    };
    // clang-format on
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
    const auto count = static_cast<int>(lengths.size());
    expect(&convert::rowOrLast(lengths, 0) == &lengths[0], "row 0", "first row");
    expect(&convert::rowOrLast(lengths, count - 1) == &lengths.back(), "last row", "that row");
    for (const int outside : {-1, count, 32767}) {
        expect(&convert::rowOrLast(lengths, outside) == &lengths.back(), "row outside",
               "the last row", outside);
    }
    // Whole units are offered only by the quantities they measure; elsewhere the picker stops
    // before them.
    struct Shape {
        convert::Measure measure;
        std::size_t pickers;
        std::string_view lastRow;     // of the first picker
        std::string_view firstWhole;  // empty: it offers none
    };
    for (const Shape& s : {Shape{convert::Measure::Speed, 2, "дюйм", ""},
                           Shape{convert::Measure::Acceleration, 2, "g", "g"},
                           Shape{convert::Measure::DistributedMoment, 3, "т", ""},
                           Shape{convert::Measure::Force, 1, "т", ""},
                           Shape{convert::Measure::Pressure, 2, "МПа", "Па"}}) {
        const convert::Quantity& q = convert::quantity(s.measure);
        const auto n = static_cast<double>(s.measure);
        expect(q.pickerCount() == s.pickers, "quantity", "picker count", n);
        expect(q.pickers[0].back().text == s.lastRow, "quantity", "last row of the first picker",
               n);
        const auto whole = static_cast<std::size_t>(q.wholeUnitsFrom);
        expect(s.firstWhole.empty() ? whole >= q.pickers[0].size()
                                    : q.pickers[0][whole].text == s.firstWhole,
               "quantity", "whole units", n);
    }
}

// What a row stands for, as the tooltips and the help say it.
void meanings() {
    struct Meaning {
        const convert::PickerTable& table;
        std::string_view row;
        double factor;
        std::string_view base;
    };
    const Meaning cases[] = {
        {convert::lengths, "Верста", 1066.8, "м"},
        {convert::perTime, "час", 3600, "сек"},
        {convert::speedLengths, "g", 9.81, "м/сек^2"},
        {convert::forces, "т", 9.81, "kN"},
        {convert::forces, "Па", 0.001, "kN/м^2"},
        {convert::perArea, "дюйм^2", 0.00064516, "м^2"},
        {convert::volumes, "Кубический миллиметр", 1e-9, "м^3"},
    };
    for (const Meaning& c : cases) {
        const std::optional<convert::RowMeaning> m =
            convert::meaningOf(c.table, at(c.table, c.row));
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
