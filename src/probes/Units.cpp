#include "probes/Units.h"

#include "format/IntegerText.h"

namespace zelvo {

std::string PercentageText(int percentage) {
    return IntegerText(percentage) + " %";
}

}  // namespace zelvo
