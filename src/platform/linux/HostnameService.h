#pragma once
// Setting the machine's host name the way the desktop's own settings do: through systemd-hostnamed,
// which asks polkit whether the user may.

#include <chrono>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QDBusConnection;

namespace zelvo::platform {

class HostnameService {
public:
    virtual ~HostnameService() = default;
    // Sets the static (persistent) host name and, with it, the running one; false when the
    // service refuses the static name, is unreachable or does not answer in time.
    virtual bool setHostName(const std::string& name) = 0;
};

// The kernel's host-name limit in bytes (HOST_NAME_MAX), without the terminating zero.
inline constexpr std::uint32_t kMaxHostNameBytes = HOST_NAME_MAX;

// A host name made of RFC 1123 labels separated by dots: letters, digits and hyphens, no hyphen at
// either end of a label, 1–63 characters per label, 64 in all (the kernel's HOST_NAME_MAX).
bool isValidHostName(std::string_view name);

// How long a host-name change may take, the user's answer to the authorisation prompt included.
// Reading and typing a password takes well under a minute; a service that has not answered by
// then is not going to, and the page refuses the name instead of waiting for D-Bus's own limit.
inline constexpr std::chrono::milliseconds kHostNameChangeBound{60000};

// The org.freedesktop.hostname1 service on the system bus, with interactive authorisation.
std::unique_ptr<HostnameService> makeDBusHostnameService();
// The same service on `bus`, with the whole change bounded by `bound`.
std::unique_ptr<HostnameService> makeDBusHostnameService(const QDBusConnection& bus, std::chrono::milliseconds bound);

}  // namespace zelvo::platform
