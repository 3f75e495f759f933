#include "platform/FloatChecks.h"

#include <cmath>

#include "platform/Errors.h"

namespace zelvo {

double checkedDivide(double dividend, double divisor) {
    if (std::isnan(dividend) || std::isnan(divisor))
        throw EInvalidOp();
    if (divisor == 0.0) {
        if (dividend == 0.0)
            throw EInvalidOp();
        throw EZeroDivide();
    }
    const double quotient = dividend / divisor;
    if (std::isnan(quotient))  // infinity / infinity
        throw EInvalidOp();
    if (std::isinf(quotient))
        throw EOverflow();
    return quotient;
}

}  // namespace zelvo
