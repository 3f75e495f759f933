#pragma once
// Sets the process-wide number separators for one test and puts the previous ones back.

#include "format/NumberSeparators.h"

namespace zelvo::test {

class ScopedNumberSeparators {
public:
    explicit ScopedNumberSeparators(NumberSeparators separators) : saved_(numberSeparators()) {
        setNumberSeparators(separators);
    }
    ScopedNumberSeparators(Separator thousands, Separator decimal)
        : ScopedNumberSeparators(NumberSeparators{thousands, decimal}) {}
    ~ScopedNumberSeparators() { setNumberSeparators(saved_); }
    ScopedNumberSeparators(const ScopedNumberSeparators&) = delete;
    ScopedNumberSeparators& operator=(const ScopedNumberSeparators&) = delete;

private:
    NumberSeparators saved_;
};

}  // namespace zelvo::test
