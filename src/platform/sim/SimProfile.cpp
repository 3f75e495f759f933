#include "platform/sim/SimProfile.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <type_traits>

#include "platform/CodePage.h"
#include "platform/sim/EmbeddedProfiles.h"

namespace zelvo::platform {

namespace {

constexpr double kLargestExactInteger = 9007199254740992.0;  // 2^53

struct NamedNumber {
    const char* name;
    std::uint32_t value;
};

constexpr NamedNumber kDriveTypes[] = {
    {"unknown", kDriveUnknown}, {"noroot", kDriveNoRootDir}, {"removable", kDriveRemovable}, {"fixed", kDriveFixed},
    {"remote", kDriveRemote},   {"cdrom", kDriveCdrom},      {"ramdisk", kDriveRamdisk},
};

constexpr NamedNumber kValueTypes[] = {
    {"REG_NONE", kRegNone},
    {"REG_SZ", kRegSz},
    {"REG_EXPAND_SZ", kRegExpandSz},
    {"REG_BINARY", kRegBinary},
    {"REG_DWORD", kRegDword},
    {"REG_DWORD_BIG_ENDIAN", kRegDwordBigEndian},
    {"REG_LINK", kRegLink},
    {"REG_MULTI_SZ", kRegMultiSz},
    {"REG_RESOURCE_LIST", kRegResourceList},
    {"REG_QWORD", kRegQword},
};

struct NamedRoot {
    const char* longName;
    const char* shortName;
    HKey root;
};

constexpr NamedRoot kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", kHKeyClassesRoot},   {"HKEY_CURRENT_USER", "HKCU", kHKeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", "HKLM", kHKeyLocalMachine}, {"HKEY_USERS", "HKU", kHKeyUsers},
    {"HKEY_DYN_DATA", "HKDD", kHKeyDynData},
};

using Json = nlohmann::json;

// Reads one profile, naming the source and the member in every complaint.
class ProfileReader {
public:
    explicit ProfileReader(std::string source) : source_(std::move(source)) {}

    [[noreturn]] void fail(const std::string& where, const std::string& what) const {
        throw SimProfileError(source_ + (where.empty() ? "" : ": " + where) + ": " + what);
    }

    const Json& object(const Json& v, const std::string& where, std::initializer_list<const char*> allowed) const {
        if (!v.is_object())
            fail(where, "expected an object");
        for (auto it = v.begin(); it != v.end(); ++it) {
            bool known = false;
            for (const char* name : allowed)
                known = known || it.key() == name;
            if (!known)
                fail(where, "unknown member \"" + it.key() + "\"");
        }
        return v;
    }

    const Json& array(const Json& v, const std::string& where) const {
        if (!v.is_array())
            fail(where, "expected a list");
        return v;
    }

    std::string string(const Json& v, const std::string& where) const {
        if (!v.is_string())
            fail(where, "expected text");
        return v.get<std::string>();
    }

    std::optional<std::string> optionalString(const Json& v, const std::string& where) const {
        if (v.is_null())
            return std::nullopt;
        return string(v, where);
    }

    bool boolean(const Json& v, const std::string& where) const {
        if (!v.is_boolean())
            fail(where, "expected true or false");
        return v.get<bool>();
    }

    double number(const Json& v, const std::string& where) const {
        if (!v.is_number() || !std::isfinite(v.get<double>()))
            fail(where, "expected a number");
        return v.get<double>();
    }

    std::int64_t integer(const Json& v, const std::string& where, std::int64_t min, std::int64_t max) const {
        if (v.is_string())
            return integer(v.get<std::string>(), where, min, max);
        if (!v.is_number())
            fail(where, "expected a whole number");
        // JSON readers in general keep numbers as doubles, so a profile holds larger ones as text.
        const auto tooLarge = [&] { fail(where, "number too large to be exact in JSON; write it as a string"); };
        std::int64_t result = 0;
        if (v.is_number_unsigned()) {
            const auto u = v.get<std::uint64_t>();
            if (u > static_cast<std::uint64_t>(kLargestExactInteger))
                tooLarge();
            result = static_cast<std::int64_t>(u);
        } else if (v.is_number_integer()) {
            result = v.get<std::int64_t>();
            if (result < -static_cast<std::int64_t>(kLargestExactInteger))
                tooLarge();
        } else {
            const double d = v.get<double>();
            if (!std::isfinite(d) || std::trunc(d) != d)
                fail(where, "expected a whole number");
            if (std::fabs(d) > kLargestExactInteger)
                tooLarge();
            result = static_cast<std::int64_t>(d);
        }
        if (result < min || result > max)
            failRange(where, std::to_string(result), min, max);
        return result;
    }

    // A whole number written as text: decimal, or hexadecimal after "0x".
    std::int64_t integer(const std::string& s, const std::string& where, std::int64_t min, std::int64_t max) const {
        std::int64_t result = 0;
        const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
        const char* first = s.data() + (hex ? 2 : 0);
        const char* last = s.data() + s.size();
        const auto [end, error] = std::from_chars(first, last, result, hex ? 16 : 10);
        if (error == std::errc::result_out_of_range)
            fail(where, "\"" + s + "\" is out of range");
        if (error != std::errc() || end != last || first == last)
            fail(where, "\"" + s + "\" is not a whole number");
        if (result < min || result > max)
            failRange(where, std::to_string(result), min, max);
        return result;
    }

    [[noreturn]] void failRange(const std::string& where, const std::string& value, std::int64_t min,
                                std::int64_t max) const {
        fail(where, value + " is out of range (" + std::to_string(min) + " to " + std::to_string(max) + ")");
    }

    std::uint32_t u32(const Json& v, const std::string& where) const {
        return static_cast<std::uint32_t>(integer(v, where, 0, std::numeric_limits<std::uint32_t>::max()));
    }

    std::int64_t nonNegative(const Json& v, const std::string& where) const {
        return integer(v, where, 0, std::numeric_limits<std::int64_t>::max());
    }

    std::uint32_t named(const Json& v, const std::string& where, const NamedNumber* first, const NamedNumber* last,
                        const char* what) const {
        if (!v.is_string())
            return u32(v, where);
        const std::string s = v.get<std::string>();
        for (const NamedNumber* n = first; n != last; ++n)
            if (s == n->name)
                return n->value;
        fail(where, std::string("unknown ") + what + " \"" + s + "\"");
    }

    std::string hexBytes(const Json& v, const std::string& where) const {
        const std::string s = string(v, where);
        std::string bytes;
        int high = -1;
        for (char c : s) {
            if (c == ' ' || c == ',' || c == '\t' || c == '\n')
                continue;
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                fail(where, std::string("'") + c + "' is not a hex digit");
            if (high < 0) {
                high = digit;
            } else {
                bytes += static_cast<char>(high * 16 + digit);
                high = -1;
            }
        }
        if (high >= 0)
            fail(where, "odd number of hex digits");
        return bytes;
    }

    void read(const Json& top, SimMachine& m) const {
        if (top.contains("version"))
            readVersion(top.at("version"), m);
        if (top.contains("computerName"))
            m.computerName = optionalString(top.at("computerName"), "computerName");
        if (top.contains("hasDiskFreeSpaceEx"))
            m.hasDiskFreeSpaceEx = boolean(top.at("hasDiskFreeSpaceEx"), "hasDiskFreeSpaceEx");
        if (top.contains("locale"))
            readLocale(top.at("locale"), m);
        if (top.contains("memory"))
            readMemory(top.at("memory"), m.memory);
        if (top.contains("drives"))
            readDrives(top.at("drives"), m);
        if (top.contains("displayModes"))
            readDisplayModes(top.at("displayModes"), m.displayModes);
        if (top.contains("clock"))
            readClock(top.at("clock"), m.clock);
        if (top.contains("rom"))
            readRom(top.at("rom"), m);
        if (top.contains("currentDirectory"))
            m.currentDirectory = string(top.at("currentDirectory"), "currentDirectory");
        if (top.contains("programPath"))
            m.programPath = string(top.at("programPath"), "programPath");
        if (top.contains("directories")) {
            const Json& dirs = array(top.at("directories"), "directories");
            for (std::size_t i = 0; i < dirs.size(); ++i)
                m.directories.insert(string(dirs[i], "directories[" + std::to_string(i) + "]"));
        }
        if (top.contains("registry"))
            readRegistry(top.at("registry"), m.registry);
        if (top.contains("description"))
            string(top.at("description"), "description");
    }

private:
    void readVersion(const Json& v, SimMachine& m) const {
        if (v.is_null()) {
            m.version.reset();
            return;
        }
        const Json& o = object(v, "version", {"platformId", "major", "minor", "build"});
        if (!o.contains("platformId"))
            fail("version", "platformId is missing");
        OsVersion version;
        version.platformId = u32(o.at("platformId"), "version.platformId");
        if (o.contains("major"))
            version.major = u32(o.at("major"), "version.major");
        if (o.contains("minor"))
            version.minor = u32(o.at("minor"), "version.minor");
        if (o.contains("build"))
            version.build = u32(o.at("build"), "version.build");
        m.version = version;
    }

    void readLocale(const Json& v, SimMachine& m) const {
        const Json& o = object(v, "locale", {"thousandSeparator", "decimalSeparator"});
        if (o.contains("thousandSeparator"))
            m.thousandSeparator = optionalString(o.at("thousandSeparator"), "locale.thousandSeparator");
        if (o.contains("decimalSeparator"))
            m.decimalSeparator = optionalString(o.at("decimalSeparator"), "locale.decimalSeparator");
    }

    void readMemory(const Json& v, MemoryStatus& memory) const {
        const Json& o = object(
            v, "memory",
            {"memoryLoad", "totalPhys", "availPhys", "totalPageFile", "availPageFile", "totalVirtual", "availVirtual"});
        const auto field = [&](const char* name, auto& target) {
            if (o.contains(name))
                target = static_cast<std::remove_reference_t<decltype(target)>>(
                    nonNegative(o.at(name), std::string("memory.") + name));
        };
        field("memoryLoad", memory.memoryLoad);
        field("totalPhys", memory.totalPhys);
        field("availPhys", memory.availPhys);
        field("totalPageFile", memory.totalPageFile);
        field("availPageFile", memory.availPageFile);
        field("totalVirtual", memory.totalVirtual);
        field("availVirtual", memory.availVirtual);
        if (memory.memoryLoad > 100)
            fail("memory.memoryLoad", "a percentage above 100");
        if (memory.availPhys > memory.totalPhys)
            fail("memory", "availPhys is larger than totalPhys");
    }

    void readDrives(const Json& v, SimMachine& m) const {
        const Json& drives = object(v, "drives", {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                                  "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"});
        for (auto it = drives.begin(); it != drives.end(); ++it) {
            const std::string where = "drives." + it.key();
            const Json& o = object(it.value(), where,
                                   {"type", "medium", "label", "serial", "fileSystem", "totalBytes", "freeBytes",
                                    "remoteName", "bytesPerSector", "sectorsPerCluster"});
            if (!o.contains("type"))
                fail(where, "type is missing");
            SimDrive d;
            d.type = named(o.at("type"), where + ".type", std::begin(kDriveTypes), std::end(kDriveTypes), "drive type");
            if (o.contains("medium"))
                d.mediumPresent = boolean(o.at("medium"), where + ".medium");
            if (o.contains("label"))
                d.label = string(o.at("label"), where + ".label");
            if (o.contains("serial"))
                d.serial = u32(o.at("serial"), where + ".serial");
            if (o.contains("fileSystem"))
                d.fileSystem = string(o.at("fileSystem"), where + ".fileSystem");
            if (o.contains("totalBytes"))
                d.totalBytes = nonNegative(o.at("totalBytes"), where + ".totalBytes");
            if (o.contains("freeBytes"))
                d.freeBytes = nonNegative(o.at("freeBytes"), where + ".freeBytes");
            if (o.contains("remoteName"))
                d.remoteName = string(o.at("remoteName"), where + ".remoteName");
            if (o.contains("bytesPerSector"))
                d.bytesPerSector = u32(o.at("bytesPerSector"), where + ".bytesPerSector");
            if (o.contains("sectorsPerCluster"))
                d.sectorsPerCluster = u32(o.at("sectorsPerCluster"), where + ".sectorsPerCluster");
            if (d.freeBytes > d.totalBytes)
                fail(where, "freeBytes is larger than totalBytes");
            m.setDrive(it.key().at(0), std::move(d));
        }
    }

    void readDisplayModes(const Json& v, std::vector<DisplayMode>& modes) const {
        const Json& list = array(v, "displayModes");
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string where = "displayModes[" + std::to_string(i) + "]";
            const Json& o = object(list[i], where, {"width", "height", "bitsPerPixel", "frequency"});
            for (const char* required : {"width", "height", "bitsPerPixel"})
                if (!o.contains(required))
                    fail(where, std::string(required) + " is missing");
            DisplayMode mode;
            mode.width = u32(o.at("width"), where + ".width");
            mode.height = u32(o.at("height"), where + ".height");
            mode.bitsPerPixel = u32(o.at("bitsPerPixel"), where + ".bitsPerPixel");
            if (o.contains("frequency"))
                mode.frequency = u32(o.at("frequency"), where + ".frequency");
            modes.push_back(mode);
        }
    }

    void readClock(const Json& v, SimClock& clock) const {
        const Json& o = object(v, "clock", {"nowMs", "stepMs", "cyclesPerSecond"});
        if (o.contains("nowMs"))
            clock.nowMs = static_cast<std::uint64_t>(nonNegative(o.at("nowMs"), "clock.nowMs"));
        if (o.contains("stepMs"))
            clock.stepMs = static_cast<std::uint32_t>(integer(o.at("stepMs"), "clock.stepMs", 1, 3999));
        if (o.contains("cyclesPerSecond")) {
            clock.cyclesPerSecond = number(o.at("cyclesPerSecond"), "clock.cyclesPerSecond");
            if (clock.cyclesPerSecond < 0)
                fail("clock.cyclesPerSecond", "a negative rate");
        }
    }

    void readRom(const Json& v, SimMachine& m) const {
        const Json& o = object(v, "rom", {"mapped", "strings"});
        if (o.contains("mapped"))
            m.romMapped = boolean(o.at("mapped"), "rom.mapped");
        if (!o.contains("strings"))
            return;
        const Json& strings = o.at("strings");
        if (!strings.is_object())
            fail("rom.strings", "expected an object");
        for (auto it = strings.begin(); it != strings.end(); ++it) {
            const std::string where = "rom.strings." + it.key();
            const auto address = static_cast<std::uint32_t>(integer(it.key(), where, 0, 0xFFFFF));
            m.romStrings[address] = string(it.value(), where);
        }
    }

    HKey root(const std::string& name, const std::string& where) const {
        for (const NamedRoot& r : kRoots)
            if (name == r.longName || name == r.shortName)
                return r.root;
        fail(where, "unknown root key \"" + name + "\"");
    }

    void readRegistry(const Json& v, RegistryTree& registry) const {
        const Json& o = object(v, "registry", {"absentRoots", "keys"});
        if (o.contains("absentRoots")) {
            const Json& roots = array(o.at("absentRoots"), "registry.absentRoots");
            for (std::size_t i = 0; i < roots.size(); ++i) {
                const std::string where = "registry.absentRoots[" + std::to_string(i) + "]";
                registry.setRootPresent(root(string(roots[i], where), where), false);
            }
        }
        if (!o.contains("keys"))
            return;
        const Json& keys = array(o.at("keys"), "registry.keys");
        for (std::size_t i = 0; i < keys.size(); ++i)
            readKey(keys[i], "registry.keys[" + std::to_string(i) + "]", registry);
    }

    void readKey(const Json& v, const std::string& where, RegistryTree& registry) const {
        const Json& o = object(v, where, {"key", "values", "refuseAllAccess", "refuseOpen", "readOnly"});
        if (!o.contains("key"))
            fail(where, "key is missing");
        const std::string full = string(o.at("key"), where + ".key");
        const std::size_t cut = full.find('\\');
        const HKey rootKey = root(full.substr(0, cut), where + ".key");
        const std::string path = cp932::fromUtf8(cut == std::string::npos ? std::string() : full.substr(cut + 1));
        try {
            registry.createKey(rootKey, path);
        } catch (const std::invalid_argument&) {
            fail(where + ".key", "\"" + full + "\" has an empty key name");
        }
        if (o.contains("refuseAllAccess"))
            registry.setRefuseAllAccess(rootKey, path, boolean(o.at("refuseAllAccess"), where + ".refuseAllAccess"));
        if (o.contains("refuseOpen"))
            registry.setRefuseOpen(rootKey, path, boolean(o.at("refuseOpen"), where + ".refuseOpen"));
        if (o.contains("readOnly"))
            registry.setReadOnly(rootKey, path, boolean(o.at("readOnly"), where + ".readOnly"));
        if (!o.contains("values"))
            return;
        const Json& values = array(o.at("values"), where + ".values");
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::string at = where + ".values[" + std::to_string(i) + "]";
            const Json& value = object(values[i], at, {"name", "type", "data", "hex"});
            if (!value.contains("name") || !value.contains("type"))
                fail(at, "name and type are required");
            if (value.contains("data") == value.contains("hex"))
                fail(at, "give either data or hex");
            const std::string name = cp932::fromUtf8(string(value.at("name"), at + ".name"));
            const std::uint32_t type =
                named(value.at("type"), at + ".type", std::begin(kValueTypes), std::end(kValueTypes), "value type");
            RegValue stored = value.contains("hex") ? regBinary(hexBytes(value.at("hex"), at + ".hex"), type)
                                                    : typedData(value.at("data"), type, at + ".data");
            registry.setValue(rootKey, path, name, std::move(stored));
        }
    }

    RegValue typedData(const Json& v, std::uint32_t type, const std::string& where) const {
        switch (type) {
            case kRegSz:
                return regSz(string(v, where));
            case kRegExpandSz:
                return regExpandSz(string(v, where));
            case kRegMultiSz: {
                const Json& list = array(v, where);
                std::vector<std::string> pieces;
                for (std::size_t i = 0; i < list.size(); ++i)
                    pieces.push_back(string(list[i], where + "[" + std::to_string(i) + "]"));
                return regMultiSz(pieces);
            }
            case kRegDword:
                return regDword(u32(v, where));
            case kRegQword: {
                const auto q = static_cast<std::uint64_t>(nonNegative(v, where));
                std::string bytes(8, '\0');
                for (std::size_t i = 0; i < 8; ++i)
                    bytes[i] = static_cast<char>((q >> (8 * i)) & 0xFF);
                return regBinary(bytes, kRegQword);
            }
            default:
                return regBinary(hexBytes(v, where), type);
        }
    }

    std::string source_;
};

}  // namespace

SimMachine parseSimProfile(std::string_view json, const std::string& sourceName) {
    const ProfileReader reader(sourceName);
    Json doc;
    try {
        doc = Json::parse(json);
    } catch (const Json::parse_error& error) {
        reader.fail("", "not valid JSON at offset " + std::to_string(error.byte) + ": " + error.what());
    }
    if (!doc.is_object())
        reader.fail("", "expected an object at the top");
    const Json& top =
        reader.object(doc, "",
                      {"description", "version", "computerName", "hasDiskFreeSpaceEx", "locale", "memory", "drives",
                       "displayModes", "clock", "rom", "currentDirectory", "programPath", "directories", "registry"});
    SimMachine machine;
    reader.read(top, machine);
    return machine;
}

SimMachine loadSimProfile(const std::string& path) {
    const auto cannotRead = [&](int error) {
        return SimProfileError(path + ": cannot be read: " + std::strerror(error));
    };
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        throw cannotRead(errno);
    std::string text;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, n);
    // A directory opens on some systems and fails at the first read.
    if (std::ferror(file.get()))
        throw cannotRead(errno);
    return parseSimProfile(text, path);
}

SimMachine loadSimProfileResource(const std::string& fileName) {
    const auto text = embeddedSimProfile(fileName);
    if (!text)
        throw SimProfileError(fileName + ": no such profile is embedded in the program");
    return parseSimProfile(*text, fileName);
}

}  // namespace zelvo::platform
