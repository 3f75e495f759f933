#include "platform/Errors.h"

namespace zelvo {

EInvalidOp::EInvalidOp() : ZelvoError("不正な浮動小数点数演算命令") {}
EZeroDivide::EZeroDivide() : ZelvoError("0 による浮動小数点数除算") {}
EOverflow::EOverflow() : ZelvoError("浮動小数点数のオーバーフロー") {}

}  // namespace zelvo
