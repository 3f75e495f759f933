#include "platform/linux/LinuxFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <limits>
#include <memory>

namespace zelvo::platform::linuxfs {

std::string joinPath(std::string_view root, std::string_view relative) {
    std::string path(root);
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    if (relative.empty() || relative.front() != '/')
        path += '/';
    path += relative;
    return path;
}

std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[8192];
    bool ok = true;
    while (text.size() < maxBytes) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, maxBytes - text.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<std::string> readTrimmed(const std::string& path) {
    auto text = readFile(path, kKernelTextLimit);
    if (!text)
        return std::nullopt;
    return std::string(trim(*text));
}

std::optional<std::string> readLink(const std::string& path) {
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size())
        return std::nullopt;
    target.resize(static_cast<std::size_t>(n));
    return target;
}

std::vector<std::string> listDirectory(const std::string& path) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string baseName(std::string_view path) {
    while (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string_view trim(std::string_view text) {
    constexpr std::string_view kSpace{" \t\r\n\v\f\0", 7};
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kSpace);
    return text.substr(first, last - first + 1);
}

namespace {

std::optional<std::uint64_t> parseDigits(std::string_view digits, int base) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
    return parseDigits(trim(text), 10);
}

std::optional<std::uint64_t> parseHexadecimal(std::string_view text) {
    text = trim(text);
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return std::nullopt;
    return parseDigits(text.substr(2), 16);
}

std::optional<DeviceNumber> parseDeviceNumber(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto first = parseUnsigned(text.substr(0, colon));
    const auto second = parseUnsigned(text.substr(colon + 1));
    constexpr std::uint64_t kMax = std::numeric_limits<unsigned>::max();
    if (!first || !second || *first > kMax || *second > kMax)
        return std::nullopt;
    return DeviceNumber{static_cast<unsigned>(*first), static_cast<unsigned>(*second)};
}

MappedFile::MappedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        void* data = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (data != MAP_FAILED) {
            data_ = static_cast<const char*>(data);
            size_ = static_cast<std::size_t>(info.st_size);
        }
    }
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (data_)
        ::munmap(const_cast<char*>(data_), size_);
}

std::string hexDigits(std::uint64_t value, int minDigits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xf]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < minDigits)
        text.insert(0, static_cast<std::size_t>(minDigits) - text.size(), '0');
    return text;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace zelvo::platform::linuxfs
