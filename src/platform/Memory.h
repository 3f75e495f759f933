#pragma once
// The machine's memory: how much there is and how much is free, and the BIOS ROM where a process
// can see it.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/CodePageText.h"

namespace zelvo::platform {

// Byte counts are 64-bit throughout: a 32-bit record would cap every figure at 4 GiB.
struct MemoryStatus {
    std::uint32_t memoryLoad = 0;  // per cent
    std::uint64_t totalPhys = 0;   // bytes
    std::uint64_t availPhys = 0;   // bytes the system can hand out without swapping
    std::uint64_t totalPageFile = 0;
    std::uint64_t availPageFile = 0;
    std::uint64_t totalVirtual = 0;
    std::uint64_t availVirtual = 0;
};

class Memory {
public:
    virtual ~Memory() = default;

    // The memory status in bytes and per cent; all zero where the system cannot be read.
    virtual MemoryStatus globalMemoryStatus() const = 0;
    // Zero-terminated string at a physical address of the first megabyte; nullopt where the ROM
    // is not mapped into this process.
    virtual std::optional<CodePageText> readRomString(std::uint32_t address) const = 0;
};

}  // namespace zelvo::platform
