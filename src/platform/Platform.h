#pragma once
// The operating system as the pages see it, one interface per capability, each answered with the
// Windows meaning of its calls by every backend (the simulated machine, Linux, Windows), so the
// page logic is written once. Each backend hands out the unit that owns each answer; a probe asks
// for the capabilities it uses and includes only their headers.
//
// Failure comes back one way per kind of call: a query that can fail answers std::optional (nullopt:
// it failed), an action answers bool (false: it failed), and the registry calls answer the Windows
// status code (kRegSuccess or the RegStatus of the failure) with their results in out-parameters,
// as the registry wrapper and the pages expect. Queries that change nothing are const.

#include <memory>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/DisplaySettings.h"
#include "platform/Drives.h"
#include "platform/Memory.h"
#include "platform/ProgramFiles.h"
#include "platform/Registry.h"
#include "platform/SystemIdentity.h"
#include "platform/TextLocale.h"

namespace zelvo::platform {

class Platform {
public:
    virtual ~Platform() = default;

    virtual SystemIdentity& identity() = 0;
    virtual Registry& registry() = 0;
    virtual Memory& memory() = 0;
    virtual Drives& drives() = 0;
    virtual DisplaySettings& display() = 0;
    virtual Clock& clock() = 0;
    virtual TextLocale& text() = 0;
    virtual ProgramFiles& files() = 0;
    virtual Desktop& desktop() = 0;
};

// The backend this build runs on: Linux or Windows, chosen at build time.
std::unique_ptr<Platform> createSystemPlatform();

}  // namespace zelvo::platform
