// What identifies a volume: udev's record of the device (label, UUID, type), the by-label link
// names, the serial Windows shows, the file-system name and a network source's remote name.
// Parts: udev record, link name, mount type, mount source.

#include <algorithm>

#include "FuzzInput.h"
#include "platform/linux/VolumeId.h"

using namespace zelvo;
using namespace zelvo::platform::drives;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [record, link, mountType, source] = fuzz::parts<4>(data, size);
    const auto properties = parseUdevRecord(record);
    for (const auto& [key, value] : properties)
        fuzz::require(!key.empty() && key.find('\n') == std::string::npos, "a property key is one non-empty line");

    const std::string decoded = decodeUdevText(link);
    fuzz::require(decoded.size() <= link.size(), "decoding never lengthens");

    auto valueOf = [&](const char* key) {
        const auto it = properties.find(key);
        return it == properties.end() ? std::string() : it->second;
    };
    VolumeIdentity identity;
    identity.fsType = valueOf("ID_FS_TYPE");
    identity.fsVersion = valueOf("ID_FS_VERSION");
    identity.uuid = valueOf("ID_FS_UUID");
    identity.partitionType = valueOf("ID_PART_ENTRY_TYPE");
    isEfiSystemPartition(identity);

    const std::string type = mountType.empty() ? identity.fsType : std::string(mountType);
    const auto serial = serialFromUuid(type, identity.uuid);
    fuzz::require(serial.has_value() == !identity.uuid.empty(), "every UUID gives a serial");
    stableVolumeId(std::string(source), std::string(link));

    windowsFileSystemName(type, identity.fsVersion, identity.uuid.size() * 4096);

    if (const auto remote = remoteNameFromSource(std::string(source))) {
        fuzz::require(remote->size() > 2 && remote->compare(0, 2, "\\\\") == 0, "a remote name starts with \\\\");
        fuzz::require(remote->find('/') == std::string::npos, "a remote name has only backslashes");
        fuzz::require(remote->back() != '\\', "a remote name does not end in a backslash");
    }
    return 0;
}
