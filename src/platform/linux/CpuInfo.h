#pragma once
// Processor name and vendor from the kernel's /proc/cpuinfo, for the registry's CentralProcessor key.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvo::platform {

struct CpuIdentity {
    std::string name;    // empty when nothing names the processor
    std::string vendor;  // empty when unknown
};

// `cpuinfo` is the text of /proc/cpuinfo; `dtCpuCompatible` the device tree's
// cpus/cpu@0/compatible property (NUL-separated strings such as "arm,cortex-a72"), may be empty.
// x86 names come from "model name" and "vendor_id"; ARM kernels publish only the implementer and
// part numbers, which a table of well-known cores turns into a name.
CpuIdentity parseCpuIdentity(std::string_view cpuinfo, std::string_view dtCpuCompatible = {});

// Vendor of an ARM implementer code (the MIDR's top byte); nullopt for unknown codes.
std::optional<std::string> armImplementerName(std::uint32_t implementer);
// Core name of an implementer's part number; nullopt for unknown parts.
std::optional<std::string> armPartName(std::uint32_t implementer, std::uint32_t part);

}  // namespace zelvo::platform
