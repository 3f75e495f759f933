#pragma once
// The platform calls answered from a SimMachine, with the Windows meaning of each call and CP932
// as the code page.

#include <memory>

#include "platform/RegistryTree.h"
#include "platform/SelfAnsweringPlatform.h"
#include "platform/sim/SimMachine.h"

namespace zelvo::platform {

// The simulated machine answers every capability but the registry itself; the registry is the
// machine's RegistryTree. The calls are protected: tests derive from it to watch or fail one.
class SimPlatform : public SelfAnsweringPlatform, protected Drives {
public:
    // Answers from a machine the caller keeps alive and may edit between calls.
    explicit SimPlatform(SimMachine& machine);
    // Answers from a machine it owns, e.g. SimPlatform(makeNtMachine()).
    explicit SimPlatform(SimMachine&& machine);

    SimMachine& machine() { return *machine_; }
    const SimMachine& machine() const { return *machine_; }

    Registry& registry() override { return machine_->registry; }
    Drives& drives() override { return *this; }

protected:
    ZELVO_SELF_ANSWERED_CALLS;
    ZELVO_DRIVES_CALLS;

private:
    // The drive a path lies on: "X:..." by its letter, "\\server\share..." by a connected
    // network drive; the current directory's drive for an empty path.
    SimDrive* driveOfPath(const std::string& utf8Path) const;
    // The drive of an exact root "X:\"; null for anything else.
    SimDrive* driveOfRoot(const std::string& root) const;
    // A drive whose medium can be read; counts the prompt Windows would have shown otherwise.
    SimDrive* readableDrive(SimDrive* drive) const;

    std::unique_ptr<SimMachine> owned_;
    SimMachine* machine_;
};

}  // namespace zelvo::platform
