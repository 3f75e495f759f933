#include "Errors.h"

#include <cmath>

namespace zelvo {

EInvalidOp::EInvalidOp() : ZelvoError("不正な浮動小数点数演算命令") {}
EZeroDivide::EZeroDivide() : ZelvoError("0 による浮動小数点数除算") {}
EOverflow::EOverflow() : ZelvoError("浮動小数点数のオーバーフロー") {}

namespace {
double checkedResult(double result) {
    if (std::isnan(result))
        throw EInvalidOp();
    if (std::isinf(result))
        throw EOverflow();
    return result;
}
}  // namespace

double checkedDivide(double dividend, double divisor) {
    if (std::isnan(dividend) || std::isnan(divisor))
        throw EInvalidOp();
    if (divisor == 0.0) {
        if (dividend == 0.0)
            throw EInvalidOp();
        throw EZeroDivide();
    }
    return checkedResult(dividend / divisor);
}

double checkedMultiply(double a, double b) {
    if (std::isnan(a) || std::isnan(b))
        throw EInvalidOp();
    return checkedResult(a * b);
}

std::string formatMessage(const std::string& pattern, const std::string& arg) {
    std::string out;
    out.reserve(pattern.size() + arg.size());
    bool used = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (!used && pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
            out += arg;
            used = true;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace zelvo
