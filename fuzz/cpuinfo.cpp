// /proc/cpuinfo and the device tree's cpu@0 "compatible" property, as the processor's name and
// vendor. Parts: cpuinfo, compatible.

#include "platform/linux/CpuInfo.h"
#include "FuzzInput.h"

using namespace zelvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [cpuinfo, compatible] = fuzz::parts<2>(data, size);
    platform::parseCpuIdentity(cpuinfo, compatible);
    return 0;
}
