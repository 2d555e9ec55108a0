#pragma once

#include "convert/units.h"

#include <QString>
#include <QStringList>
#include <limits>

// One tab of the window: its caption, the panel that shows it and, for the quotient panel, the
// tables behind the numerator and denominator pickers.
struct Category {
    const char* caption;  // UTF-8
    int frame;            // 1..5: the panel that serves the category
    convert::UnitTable numerator{};
    convert::UnitTable denominator{};  // empty: the category has no denominator picker
    // Numerator rows from here on are whole units on their own ("g", pascals): no denominator.
    int wholeUnitsFrom = std::numeric_limits<int>::max();

    bool hasDenominator() const { return !denominator.empty(); }
};

inline constexpr int categoryCount = 13;

// The category with the 1-based tab number n, or nullptr for a number outside the tabs.
const Category* categoryAt(int n);
QStringList tabCaptions();

// The texts of a table's rows, in order, as a picker lists them.
QStringList unitTexts(convert::UnitTable table);
