// A user-space file system whose driver takes requests and never answers, with a tmpfs and a bind
// mount below it, in a private mount namespace: what a hung ntfs-3g under /media or a dead sshfs
// leaves behind. The stand-in driver speaks the kernel's FUSE protocol itself (linux/fuse.h): it
// answers while the mounts are set up, then reads every request and answers none, so a process
// that asks is held in the kernel without end.
//
//   hung_fuse_check
//
// Then it does what the window does: rebuilds the drive list, and reads the disk page of the
// tmpfs drive twice. It prints "key value" lines as it goes: driver (the driver's pid, which the
// caller kills when done), drive_list_ms, inner_letter, bound_letter, disk_query_ms, disk_size,
// repeat_query_ms, and last, last_call_ns (CLOCK_MONOTONIC) just before it returns from main.
// Exit status 77 with a "skip" line where the machine has no /dev/fuse or allows no private
// mount namespace (not root, a container without the right).
//
// Runs apart from the test program: it changes its mount namespace and forks, which a program with
// other threads running cannot do safely.

#include <fcntl.h>
#include <linux/fuse.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/DisplayModes.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/HostnameService.h"
#include "platform/linux/LinuxPlatform.h"
#include "probes/DiskFigures.h"

using namespace zelvo;
using namespace zelvo::platform;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr const char* kScratch = "/mnt";
constexpr const char* kHung = "/mnt/hung";
constexpr const char* kInner = "/mnt/hung/inner";  // a tmpfs below the FUSE mount
constexpr const char* kBound = "/mnt/hung/bound";  // a bind mount below it
constexpr const char* kSource = "/mnt/source";     // the bind mount's file system, unmounted after

int fail(const char* what) {
    std::printf("error %s: %s\n", what, std::strerror(errno));
    return 1;
}

fuse_attr directoryAttr(std::uint64_t node) {
    fuse_attr attr{};
    attr.ino = node;
    attr.mode = S_IFDIR | 0755;
    attr.nlink = 2;
    attr.blksize = 4096;
    return attr;
}

void reply(int fd, std::uint64_t unique, int error, const void* body, std::size_t size) {
    std::vector<char> message(sizeof(fuse_out_header) + size);
    fuse_out_header header{};
    header.len = static_cast<std::uint32_t>(message.size());
    header.error = -error;
    header.unique = unique;
    std::memcpy(message.data(), &header, sizeof header);
    if (size > 0)
        std::memcpy(message.data() + sizeof header, body, size);
    [[maybe_unused]] const auto written = ::write(fd, message.data(), message.size());
}

// Answers INIT, LOOKUP of the two mount points (never cached: every walk asks again) and GETATTR
// until a byte arrives on `control`; from then on reads every request and answers none.
[[noreturn]] void serve(int fuse, int control, int acknowledge) {
    // Whatever becomes of the caller, the driver ends within a minute, and with it every hang.
    ::alarm(60);
    std::vector<char> buffer(FUSE_MIN_READ_BUFFER + 128 * 1024);
    bool hanging = false;
    for (;;) {
        pollfd fds[2] = {{fuse, POLLIN, 0}, {control, POLLIN, 0}};
        if (::poll(fds, hanging ? 1 : 2, -1) < 0 && errno != EINTR)
            ::_exit(1);
        if (!hanging && (fds[1].revents & (POLLIN | POLLHUP))) {
            hanging = true;
            [[maybe_unused]] const auto written = ::write(acknowledge, "h", 1);
            continue;
        }
        if (!(fds[0].revents & POLLIN))
            continue;
        const ssize_t n = ::read(fuse, buffer.data(), buffer.size());
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == ENOENT))
            continue;
        if (n < static_cast<ssize_t>(sizeof(fuse_in_header)))
            ::_exit(0);  // unmounted or aborted
        if (hanging)
            continue;
        fuse_in_header in{};
        std::memcpy(&in, buffer.data(), sizeof in);
        const char* body = buffer.data() + sizeof in;
        switch (in.opcode) {
            case FUSE_INIT: {
                fuse_init_in init{};
                std::memcpy(&init, body, std::min(sizeof init, static_cast<std::size_t>(n) - sizeof in));
                fuse_init_out out{};
                out.major = FUSE_KERNEL_VERSION;
                out.minor = std::min<std::uint32_t>(init.minor, FUSE_KERNEL_MINOR_VERSION);
                out.max_readahead = init.max_readahead;
                out.max_write = 4096;
                out.max_background = 16;
                out.congestion_threshold = 12;
                out.time_gran = 1;
                reply(fuse, in.unique, 0, &out, sizeof out);
                break;
            }
            case FUSE_LOOKUP: {
                const std::string name(body);
                const std::uint64_t node = name == "inner" ? 2 : name == "bound" ? 3 : 0;
                if (in.nodeid != FUSE_ROOT_ID || node == 0) {
                    reply(fuse, in.unique, ENOENT, nullptr, 0);
                    break;
                }
                fuse_entry_out out{};
                out.nodeid = node;
                out.attr = directoryAttr(node);
                reply(fuse, in.unique, 0, &out, sizeof out);
                break;
            }
            case FUSE_GETATTR: {
                fuse_attr_out out{};
                out.attr = directoryAttr(in.nodeid);
                reply(fuse, in.unique, 0, &out, sizeof out);
                break;
            }
            case FUSE_FORGET:
            case FUSE_BATCH_FORGET:
            case FUSE_INTERRUPT:
                break;  // no answer expected
            default:
                reply(fuse, in.unique, ENOSYS, nullptr, 0);
        }
    }
}

class NoHostnameService final : public HostnameService {
public:
    bool setHostName(const std::string&) override { return false; }
};

class NoXrandr final : public XrandrSource {
public:
    std::optional<XrandrScreen> query() override { return std::nullopt; }
};

double msSince(SteadyClock::time_point start) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        std::printf("skip /dev/fuse is missing or not usable: %s\n", std::strerror(errno));
        return 77;
    }
    struct stat scratch {};
    if (::stat(kScratch, &scratch) != 0 || !S_ISDIR(scratch.st_mode)) {
        std::printf("skip no %s to mount the scratch file system on\n", kScratch);
        return 77;
    }
    if (::unshare(CLONE_NEWNS) != 0) {
        std::printf("skip no private mount namespace: %s\n", std::strerror(errno));
        return 77;
    }
    // Nothing mounted here reaches the machine's namespace, and it all goes with this process.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return fail("making the mounts private");
    if (::mount("zelvo-scratch", kScratch, "tmpfs", 0, "size=4m,mode=0755") != 0)
        return fail("mounting the scratch tmpfs");
    if (::mkdir(kHung, 0755) != 0 || ::mkdir(kSource, 0755) != 0)
        return fail("making the mount points");
    if (::mount("zelvo-source", kSource, "tmpfs", 0, "size=1m") != 0 || ::mkdir("/mnt/source/dir", 0755) != 0)
        return fail("mounting the bind mount's tmpfs");

    const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fuse < 0)
        return fail("opening /dev/fuse");
    const std::string mountOptions = "fd=" + std::to_string(fuse) + ",rootmode=40000,user_id=0,group_id=0";
    if (::mount("zelvo-hung", kHung, "fuse.zelvohung", MS_NOSUID | MS_NODEV, mountOptions.c_str()) != 0) {
        std::printf("skip the kernel mounts no FUSE file system here: %s\n", std::strerror(errno));
        return 77;
    }
    int control[2];
    int acknowledge[2];
    if (::pipe(control) != 0 || ::pipe(acknowledge) != 0)
        return fail("making the driver's pipes");
    const pid_t driver = ::fork();
    if (driver < 0)
        return fail("starting the driver");
    if (driver == 0) {
        ::close(control[1]);
        ::close(acknowledge[0]);
        serve(fuse, control[0], acknowledge[1]);
    }
    ::close(fuse);
    ::close(control[0]);
    ::close(acknowledge[1]);
    std::printf("driver %d\n", static_cast<int>(driver));

    if (::mount("zelvo-inner", kInner, "tmpfs", 0, "size=1m") != 0)
        return fail("mounting the tmpfs below the FUSE mount");
    if (::mount("/mnt/source/dir", kBound, nullptr, MS_BIND, nullptr) != 0)
        return fail("bind-mounting below the FUSE mount");
    if (::umount2(kSource, MNT_DETACH) != 0)
        return fail("unmounting the bind mount's source");
    if (::chdir("/") != 0)
        return fail("leaving the current directory");
    // From here on the driver answers nothing.
    char answer = 0;
    if (::write(control[1], "h", 1) != 1 || ::read(acknowledge[0], &answer, 1) != 1)
        return fail("telling the driver to hang");

    LinuxPlatformOptions options;
    options.registrationDirectory = QStringLiteral("/mnt/config");
    options.defaultOwner = "owner";
    options.hostnameService = std::make_shared<NoHostnameService>();
    options.xrandr = std::make_shared<NoXrandr>();
    options.systemLocale = [] { return QLocale::c(); };
    LinuxPlatform platform(options);

    auto start = SteadyClock::now();
    const std::uint32_t mask = platform.drives().getLogicalDrives();
    std::printf("drive_list_ms %.1f\n", msSince(start));

    // Which letters the two drives below the hung mount got (the mount table says; nothing is
    // looked at).
    char inner = 0;
    char bound = 0;
    for (const auto& drive : drives::scanDrives(LinuxRoots{})) {
        if (drive.mount.target == kInner)
            inner = drive.letter;
        if (drive.mount.target == kBound)
            bound = drive.letter;
    }
    std::printf("inner_letter %c\nbound_letter %c\n", inner ? inner : '-', bound ? bound : '-');
    if (!inner || !(mask & (1u << (inner - 'A'))))
        return 1;

    // The disk page: the volume, then the figures, as a change of the drive selector reads them.
    const int number = inner - 'A' + 1;
    const char letter = static_cast<char>(inner - 'A' + 'a');
    start = SteadyClock::now();
    ReadVolumeTexts(platform.drives(), platform.text(), letter);
    const DriveBytes bytes = QueryDriveBytes(platform.drives(), number);
    std::printf("disk_query_ms %.1f\ndisk_size %lld\n", msSince(start), static_cast<long long>(bytes.size));
    start = SteadyClock::now();
    ReadVolumeTexts(platform.drives(), platform.text(), letter);
    QueryDriveBytes(platform.drives(), number);
    std::printf("repeat_query_ms %.1f\n", msSince(start));

    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("last_call_ns %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    return 0;
}
