#pragma once
// Setting the machine's host name the way the desktop's own settings do: through systemd-hostnamed,
// which asks polkit whether the user may.

#include <memory>
#include <string>
#include <string_view>

namespace zelvo::platform {

class HostnameService {
public:
    virtual ~HostnameService() = default;
    // Sets the static (persistent) host name; false when the service refuses or is unreachable.
    virtual bool setStaticHostname(const std::string& name) = 0;
};

// A host name made of RFC 1123 labels separated by dots: letters, digits and hyphens, no hyphen at
// either end of a label, 1–63 characters per label, 64 in all (the kernel's HOST_NAME_MAX).
bool isValidHostName(std::string_view name);

// The org.freedesktop.hostname1 service on the system bus, with interactive authorisation.
std::unique_ptr<HostnameService> makeDBusHostnameService();

}  // namespace zelvo::platform
