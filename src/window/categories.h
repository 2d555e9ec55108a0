#pragma once

#include "convert/categories.h"

#include <QStringList>

namespace window {

using convert::Category;
using convert::categoryAt;
using convert::categoryCount;

QStringList tabCaptions();

// The texts of a table's rows, in order, as a picker lists them.
QStringList unitTexts(convert::UnitTable table);

}  // namespace window
