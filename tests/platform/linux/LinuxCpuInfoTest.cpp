// Processor name and vendor from /proc/cpuinfo texts of real machines and broken ones.

#include <gtest/gtest.h>

#include "platform/linux/CpuInfo.h"
#include "support/FixtureFiles.h"

namespace zelvo::platform {
namespace {

using test::linuxFixture;

struct CpuCase {
    const char* label;
    std::string cpuinfo;
    std::string compatible;
    const char* name;
    const char* vendor;
};

std::string armCore(int processor, const char* implementer, const char* part) {
    return "processor\t: " + std::to_string(processor) +
           "\nBogoMIPS\t: 48.00\nFeatures\t: fp asimd evtstrm aes pmull sha1 sha2 crc32 atomics fphp asimdhp cpuid\n"
           "CPU implementer\t: " +
           implementer + "\nCPU architecture: 8\nCPU variant\t: 0x1\nCPU part\t: " + part + "\nCPU revision\t: 0\n\n";
}

TEST(LinuxCpuInfo, NamesTheProcessor) {
    const CpuCase cases[] = {
        {"Intel desktop", linuxFixture("intel-desktop/proc/cpuinfo"), "", "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz",
         "GenuineIntel"},
        {"AMD laptop", linuxFixture("amd-laptop/proc/cpuinfo"), "", "AMD Ryzen 7 5800U with Radeon Graphics",
         "AuthenticAMD"},
        {"recorded virtual machine", linuxFixture("firecracker-vm/proc/cpuinfo"), "", "AMD EPYC", "AuthenticAMD"},
        {"QEMU guest", linuxFixture("qemu-vm/proc/cpuinfo"), "", "QEMU Virtual CPU version 1.1.2", "GenuineIntel"},
        {"Raspberry Pi 4", linuxFixture("raspberry-pi-4/proc/cpuinfo"), "", "ARM Cortex-A72", "ARM"},
        {"big.LITTLE phone SoC",
         armCore(0, "0x41", "0xd05") + armCore(1, "0x41", "0xd05") + armCore(2, "0x41", "0xd0b"), "",
         "ARM Cortex-A55 + Cortex-A76", "ARM"},
        {"Apple M1 under Asahi", armCore(0, "0x61", "0x022") + armCore(1, "0x61", "0x023"), "",
         "Apple M1 Icestorm + M1 Firestorm", "Apple"},
        {"unknown part of a known implementer", armCore(0, "0x51", "0x0ff"), "", "Qualcomm part 0xff", "Qualcomm"},
        {"unknown implementer", armCore(0, "0x7a", "0x123"), "", "CPU implementer 0x7a part 0x123", ""},
        {"unknown part, device tree names the core", armCore(0, "0x41", "0xfff"), std::string("arm,cortex-a78ae\0", 17),
         "ARM Cortex-A78ae", "ARM"},
        {"32-bit ARM kernel with its own model name",
         "processor\t: 0\nmodel name\t: ARMv7 Processor rev 5 (v7l)\nBogoMIPS\t: 38.40\nCPU implementer\t: 0x41\n"
         "CPU architecture: 7\nCPU variant\t: 0x0\nCPU part\t: 0xc07\nCPU revision\t: 5\n\nHardware\t: BCM2835\n",
         "", "ARM Cortex-A7", "ARM"},
        {"32-bit ARM, part unknown: the kernel's model name",
         "processor\t: 0\nmodel name\t: ARMv7 Processor rev 1 (v7l)\nCPU implementer\t: 0x56\nCPU part\t: 0x584\n", "",
         "ARMv7 Processor rev 1 (v7l)", "Marvell"},
        {"no cpuinfo, device tree only", "", std::string("arm,cortex-a53\0", 15), "ARM Cortex-A53", "ARM"},
        {"RISC-V device tree vendor", "processor\t: 0\nhart\t\t: 1\nisa\t\t: rv64imafdc\n",
         std::string("sifive,u74-mc\0riscv\0", 20), "Sifive U74-Mc", "Sifive"},
        {"empty file", "", "", "", ""},
        {"garbage", "\x01\x02 no colons here\n::::\n\n", "", "", ""},
        {"implementer out of range", "processor\t: 0\nCPU implementer\t: 0x1234\nCPU part\t: 0xd08\n", "", "", ""},
        {"malformed part number", "processor\t: 0\nCPU implementer\t: 0x41\nCPU part\t: zd08\n", "", "", "ARM"},
        {"model name with surrounding spaces",
         "processor : 0\nvendor_id : GenuineIntel\nmodel name :   Intel(R) Xeon(R)  \n", "", "Intel(R) Xeon(R)",
         "GenuineIntel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const CpuIdentity identity = parseCpuIdentity(c.cpuinfo, c.compatible);
        EXPECT_EQ(identity.name, c.name);
        EXPECT_EQ(identity.vendor, c.vendor);
    }
}

TEST(LinuxCpuInfo, ArmTablesAnswerOnlyForKnownCodes) {
    EXPECT_EQ(armImplementerName(0x41), "ARM");
    EXPECT_EQ(armImplementerName(0x61), "Apple");
    EXPECT_EQ(armImplementerName(0x00), std::nullopt);
    EXPECT_EQ(armPartName(0x41, 0xd03), "Cortex-A53");
    EXPECT_EQ(armPartName(0x41, 0xd08), "Cortex-A72");
    EXPECT_EQ(armPartName(0x41, 0xd0b), "Cortex-A76");
    // Part numbers belong to their implementer: 0xd08 of another vendor is not a Cortex-A72.
    EXPECT_EQ(armPartName(0x51, 0xd08), std::nullopt);
}

}  // namespace
}  // namespace zelvo::platform
