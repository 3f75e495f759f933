#include "platform/linux/VolumeId.h"

#include <libmount/libmount.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform::drives {

namespace fs = std::filesystem;

namespace {

// FAT12/16 volumes have fewer clusters than this; the FAT type follows from the count alone.
constexpr std::uint64_t kMinFat32Clusters = 65525;

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int hexValue(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                       : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string upperAscii(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::uint32_t firstFourBytes(const QByteArray& digest) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(digest[i]);
    return value;
}

std::uint32_t hashText(std::string_view text) {
    return firstFourBytes(QCryptographicHash::hash(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
                                                   QCryptographicHash::Sha256));
}

std::string valueOf(const std::map<std::string, std::string>& properties, const std::string& key) {
    const auto it = properties.find(key);
    return it == properties.end() ? std::string() : it->second;
}

void fillFromUdev(const std::map<std::string, std::string>& properties, VolumeIdentity& identity) {
    identity.fsType = valueOf(properties, "ID_FS_TYPE");
    identity.fsVersion = valueOf(properties, "ID_FS_VERSION");
    // The plain label has its blanks replaced by "_"; the encoded one keeps the bytes.
    const auto encodedLabel = properties.find("ID_FS_LABEL_ENC");
    identity.label =
        encodedLabel != properties.end() ? decodeUdevText(encodedLabel->second) : valueOf(properties, "ID_FS_LABEL");
    identity.uuid = valueOf(properties, "ID_FS_UUID");
    identity.partitionType = valueOf(properties, "ID_PART_ENTRY_TYPE");
    identity.cdrom = valueOf(properties, "ID_CDROM") == "1";
}

// The name of the by-* link in `directory` that points at device `name`.
std::optional<std::string> linkNaming(const fs::path& directory, const std::string& name) {
    for (const auto& entry : linuxfs::listDirectory(directory.string())) {
        const auto target = linuxfs::readLink((directory / entry).string());
        if (target && linuxfs::baseName(*target) == name)
            return decodeUdevText(entry);
    }
    return std::nullopt;
}

struct CacheDeleter {
    void operator()(libmnt_cache* cache) const { mnt_unref_cache(cache); }
};

// Reads the superblock through libmount's cache (which probes with libblkid). Needs read access
// to the device node, so it usually works only for root or the disk group.
void fillFromSuperblock(const fs::path& node, VolumeIdentity& identity) {
    std::error_code ec;
    if (!fs::exists(node, ec))
        return;
    std::unique_ptr<libmnt_cache, CacheDeleter> cache(mnt_new_cache());
    if (!cache)
        return;
    const std::string name = node.string();
    if (mnt_cache_read_tags(cache.get(), name.c_str()) < 0)
        return;
    auto tag = [&](const char* key) {
        const char* value = mnt_cache_find_tag_value(cache.get(), name.c_str(), key);  // owned by the cache
        return value ? std::string(value) : std::string();
    };
    if (identity.fsType.empty())
        identity.fsType = tag("TYPE");
    if (identity.label.empty())
        identity.label = tag("LABEL");
    if (identity.uuid.empty())
        identity.uuid = tag("UUID");
}

}  // namespace

std::map<std::string, std::string> parseUdevRecord(std::string_view text) {
    std::map<std::string, std::string> properties;
    for (std::string_view line : linuxfs::splitLines(text)) {
        if (line.size() < 3 || line.substr(0, 2) != "E:")
            continue;
        line.remove_prefix(2);
        const auto equals = line.find('=');
        if (equals == 0 || equals == std::string_view::npos)
            continue;
        properties[std::string(line.substr(0, equals))] = std::string(line.substr(equals + 1));
    }
    return properties;
}

std::string decodeUdevText(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && isHexDigit(text[i + 2]) &&
            isHexDigit(text[i + 3])) {
            decoded.push_back(static_cast<char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3])));
            i += 3;
        } else {
            decoded.push_back(text[i]);
        }
    }
    return decoded;
}

VolumeIdentity readVolumeIdentity(const LinuxRoots& roots, const BlockDevice& device, bool probeSuperblock) {
    VolumeIdentity identity;
    const std::string number = std::to_string(device.major) + ":" + std::to_string(device.minor);
    if (const auto record =
            linuxfs::readFile((fs::path(roots.udevData) / ("b" + number)).string(), linuxfs::kKernelTextLimit))
        fillFromUdev(parseUdevRecord(*record), identity);
    if (identity.fsType.empty() && identity.uuid.empty()) {
        const fs::path links = fs::path(roots.dev) / "disk";
        identity.label = linkNaming(links / "by-label", device.name).value_or("");
        identity.uuid = linkNaming(links / "by-uuid", device.name).value_or("");
    }
    if (probeSuperblock && (identity.fsType.empty() || identity.uuid.empty()))
        fillFromSuperblock(fs::path(roots.dev) / device.name, identity);
    return identity;
}

bool isEfiSystemPartition(const VolumeIdentity& identity) {
    const std::string type = lowerAscii(identity.partitionType);
    return type == "c12a7328-f81f-11d2-ba4b-00a0c93ec93b" || type == "0xef";
}

std::optional<std::uint32_t> serialFromUuid(const std::string& fsType, const std::string& uuid) {
    if (uuid.empty())
        return std::nullopt;
    std::string digits;
    for (char c : uuid) {
        if (c != '-')
            digits.push_back(c);
    }
    if (digits.size() < 8 || !std::all_of(digits.begin(), digits.end(), isHexDigit))
        return hashText(uuid);
    const std::string type = lowerAscii(fsType);
    // NTFS keeps a 64-bit serial; Windows shows its low half.
    const bool ntfs = type == "ntfs" || type == "ntfs3";
    const std::string shown = ntfs ? digits.substr(digits.size() - 8) : digits.substr(0, 8);
    return static_cast<std::uint32_t>(std::stoul(shown, nullptr, 16));
}

std::uint32_t stableVolumeId(const std::string& source, const std::string& target) {
    std::string key = source;
    key.push_back('\0');
    key += target;
    return hashText(key);
}

std::string windowsFileSystemName(const std::string& fsType, const std::string& fatVersion,
                                  std::optional<std::uint64_t> clusterCount) {
    std::string type = lowerAscii(fsType);
    if (type == "vfat" || type == "msdos" || type == "fat") {
        if (fatVersion == "FAT32")
            return "FAT32";
        if (fatVersion == "FAT12" || fatVersion == "FAT16")
            return "FAT";
        return clusterCount && *clusterCount >= kMinFat32Clusters ? "FAT32" : "FAT";
    }
    if (type == "exfat")
        return "exFAT";
    if (type == "ntfs" || type == "ntfs3")
        return "NTFS";
    if (type == "iso9660")
        return "CDFS";
    if (type.rfind("fuse.", 0) == 0)
        type.erase(0, 5);
    return upperAscii(type);
}

std::optional<std::string> remoteNameFromSource(const std::string& source) {
    auto toBackslashes = [](std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        while (!path.empty() && path.back() == '\\')
            path.pop_back();
        return path;
    };
    if (source.size() > 2 && source[0] == '/' && source[1] == '/') {  // SMB: //server/share
        const std::string name = toBackslashes(source);
        return name.size() > 2 ? std::optional<std::string>(name) : std::nullopt;
    }
    // server:path (NFS, sshfs); an IPv6 server is written in brackets.
    std::size_t colon = std::string::npos;
    if (!source.empty() && source[0] == '[') {
        const auto close = source.find(']');
        if (close != std::string::npos && close + 1 < source.size() && source[close + 1] == ':')
            colon = close + 1;
    } else {
        colon = source.find(':');
    }
    // A one-letter "server" is a Windows drive ("C:\" of a WSL share), not a host.
    if (colon == std::string::npos || colon < 2)
        return std::nullopt;
    const std::string server = source.substr(0, colon);
    // Either slash in the server would move the boundary between server and share.
    if (server.find_first_of("/\\") != std::string::npos)
        return std::nullopt;
    std::string path = source.substr(colon + 1);
    path.erase(0, path.find_first_not_of('/'));
    path = toBackslashes(path);
    return "\\\\" + server + (path.empty() ? "" : "\\" + path);
}

}  // namespace zelvo::platform::drives
