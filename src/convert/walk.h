#pragma once

#include "convert/units.h"

namespace convert {

enum class Outcome {
    Done,
    NotFinite,  // overflow or an invalid operation: the walk stops here
};

// One step of a value's walk through the base unit. The result is stored in `result` only
// when it is finite, so a failed step leaves the caller's working values as they were.
Outcome intoBase(const Step& step, double value, double& result);
Outcome outOfBase(const Step& step, double value, double& result);

}  // namespace convert
