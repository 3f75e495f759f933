#pragma once
// The real Linux machine, answering the platform calls with their Windows meaning: the NT family,
// a registry filled from /proc and /sys with a per-user file for the registration values, the
// host name as the computer name, the display server's modes. Every file is read below the roots, so
// tests run it against recorded machines.

#include <QLocale>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryTree.h"
#include "platform/SelfAnsweringPlatform.h"
#include "platform/linux/LinuxRoots.h"
#include "platform/linux/UserLocale.h"

namespace zelvo::platform {

class CgroupMemory;
class CycleCounter;
class HostnameService;
class LinuxDrives;
class LocaleSettingsWatch;
class XrandrSource;

struct LinuxPlatformOptions {
    LinuxRoots roots;
    // Directory of the registration file; empty: $XDG_CONFIG_HOME/zelvo.
    QString registrationDirectory;
    // Owner shown before anything was registered; unset: the account's full name from passwd.
    std::optional<std::string> defaultOwner;
    // Host-name setter; null: systemd-hostnamed over D-Bus.
    std::shared_ptr<HostnameService> hostnameService;
    // XRandR query; null: the X server of $DISPLAY.
    std::shared_ptr<XrandrSource> xrandr;
    // The user's configuration folder, where the user's own locale settings are; empty: the
    // standard one ($XDG_CONFIG_HOME, else ~/.config).
    std::string configHome;
    // The user's locale, asked at start and at each reset; null: the process's locale at start, the
    // user's current settings after a change, read from the settings files below `configHome` and
    // `roots.etc` (see UserLocale.h).
    std::function<QLocale()> systemLocale;
    // How long after the desktop is connected the watch on the locale settings starts: the window's
    // first paint does not need it.
    std::chrono::milliseconds localeWatchDelay{2000};
    // The user's cache folder, where TempData is made (in its "zelvo" folder); unset: the user's own
    // ($XDG_CACHE_HOME, else ~/.cache); empty: none, so TempData is made nowhere.
    std::optional<std::string> cacheHome;
    // PCI name databases, first readable wins.
    std::vector<std::string> pciIdsFiles = {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"};
};

// The Linux backend answers most capabilities itself, from the files below its roots; the
// registry is a RegistryTree it fills, the drives are LinuxDrives'.
class LinuxPlatform final : public SelfAnsweringPlatform {
public:
    explicit LinuxPlatform(LinuxPlatformOptions options = {});
    ~LinuxPlatform() override;

    RegistryTree& registry() override { return registry_; }
    Drives& drives() override;

private:
    ZELVO_SELF_ANSWERED_CALLS;
    // The toolkit supplies what the platform layer may not do itself (it uses no Qt Widgets): the
    // beep, the window system, the current screen as the display fallback of last resort. With
    // `settingsChanged` set, the locale settings files are watched from then on (the event loop
    // delivers the changes) and a change of the numeric locale they name calls it.
    void connectDesktop(DesktopServices services) override;
    // In the user's cache folder, not beside the program: that is /usr/bin for an installed program,
    // which belongs to the package manager.
    bool createTempData() override;

    std::vector<DisplayMode> readDisplayModes() const;
    std::string kernelRelease() const;

    LinuxRoots roots_;
    std::optional<std::string> cacheHome_;
    RegistryTree registry_;
    std::shared_ptr<HostnameService> hostnameService_;
    std::shared_ptr<XrandrSource> xrandr_;
    std::chrono::milliseconds localeWatchDelay_;
    std::vector<LocaleSettingsFile> localeFiles_;
    std::function<QLocale()> systemLocale_;
    QLocale threadLocale_;
    DesktopServices desktop_;
    std::unique_ptr<LocaleSettingsWatch> localeWatch_;
    // Caches of the queries: the modes of the last enumeration from index 0, the cgroup files
    // found at the first memory query.
    mutable std::vector<DisplayMode> displayModes_;
    mutable bool displayModesRead_ = false;
    std::unique_ptr<CycleCounter> cycleCounter_;
    std::unique_ptr<LinuxDrives> drives_;
    mutable std::unique_ptr<CgroupMemory> cgroupMemory_;
};

}  // namespace zelvo::platform
