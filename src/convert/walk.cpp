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

}  // namespace convert
