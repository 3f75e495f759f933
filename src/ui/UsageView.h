#pragma once
// The controls in which the disk and memory pages show a size's usage, and the steps that write
// the figures into them. Each page runs the steps in its own order.

#include <array>
#include <vector>

#include "probes/UsageFigures.h"

namespace zelvo {

class TGauge;
class TLabel;
class TMemo;

struct UsageView {
    std::vector<TLabel*> captions;  // shown with the figures
    std::array<TMemo*, 3> boxes{};  // total, used, free
    TLabel* percentageLabel = nullptr;
    TGauge* gauge = nullptr;

    // Shows the captions and colours the boxes' texts yellow, red and lime.
    void ShowCaptions() const;
    // Writes total, used and free into the boxes.
    void ShowSizes(const UsageFigures& figures) const;
    // Colours the percentage label by the usage bands, sets the gauge (the used share in red over a
    // lime disc) and writes the percentage.
    void ShowPercentage(const UsageFigures& figures) const;
};

}  // namespace zelvo
