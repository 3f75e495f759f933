#pragma once
// Small helpers for reading the kernel's text files (/proc, /sys) below a fixture-movable root.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo::platform::linuxfs {

// `root` followed by `relative` (which starts with '/').
std::string joinPath(std::string_view root, std::string_view relative);

// The most read of a kernel text file whose size is bounded (status, meminfo, cgroup, udev records,
// mode lists): far beyond any real one, and a bound on what a damaged one can cost.
inline constexpr std::size_t kKernelTextLimit = std::size_t{64} * 1024;

// The whole file, at most `maxBytes` of it; nullopt when it cannot be opened or read.
// /proc files report no size, so the file is read until end of file.
std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes = 1u << 20);

// The file with surrounding white space (and the NULs device-tree strings end with) removed.
std::optional<std::string> readTrimmed(const std::string& path);

// Target of a symbolic link; nullopt when `path` is no link.
std::optional<std::string> readLink(const std::string& path);

// Names in a directory (no "." or ".."), sorted; empty when it cannot be read.
std::vector<std::string> listDirectory(const std::string& path);

// Last component of a path ("../../bus/pci/drivers/ahci" gives "ahci").
std::string baseName(std::string_view path);

// White space (and NUL) removed at both ends.
std::string_view trim(std::string_view text);

// Unsigned decimal number filling all of `text` (after trimming); nullopt when malformed or out
// of range. "0x10" is malformed: the kernel writes counts and sizes in decimal.
std::optional<std::uint64_t> parseUnsigned(std::string_view text);

// "0x"- or "0X"-prefixed hexadecimal number filling all of `text` (after trimming), as sysfs and
// cpuinfo write identifiers ("0x8086"); nullopt when malformed or out of range.
std::optional<std::uint64_t> parseHexadecimal(std::string_view text);

// A device number as sysfs and mountinfo write it, "8:17" (major:minor, decimal); nullopt when
// malformed or out of range.
struct DeviceNumber {
    unsigned major = 0;
    unsigned minor = 0;
};
std::optional<DeviceNumber> parseDeviceNumber(std::string_view text);

// A read-only mapping of a whole file, for large databases of which only a part is looked at.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    bool isOpen() const { return data_ != nullptr; }
    std::string_view text() const { return {data_, size_}; }

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

// Lower-case hexadecimal digits of `value`, at least `minDigits` of them ("0d57" for 0xd57, 4).
std::string hexDigits(std::uint64_t value, int minDigits = 1);

// Splits `text` at '\n'; a final line without a line break is included.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace zelvo::platform::linuxfs
