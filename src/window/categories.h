#pragma once

#include "convert/categories.h"

#include <QStringList>

#include <array>

namespace window {

using convert::Category;
using convert::categoryAt;
using convert::categoryCount;

// What the list panels (Frame1 to Frame3) convert, in panel order.
inline constexpr std::array listMeasures{convert::Measure::Length, convert::Measure::Area,
                                         convert::Measure::Volume};

QStringList tabCaptions();

// The texts of a table's rows, in order, as a picker lists them.
QStringList unitTexts(convert::UnitTable table);

}  // namespace window
