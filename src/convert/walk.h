#pragma once

#include "convert/units.h"

#include <span>

namespace convert {

enum class Outcome {
    Done,
    NotFinite,  // overflow or an invalid operation: the walk stops here
};

// One step of a value's walk through the base unit. The result is stored in `result` only
// when it is finite, so a failed step leaves the caller's working values as they were.
Outcome intoBase(const Step& step, double value, double& result);
Outcome outOfBase(const Step& step, double value, double& result);

// The whole way of one side's units, step by step in the order given (numerator before
// denominator, both ways); each intermediate result is stored in `result` before the next step.
Outcome intoBase(std::span<const Step> steps, double value, double& result);
Outcome outOfBase(std::span<const Step> steps, double value, double& result);

}  // namespace convert
