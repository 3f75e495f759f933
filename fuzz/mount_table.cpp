// /proc/self/mountinfo: the table the drive list is built from.

#include "FuzzInput.h"
#include "platform/linux/LinuxFiles.h"
#include "platform/linux/MountTable.h"

using namespace zelvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto entries = platform::drives::parseMountTable(text);
    fuzz::require(entries.size() <= platform::linuxfs::splitLines(text).size(), "at most one mount per line");
    for (const auto& entry : entries) {
        fuzz::require(entry.id > 0, "mount ids are positive");
        fuzz::require(!entry.target.empty() && entry.target.front() == '/', "mount points are absolute");
        fuzz::require(!entry.fsType.empty() && !entry.source.empty() && !entry.root.empty(), "no field is empty");
        fuzz::require(!(entry.networkType && entry.pseudoType), "a mount is network or pseudo, not both");
        platform::drives::isUserSpaceFileSystem(entry.fsType);
    }
    return 0;
}
