#include "platform/linux/MountTable.h"

#include <fcntl.h>
#include <libmount/libmount.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>
#include <utility>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform::drives {

namespace {

// A table of tens of thousands of mounts (a container host) is several megabytes.
constexpr std::size_t kMaxTableBytes = std::size_t{64} << 20;

// The kernel writes space, tab, newline and backslash in paths as "\ooo" octal escapes.
std::string unescape(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            text.push_back(
                static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

std::optional<unsigned> number(std::string_view text) {
    const auto value = linuxfs::parseUnsigned(text);
    if (!value || *value > std::numeric_limits<unsigned>::max() || text != linuxfs::trim(text))
        return std::nullopt;
    return static_cast<unsigned>(*value);
}

// The kernel starts both option lists with "rw" or "ro".
bool isOptionList(std::string_view options) {
    const std::string_view access = options.substr(0, 2);
    return (access == "rw" || access == "ro") && (options.size() == 2 || options[2] == ',');
}

// An optional field is a tag with a value ("shared:1", "master:2", "propagate_from:3") or a bare
// "unbindable".
bool isOptionalField(std::string_view field) {
    const auto colon = field.find(':');
    if (colon == std::string_view::npos)
        return field == "unbindable";
    const std::string_view tag = field.substr(0, colon);
    return !tag.empty() && tag.find_first_not_of("abcdefghijklmnopqrstuvwxyz_") == std::string_view::npos &&
           number(field.substr(colon + 1)).has_value();
}

bool hasOption(const std::string& options, const char* name) {
    return mnt_optstr_get_option(options.c_str(), name, nullptr, nullptr) == 0;
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool isUserSpaceFileSystem(const std::string& fsType) {
    return fsType == "fuse" || fsType == "fuseblk" || fsType.rfind("fuse.", 0) == 0;
}

std::optional<MountEntry> parseMountInfoLine(std::string_view line) {
    // The kernel escapes white space inside fields; a raw tab or NUL is damage.
    if (line.find_first_of(std::string_view("\t\0", 2)) != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto space = line.find(' ', start);
        fields.push_back(line.substr(start, space == std::string_view::npos ? space : space - start));
        if (space == std::string_view::npos)
            break;
        start = space + 1;
    }
    // Six fixed fields, optional "tag:value" fields, "-", then type, source and super options.
    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-")
        ++separator;
    if (separator >= fields.size() || fields.size() != separator + 4)
        return std::nullopt;
    for (const std::string_view field : fields) {
        if (field.empty())
            return std::nullopt;
    }
    for (std::size_t i = 6; i < separator; ++i) {
        if (!isOptionalField(fields[i]))
            return std::nullopt;
    }
    if (!isOptionList(fields[5]) || !isOptionList(fields[separator + 3]))
        return std::nullopt;
    const auto id = number(fields[0]);
    const auto parent = number(fields[1]);
    const auto device = linuxfs::parseDeviceNumber(fields[2]);
    if (!id || *id == 0 || *id > static_cast<unsigned>(std::numeric_limits<int>::max()) || !parent || !device ||
        fields[4].front() != '/')
        return std::nullopt;

    MountEntry entry;
    entry.id = static_cast<int>(*id);
    entry.major = device->major;
    entry.minor = device->minor;
    entry.root = unescape(fields[3]);
    entry.target = unescape(fields[4]);
    entry.fsType = unescape(fields[separator + 1]);
    entry.source = unescape(fields[separator + 2]);
    // Read-only either at this mount point or for the whole file system.
    entry.readOnly = hasOption(std::string(fields[5]), "ro") || hasOption(std::string(fields[separator + 3]), "ro");
    // As libmount classes a mount: a type on both lists (nfsd) is a pseudo file system.
    entry.pseudoType = mnt_fstype_is_pseudofs(entry.fsType.c_str()) != 0;
    entry.networkType = !entry.pseudoType && mnt_fstype_is_netfs(entry.fsType.c_str()) != 0;
    return entry;
}

std::vector<MountEntry> parseMountTable(std::string_view text) {
    // Parsed line by line rather than by libmount, which guesses the format from the first line
    // and reads a whole table as an fstab when that line is damaged.
    std::vector<MountEntry> entries;
    for (const std::string_view line : linuxfs::splitLines(text)) {
        if (auto entry = parseMountInfoLine(line))
            entries.push_back(std::move(*entry));
    }
    return entries;
}

std::vector<MountEntry> readMountTable(const std::string& mountinfoPath) {
    const auto text = linuxfs::readFile(mountinfoPath, kMaxTableBytes);
    return text ? parseMountTable(*text) : std::vector<MountEntry>{};
}

MountTableWatch::MountTableWatch(std::string mountinfoPath) : path_(std::move(mountinfoPath)) {}

MountTableWatch::~MountTableWatch() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool MountTableWatch::changed() {
    bool changed = !last_.has_value();
    if (fd_ < 0)
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        last_.reset();
        return true;
    }
    // Asking consumes the event: the next poll reports only changes after this one.
    pollfd poller{fd_, POLLPRI, 0};
    if (::poll(&poller, 1, 0) > 0 && (poller.revents & (POLLPRI | POLLERR)) != 0)
        changed = true;
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) {
        last_.reset();
        return true;
    }
    const FileState now{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
    if (last_ && (last_->device != now.device || last_->inode != now.inode || last_->size != now.size ||
                  !sameTime(last_->modified, now.modified) || !sameTime(last_->statusChanged, now.statusChanged)))
        changed = true;
    last_ = now;
    return changed;
}

}  // namespace zelvo::platform::drives
