#pragma once
// The main window on a simulated machine, with its boxes recorded instead of shown.

#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "support/RegistryTap.h"
#include "ui/TForm1.h"

namespace zelvo::test {

// A simulated platform that also notes which calls the window makes, in order.
class RecordingPlatform : public platform::SimPlatform {
public:
    using SimPlatform::SimPlatform;
    mutable std::vector<std::string> calls;  // the const queries note themselves too

    platform::Registry& registry() override { return registry_; }

    std::optional<platform::OsVersion> getVersion() const override {
        calls.push_back("getVersion");
        return SimPlatform::getVersion();
    }
    std::optional<platform::CodePageText> getComputerName(std::uint32_t bufferChars) const override {
        calls.push_back("getComputerName");
        return SimPlatform::getComputerName(bufferChars);
    }
    std::optional<platform::DisplayMode> enumDisplaySettings(std::uint32_t index) const override {
        calls.push_back("enumDisplaySettings");
        return SimPlatform::enumDisplaySettings(index);
    }
    bool createDirectory(const platform::CodePageText& path) override {
        calls.push_back("createDirectory " + path.bytes());
        return SimPlatform::createDirectory(path);
    }

    // Index of the first call that starts with `prefix`, or -1.
    int firstCall(const std::string& prefix) const {
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].rfind(prefix, 0) == 0)
                return static_cast<int>(i);
        return -1;
    }

private:
    struct RecordingRegistry : RegistryTap {
        RecordingRegistry(platform::Registry& inner, std::vector<std::string>& calls)
            : RegistryTap(inner), calls_(calls) {}
        long regOpenKey(platform::HKey parent, const std::string& subKey, platform::RegAccess access,
                        platform::HKey* result) override {
            calls_.push_back("regOpenKey " + subKey);
            return RegistryTap::regOpenKey(parent, subKey, access, result);
        }
        std::vector<std::string>& calls_;
    };
    RecordingRegistry registry_{SimPlatform::registry(), calls};
};

struct SimWindow {
    explicit SimWindow(platform::SimMachine machineToUse, QSize screen = QSize(1024, 768),
                       TForm1::PageBuild pageBuild = TForm1::PageBuild::AllAtOnce)
        : machine(std::move(machineToUse)), platform(machine) {
        form = std::make_unique<TForm1>(platform, nullptr, pageBuild);
        form->showErrorBox = [this](const QString& message) { errors.append(message); };
        form->showRefusalBox = [this](const QString& message) { refusals.append(message); };
        form->screenSize = [screen] { return screen; };
    }

    platform::SimMachine machine;
    RecordingPlatform platform;
    QStringList errors;
    QStringList refusals;
    std::unique_ptr<TForm1> form;
};

}  // namespace zelvo::test
