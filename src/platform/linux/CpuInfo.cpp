#include "platform/linux/CpuInfo.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

namespace {

struct ArmPart {
    std::uint32_t implementer;
    std::uint32_t part;
    const char* name;
};

// Implementer codes as the Arm architecture manual assigns them.
constexpr std::pair<std::uint32_t, const char*> kArmImplementers[] = {
    {0x41, "ARM"},    {0x42, "Broadcom"}, {0x43, "Cavium"},    {0x46, "Fujitsu"}, {0x48, "HiSilicon"},
    {0x4e, "NVIDIA"}, {0x50, "APM"},      {0x51, "Qualcomm"},  {0x53, "Samsung"}, {0x56, "Marvell"},
    {0x61, "Apple"},  {0x69, "Intel"},    {0x6d, "Microsoft"}, {0xc0, "Ampere"},
};

// Well-known cores only; other parts are named by their numbers.
constexpr ArmPart kArmParts[] = {
    {0x41, 0xb76, "ARM1176"},          {0x41, 0xc07, "Cortex-A7"},       {0x41, 0xc08, "Cortex-A8"},
    {0x41, 0xc09, "Cortex-A9"},        {0x41, 0xc0f, "Cortex-A15"},      {0x41, 0xc0e, "Cortex-A17"},
    {0x41, 0xd01, "Cortex-A32"},       {0x41, 0xd03, "Cortex-A53"},      {0x41, 0xd04, "Cortex-A35"},
    {0x41, 0xd05, "Cortex-A55"},       {0x41, 0xd07, "Cortex-A57"},      {0x41, 0xd08, "Cortex-A72"},
    {0x41, 0xd09, "Cortex-A73"},       {0x41, 0xd0a, "Cortex-A75"},      {0x41, 0xd0b, "Cortex-A76"},
    {0x41, 0xd0c, "Neoverse-N1"},      {0x41, 0xd0d, "Cortex-A77"},      {0x41, 0xd40, "Neoverse-V1"},
    {0x41, 0xd41, "Cortex-A78"},       {0x41, 0xd44, "Cortex-X1"},       {0x41, 0xd46, "Cortex-A510"},
    {0x41, 0xd47, "Cortex-A710"},      {0x41, 0xd48, "Cortex-X2"},       {0x41, 0xd49, "Neoverse-N2"},
    {0x41, 0xd4b, "Cortex-A78C"},      {0x41, 0xd4f, "Neoverse-V2"},     {0x41, 0xd80, "Cortex-A520"},
    {0x41, 0xd81, "Cortex-A720"},      {0x41, 0xd82, "Cortex-X4"},       {0x51, 0x800, "Kryo 2XX Gold"},
    {0x51, 0x801, "Kryo 2XX Silver"},  {0x51, 0x803, "Kryo 3XX Silver"}, {0x51, 0x804, "Kryo 4XX Gold"},
    {0x51, 0x805, "Kryo 4XX Silver"},  {0x51, 0xc00, "Falkor"},          {0x51, 0x001, "Oryon"},
    {0x61, 0x022, "M1 Icestorm"},      {0x61, 0x023, "M1 Firestorm"},    {0x61, 0x024, "M1 Pro Icestorm"},
    {0x61, 0x025, "M1 Pro Firestorm"}, {0x61, 0x028, "M1 Max Icestorm"}, {0x61, 0x029, "M1 Max Firestorm"},
    {0x61, 0x032, "M2 Blizzard"},      {0x61, 0x033, "M2 Avalanche"},    {0xc0, 0xac3, "Ampere-1"},
};

struct Field {
    std::string_view key;
    std::string_view value;
};

// "key<tabs>: value" (the key may contain spaces; "CPU architecture: 8" has no tab).
std::optional<Field> splitField(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    return Field{linuxfs::trim(line.substr(0, colon)), linuxfs::trim(line.substr(colon + 1))};
}

std::string hexText(std::uint32_t value) {
    return "0x" + linuxfs::hexDigits(value);
}

// "arm,cortex-a72" gives vendor "ARM" and core "Cortex-A72".
std::optional<std::pair<std::string, std::string>> fromCompatible(std::string_view compatible) {
    const auto end = compatible.find('\0');
    compatible = linuxfs::trim(compatible.substr(0, end));
    const auto comma = compatible.find(',');
    if (comma == std::string_view::npos || comma == 0 || comma + 1 == compatible.size())
        return std::nullopt;
    std::string vendor(compatible.substr(0, comma));
    if (vendor == "arm")
        vendor = "ARM";
    else
        vendor[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(vendor[0])));
    std::string core(compatible.substr(comma + 1));
    bool startOfWord = true;
    for (char& c : core) {
        if (startOfWord)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        startOfWord = (c == '-');
    }
    return std::make_pair(vendor, core);
}

}  // namespace

std::optional<std::string> armImplementerName(std::uint32_t implementer) {
    for (const auto& [code, name] : kArmImplementers)
        if (code == implementer)
            return name;
    return std::nullopt;
}

std::optional<std::string> armPartName(std::uint32_t implementer, std::uint32_t part) {
    for (const auto& entry : kArmParts)
        if (entry.implementer == implementer && entry.part == part)
            return entry.name;
    return std::nullopt;
}

CpuIdentity parseCpuIdentity(std::string_view cpuinfo, std::string_view dtCpuCompatible) {
    std::string modelName;
    std::string vendorId;
    // Distinct (implementer, part) pairs in the order the cores list them: big.LITTLE systems
    // have two kinds of core, and the page should name both.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> armCores;
    std::optional<std::uint32_t> implementer;
    std::optional<std::uint32_t> firstImplementer;
    auto finishCore = [&](std::optional<std::uint32_t> part) {
        if (implementer && part) {
            const std::pair core{*implementer, *part};
            if (std::find(armCores.begin(), armCores.end(), core) == armCores.end())
                armCores.push_back(core);
        }
    };

    for (const std::string_view line : linuxfs::splitLines(cpuinfo)) {
        const auto field = splitField(line);
        if (!field)
            continue;
        if (field->key == "model name" && modelName.empty())
            modelName = field->value;
        else if (field->key == "vendor_id" && vendorId.empty())
            vendorId = field->value;
        else if (field->key == "processor")
            implementer.reset();
        else if (field->key == "CPU implementer") {
            const auto value = linuxfs::parseHexadecimal(field->value);
            implementer = value && *value <= 0xff ? std::optional<std::uint32_t>(*value) : std::nullopt;
            if (!firstImplementer)
                firstImplementer = implementer;
        } else if (field->key == "CPU part") {
            const auto value = linuxfs::parseHexadecimal(field->value);
            finishCore(value && *value <= 0xfff ? std::optional<std::uint32_t>(*value) : std::nullopt);
        }
    }

    CpuIdentity identity;
    identity.vendor = vendorId;
    if (identity.vendor.empty() && firstImplementer)
        identity.vendor = armImplementerName(*firstImplementer).value_or("");
    if (!armCores.empty()) {
        bool allKnown = true;
        std::string name;
        std::optional<std::uint32_t> previousImplementer;
        for (const auto& [impl, part] : armCores) {
            const auto vendor = armImplementerName(impl);
            const auto core = armPartName(impl, part);
            allKnown = allKnown && vendor && core;
            if (!name.empty())
                name += " + ";
            if (previousImplementer != impl)
                name += (vendor ? *vendor : "CPU implementer " + hexText(impl)) + " ";
            name += core ? *core : "part " + hexText(part);
            previousImplementer = impl;
        }
        // A kernel's own model name (32-bit ARM: "ARMv7 Processor rev 4 (v7l)") or the device
        // tree beats raw part numbers, but not a core the table knows.
        if (allKnown || (modelName.empty() && !fromCompatible(dtCpuCompatible))) {
            identity.name = name;
            return identity;
        }
    }
    if (!modelName.empty()) {
        identity.name = modelName;
        return identity;
    }
    if (const auto compatible = fromCompatible(dtCpuCompatible)) {
        identity.name = compatible->first + " " + compatible->second;
        if (identity.vendor.empty())
            identity.vendor = compatible->first;
    }
    return identity;
}

}  // namespace zelvo::platform
