#pragma once
// The registration values (registered owner and organization) kept in a small per-user file, so
// the writable part of the registry outlasts the process without touching the machine.

#include <QString>

#include <string>
#include <string_view>

#include "platform/RegistryTree.h"

namespace zelvo::platform {

class RegistrationStore final : public RegValueStore {
public:
    // `directory` holds registration.ini; `defaultOwner` is the owner shown before anything was
    // registered.
    RegistrationStore(const QString& directory, std::string defaultOwner);

    // Re-reads the file at every call, so a value another running copy wrote shows up. Values are
    // listed in the file's (sorted) order; RegisteredOwner and RegisteredOrganization are added
    // with their defaults when the file has never held them.
    std::vector<std::pair<std::string, RegValue>> load() override;
    // Writes the values in one replacement of the whole file (a file beside it, renamed over it),
    // under a lock that dies with its process, so neither a crash nor a second running copy ever
    // leaves a half-written file, a mix of two registrations or a lock that holds the next one.
    bool store(const std::string& name, const RegValue& value) override;
    bool storeAll(const std::vector<std::pair<std::string, RegValue>>& values) override;

    QString filePath() const { return filePath_; }

private:
    // The values the file holds, without defaults.
    std::vector<std::pair<std::string, RegValue>> storedValues() const;

    QString filePath_;
    std::string defaultOwner_;
};

// The directory the program keeps the file in: $XDG_CONFIG_HOME/zelvo (~/.config/zelvo).
QString defaultRegistrationDirectory();

// The owner a fresh account shows: the full name of the passwd GECOS field (up to the first
// comma), else the login name.
std::string ownerFromAccount(std::string_view gecos, std::string_view login);

// The current user's default owner, from the passwd database.
std::string currentAccountOwner();

}  // namespace zelvo::platform
