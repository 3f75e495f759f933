#pragma once
// Floating-point arithmetic that raises the program's floating-point errors by explicit checks
// instead of letting the hardware produce a NaN or an infinity.

namespace zelvo {

// Division with the floating-point error rules: 0/0 is an invalid operation (EInvalidOp), x/0 a
// division by zero (EZeroDivide), a result too large for a double an overflow (EOverflow).
double checkedDivide(double dividend, double divisor);

}  // namespace zelvo
