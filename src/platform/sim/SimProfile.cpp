#include "platform/sim/SimProfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <type_traits>

#include "platform/CodePage.h"

// Outside any namespace, as the resource initialiser is declared where it is named.
static void registerEmbeddedProfiles() {
    Q_INIT_RESOURCE(sim_profiles);
}

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

std::string text(const QString& s) {
    return s.toStdString();
}

// Reads one profile, naming the source and the member in every complaint.
class ProfileReader {
public:
    explicit ProfileReader(std::string source) : source_(std::move(source)) {}

    [[noreturn]] void fail(const std::string& where, const std::string& what) const {
        throw SimProfileError(source_ + (where.empty() ? "" : ": " + where) + ": " + what);
    }

    QJsonObject object(const QJsonValue& v, const std::string& where,
                       std::initializer_list<const char*> allowed) const {
        if (!v.isObject())
            fail(where, "expected an object");
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            bool known = false;
            for (const char* name : allowed)
                known = known || it.key() == QLatin1String(name);
            if (!known)
                fail(where, "unknown member \"" + text(it.key()) + "\"");
        }
        return o;
    }

    QJsonArray array(const QJsonValue& v, const std::string& where) const {
        if (!v.isArray())
            fail(where, "expected a list");
        return v.toArray();
    }

    std::string string(const QJsonValue& v, const std::string& where) const {
        if (!v.isString())
            fail(where, "expected text");
        return text(v.toString());
    }

    std::optional<std::string> optionalString(const QJsonValue& v, const std::string& where) const {
        if (v.isNull())
            return std::nullopt;
        return string(v, where);
    }

    bool boolean(const QJsonValue& v, const std::string& where) const {
        if (!v.isBool())
            fail(where, "expected true or false");
        return v.toBool();
    }

    double number(const QJsonValue& v, const std::string& where) const {
        if (!v.isDouble() || !std::isfinite(v.toDouble()))
            fail(where, "expected a number");
        return v.toDouble();
    }

    std::int64_t integer(const QJsonValue& v, const std::string& where, std::int64_t min, std::int64_t max) const {
        std::int64_t result = 0;
        if (v.isDouble()) {
            const double d = v.toDouble();
            if (!std::isfinite(d) || std::trunc(d) != d)
                fail(where, "expected a whole number");
            if (std::fabs(d) > kLargestExactInteger)
                fail(where, "number too large to be exact in JSON; write it as a string");
            result = static_cast<std::int64_t>(d);
        } else if (v.isString()) {
            const std::string s = text(v.toString());
            const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
            const char* first = s.data() + (hex ? 2 : 0);
            const char* last = s.data() + s.size();
            const auto [end, error] = std::from_chars(first, last, result, hex ? 16 : 10);
            if (error == std::errc::result_out_of_range)
                fail(where, "\"" + s + "\" is out of range");
            if (error != std::errc() || end != last || first == last)
                fail(where, "\"" + s + "\" is not a whole number");
        } else {
            fail(where, "expected a whole number");
        }
        if (result < min || result > max)
            fail(where, std::to_string(result) + " is out of range (" + std::to_string(min) + " to " +
                            std::to_string(max) + ")");
        return result;
    }

    std::uint32_t u32(const QJsonValue& v, const std::string& where) const {
        return static_cast<std::uint32_t>(integer(v, where, 0, std::numeric_limits<std::uint32_t>::max()));
    }

    std::int64_t nonNegative(const QJsonValue& v, const std::string& where) const {
        return integer(v, where, 0, std::numeric_limits<std::int64_t>::max());
    }

    std::uint32_t named(const QJsonValue& v, const std::string& where, const NamedNumber* first,
                        const NamedNumber* last, const char* what) const {
        if (!v.isString())
            return u32(v, where);
        const std::string s = text(v.toString());
        for (const NamedNumber* n = first; n != last; ++n)
            if (s == n->name)
                return n->value;
        fail(where, std::string("unknown ") + what + " \"" + s + "\"");
    }

    std::string hexBytes(const QJsonValue& v, const std::string& where) const {
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

    void read(const QJsonObject& top, SimMachine& m) const {
        if (top.contains("version"))
            readVersion(top["version"], m);
        if (top.contains("computerName"))
            m.computerName = optionalString(top["computerName"], "computerName");
        if (top.contains("hasDiskFreeSpaceEx"))
            m.hasDiskFreeSpaceEx = boolean(top["hasDiskFreeSpaceEx"], "hasDiskFreeSpaceEx");
        if (top.contains("locale"))
            readLocale(top["locale"], m);
        if (top.contains("memory"))
            readMemory(top["memory"], m.memory);
        if (top.contains("drives"))
            readDrives(top["drives"], m);
        if (top.contains("displayModes"))
            readDisplayModes(top["displayModes"], m.displayModes);
        if (top.contains("clock"))
            readClock(top["clock"], m.clock);
        if (top.contains("rom"))
            readRom(top["rom"], m);
        if (top.contains("currentDirectory"))
            m.currentDirectory = string(top["currentDirectory"], "currentDirectory");
        if (top.contains("programPath"))
            m.programPath = string(top["programPath"], "programPath");
        if (top.contains("directories")) {
            const QJsonArray dirs = array(top["directories"], "directories");
            for (qsizetype i = 0; i < dirs.size(); ++i)
                m.directories.insert(string(dirs[i], "directories[" + std::to_string(i) + "]"));
        }
        if (top.contains("registry"))
            readRegistry(top["registry"], m.registry);
        if (top.contains("description"))
            string(top["description"], "description");
    }

private:
    void readVersion(const QJsonValue& v, SimMachine& m) const {
        if (v.isNull()) {
            m.version.reset();
            return;
        }
        const QJsonObject o = object(v, "version", {"platformId", "major", "minor", "build"});
        if (!o.contains("platformId"))
            fail("version", "platformId is missing");
        OsVersion version;
        version.platformId = u32(o["platformId"], "version.platformId");
        if (o.contains("major"))
            version.major = u32(o["major"], "version.major");
        if (o.contains("minor"))
            version.minor = u32(o["minor"], "version.minor");
        if (o.contains("build"))
            version.build = u32(o["build"], "version.build");
        m.version = version;
    }

    void readLocale(const QJsonValue& v, SimMachine& m) const {
        const QJsonObject o = object(v, "locale", {"thousandSeparator", "decimalSeparator"});
        if (o.contains("thousandSeparator"))
            m.thousandSeparator = optionalString(o["thousandSeparator"], "locale.thousandSeparator");
        if (o.contains("decimalSeparator"))
            m.decimalSeparator = optionalString(o["decimalSeparator"], "locale.decimalSeparator");
    }

    void readMemory(const QJsonValue& v, MemoryStatus& memory) const {
        const QJsonObject o = object(
            v, "memory",
            {"memoryLoad", "totalPhys", "availPhys", "totalPageFile", "availPageFile", "totalVirtual", "availVirtual"});
        const auto field = [&](const char* name, auto& target) {
            if (o.contains(name))
                target = static_cast<std::remove_reference_t<decltype(target)>>(
                    nonNegative(o[name], std::string("memory.") + name));
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

    void readDrives(const QJsonValue& v, SimMachine& m) const {
        const QJsonObject drives =
            object(v, "drives", {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                 "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"});
        for (auto it = drives.begin(); it != drives.end(); ++it) {
            const std::string where = "drives." + text(it.key());
            const QJsonObject o = object(it.value(), where,
                                         {"type", "medium", "label", "serial", "fileSystem", "totalBytes", "freeBytes",
                                          "remoteName", "bytesPerSector", "sectorsPerCluster"});
            if (!o.contains("type"))
                fail(where, "type is missing");
            SimDrive d;
            d.type = named(o["type"], where + ".type", std::begin(kDriveTypes), std::end(kDriveTypes), "drive type");
            if (o.contains("medium"))
                d.mediumPresent = boolean(o["medium"], where + ".medium");
            if (o.contains("label"))
                d.label = string(o["label"], where + ".label");
            if (o.contains("serial"))
                d.serial = u32(o["serial"], where + ".serial");
            if (o.contains("fileSystem"))
                d.fileSystem = string(o["fileSystem"], where + ".fileSystem");
            if (o.contains("totalBytes"))
                d.totalBytes = nonNegative(o["totalBytes"], where + ".totalBytes");
            if (o.contains("freeBytes"))
                d.freeBytes = nonNegative(o["freeBytes"], where + ".freeBytes");
            if (o.contains("remoteName"))
                d.remoteName = string(o["remoteName"], where + ".remoteName");
            if (o.contains("bytesPerSector"))
                d.bytesPerSector = u32(o["bytesPerSector"], where + ".bytesPerSector");
            if (o.contains("sectorsPerCluster"))
                d.sectorsPerCluster = u32(o["sectorsPerCluster"], where + ".sectorsPerCluster");
            if (d.freeBytes > d.totalBytes)
                fail(where, "freeBytes is larger than totalBytes");
            m.setDrive(it.key().at(0).toLatin1(), std::move(d));
        }
    }

    void readDisplayModes(const QJsonValue& v, std::vector<DisplayMode>& modes) const {
        const QJsonArray list = array(v, "displayModes");
        for (qsizetype i = 0; i < list.size(); ++i) {
            const std::string where = "displayModes[" + std::to_string(i) + "]";
            const QJsonObject o = object(list[i], where, {"width", "height", "bitsPerPixel", "frequency"});
            for (const char* required : {"width", "height", "bitsPerPixel"})
                if (!o.contains(required))
                    fail(where, std::string(required) + " is missing");
            DisplayMode mode;
            mode.width = u32(o["width"], where + ".width");
            mode.height = u32(o["height"], where + ".height");
            mode.bitsPerPixel = u32(o["bitsPerPixel"], where + ".bitsPerPixel");
            if (o.contains("frequency"))
                mode.frequency = u32(o["frequency"], where + ".frequency");
            modes.push_back(mode);
        }
    }

    void readClock(const QJsonValue& v, SimClock& clock) const {
        const QJsonObject o = object(v, "clock", {"nowMs", "stepMs", "cyclesPerSecond"});
        if (o.contains("nowMs"))
            clock.nowMs = static_cast<std::uint64_t>(nonNegative(o["nowMs"], "clock.nowMs"));
        if (o.contains("stepMs"))
            clock.stepMs = static_cast<std::uint32_t>(integer(o["stepMs"], "clock.stepMs", 1, 3999));
        if (o.contains("cyclesPerSecond")) {
            clock.cyclesPerSecond = number(o["cyclesPerSecond"], "clock.cyclesPerSecond");
            if (clock.cyclesPerSecond < 0)
                fail("clock.cyclesPerSecond", "a negative rate");
        }
    }

    void readRom(const QJsonValue& v, SimMachine& m) const {
        const QJsonObject o = object(v, "rom", {"mapped", "strings"});
        if (o.contains("mapped"))
            m.romMapped = boolean(o["mapped"], "rom.mapped");
        if (!o.contains("strings"))
            return;
        if (!o["strings"].isObject())
            fail("rom.strings", "expected an object");
        const QJsonObject strings = o["strings"].toObject();
        for (auto it = strings.begin(); it != strings.end(); ++it) {
            const std::string where = "rom.strings." + text(it.key());
            const auto address = static_cast<std::uint32_t>(integer(it.key(), where, 0, 0xFFFFF));
            m.romStrings[address] = string(it.value(), where);
        }
    }

    // ROM addresses are the member names; a name accepts what a string integer accepts.
    std::int64_t integer(const QString& name, const std::string& where, std::int64_t min, std::int64_t max) const {
        return integer(QJsonValue(name), where, min, max);
    }

    HKey root(const std::string& name, const std::string& where) const {
        for (const NamedRoot& r : kRoots)
            if (name == r.longName || name == r.shortName)
                return r.root;
        fail(where, "unknown root key \"" + name + "\"");
    }

    void readRegistry(const QJsonValue& v, RegistryTree& registry) const {
        const QJsonObject o = object(v, "registry", {"absentRoots", "keys"});
        if (o.contains("absentRoots")) {
            const QJsonArray roots = array(o["absentRoots"], "registry.absentRoots");
            for (qsizetype i = 0; i < roots.size(); ++i) {
                const std::string where = "registry.absentRoots[" + std::to_string(i) + "]";
                registry.setRootPresent(root(string(roots[i], where), where), false);
            }
        }
        if (!o.contains("keys"))
            return;
        const QJsonArray keys = array(o["keys"], "registry.keys");
        for (qsizetype i = 0; i < keys.size(); ++i)
            readKey(keys[i], "registry.keys[" + std::to_string(i) + "]", registry);
    }

    void readKey(const QJsonValue& v, const std::string& where, RegistryTree& registry) const {
        const QJsonObject o = object(v, where, {"key", "values", "refuseAllAccess", "refuseOpen", "readOnly"});
        if (!o.contains("key"))
            fail(where, "key is missing");
        const std::string full = string(o["key"], where + ".key");
        const std::size_t cut = full.find('\\');
        const HKey rootKey = root(full.substr(0, cut), where + ".key");
        const std::string path = cp932::fromUtf8(cut == std::string::npos ? std::string() : full.substr(cut + 1));
        try {
            registry.createKey(rootKey, path);
        } catch (const std::invalid_argument&) {
            fail(where + ".key", "\"" + full + "\" has an empty key name");
        }
        if (o.contains("refuseAllAccess"))
            registry.setRefuseAllAccess(rootKey, path, boolean(o["refuseAllAccess"], where + ".refuseAllAccess"));
        if (o.contains("refuseOpen"))
            registry.setRefuseOpen(rootKey, path, boolean(o["refuseOpen"], where + ".refuseOpen"));
        if (o.contains("readOnly"))
            registry.setReadOnly(rootKey, path, boolean(o["readOnly"], where + ".readOnly"));
        if (!o.contains("values"))
            return;
        const QJsonArray values = array(o["values"], where + ".values");
        for (qsizetype i = 0; i < values.size(); ++i) {
            const std::string at = where + ".values[" + std::to_string(i) + "]";
            const QJsonObject value = object(values[i], at, {"name", "type", "data", "hex"});
            if (!value.contains("name") || !value.contains("type"))
                fail(at, "name and type are required");
            if (value.contains("data") == value.contains("hex"))
                fail(at, "give either data or hex");
            const std::string name = cp932::fromUtf8(string(value["name"], at + ".name"));
            const std::uint32_t type =
                named(value["type"], at + ".type", std::begin(kValueTypes), std::end(kValueTypes), "value type");
            RegValue stored = value.contains("hex") ? regBinary(hexBytes(value["hex"], at + ".hex"), type)
                                                    : typedData(value["data"], type, at + ".data");
            registry.setValue(rootKey, path, name, std::move(stored));
        }
    }

    RegValue typedData(const QJsonValue& v, std::uint32_t type, const std::string& where) const {
        switch (type) {
            case kRegSz:
                return regSz(string(v, where));
            case kRegExpandSz:
                return regExpandSz(string(v, where));
            case kRegMultiSz: {
                const QJsonArray list = array(v, where);
                std::vector<std::string> pieces;
                for (qsizetype i = 0; i < list.size(); ++i)
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
    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (error.error != QJsonParseError::NoError)
        reader.fail("", "not valid JSON at offset " + std::to_string(error.offset) + ": " + text(error.errorString()));
    if (!doc.isObject())
        reader.fail("", "expected an object at the top");
    const QJsonObject top =
        reader.object(doc.object(), "",
                      {"description", "version", "computerName", "hasDiskFreeSpaceEx", "locale", "memory", "drives",
                       "displayModes", "clock", "rom", "currentDirectory", "programPath", "directories", "registry"});
    SimMachine machine;
    reader.read(top, machine);
    return machine;
}

SimMachine loadSimProfile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw SimProfileError(path + ": cannot be read: " + text(file.errorString()));
    const QByteArray bytes = file.readAll();
    return parseSimProfile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), path);
}

SimMachine loadSimProfileResource(const std::string& fileName) {
    // The profiles are compiled into this library; a static library needs its resources
    // registered once before the first use.
    static const bool registered = [] {
        registerEmbeddedProfiles();
        return true;
    }();
    (void)registered;
    return loadSimProfile(":/sim/" + fileName);
}

}  // namespace zelvo::platform
