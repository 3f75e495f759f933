#pragma once
// The program's errors. Each carries the message the error box shows (UTF-8).

#include <stdexcept>

namespace zelvo {

class ZelvoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Registry wrapper failures: a value of the wrong type, or a read that failed.
class ERegistryException : public ZelvoError {
public:
    using ZelvoError::ZelvoError;
};

// Floating-point failures, detected by explicit checks rather than by signals.
class EInvalidOp : public ZelvoError {
public:
    EInvalidOp();
};
class EZeroDivide : public ZelvoError {
public:
    EZeroDivide();
};
class EOverflow : public ZelvoError {
public:
    EOverflow();
};

// A property write outside its allowed range (the gauge's range).
class EInvalidOperation : public ZelvoError {
public:
    using ZelvoError::ZelvoError;
};

// A conversion that cannot be carried out (a figure pattern that is too long).
class EConvertError : public ZelvoError {
public:
    using ZelvoError::ZelvoError;
};

}  // namespace zelvo
