#include "convert/walk.h"

#include <cmath>

namespace convert {

namespace {

Outcome apply(Op op, const Step& step, double value, double& result) {
    double next = value;
    switch (op) {
        case Op::Copy:
            break;
        case Op::Multiply:
            next = value * step.term();
            break;
        case Op::Divide:
            next = value / step.term();
            break;
    }
    if (!std::isfinite(next)) {
        return Outcome::NotFinite;
    }
    result = next;
    return Outcome::Done;
}

Op inverse(Op op) {
    switch (op) {
        case Op::Multiply:
            return Op::Divide;
        case Op::Divide:
            return Op::Multiply;
        case Op::Copy:
            break;
    }
    return Op::Copy;
}

}  // namespace

Outcome intoBase(const Step& step, double value, double& result) {
    return apply(step.op, step, value, result);
}

Outcome outOfBase(const Step& step, double value, double& result) {
    return apply(inverse(step.op), step, value, result);
}

namespace {

Outcome walk(Outcome (*stepOf)(const Step&, double, double&), std::span<const Step> steps,
             double value, double& result) {
    result = value;
    for (const Step& step : steps) {
        if (stepOf(step, result, result) != Outcome::Done) {
            return Outcome::NotFinite;
        }
    }
    return Outcome::Done;
}

}  // namespace

Outcome intoBase(std::span<const Step> steps, double value, double& result) {
    return walk(&intoBase, steps, value, result);
}

Outcome outOfBase(std::span<const Step> steps, double value, double& result) {
    return walk(&outOfBase, steps, value, result);
}

}  // namespace convert
