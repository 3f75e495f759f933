#pragma once
// The seven capabilities every backend's platform object answers itself (which system this is,
// the memory, the display modes, the clocks, the text and locale, the program's files and the
// desktop), handed out by the object itself. A backend derives from this, declares the calls with
// ZELVO_SELF_ANSWERED_CALLS and hands out the registry and the drives from where it keeps them.

#include "platform/Platform.h"

namespace zelvo::platform {

class SelfAnsweringPlatform : public Platform,
                              protected SystemIdentity,
                              protected Memory,
                              protected DisplaySettings,
                              protected Clock,
                              protected TextLocale,
                              protected ProgramFiles,
                              protected Desktop {
public:
    SystemIdentity& identity() final { return *this; }
    Memory& memory() final { return *this; }
    DisplaySettings& display() final { return *this; }
    Clock& clock() final { return *this; }
    TextLocale& text() final { return *this; }
    ProgramFiles& files() final { return *this; }
    Desktop& desktop() final { return *this; }
};

}  // namespace zelvo::platform

// The seven capabilities' calls as a backend declares them, written once here; the meaning of
// each is in its capability's header. The calls with a default (currentDisplayMode,
// createTempData, connectDesktop) are declared by the backends that answer them.
#define ZELVO_SELF_ANSWERED_CALLS                                                                         \
    std::optional<OsVersion> getVersion() const override;                                                 \
    std::uint32_t computerNameBufferChars() const override;                                               \
    std::optional<CodePageText> getComputerName(std::uint32_t bufferChars) const override;                \
    bool setComputerName(const CodePageText& name) override;                                              \
    MemoryStatus globalMemoryStatus() const override;                                                     \
    std::optional<CodePageText> readRomString(std::uint32_t address) const override;                      \
    std::optional<DisplayMode> enumDisplaySettings(std::uint32_t index) const override;                   \
    std::uint32_t getTickCount() override;                                                                \
    std::uint64_t readCycleCounter() const override;                                                      \
    std::optional<CodePageText> getLocaleInfo(LocaleItem item, std::uint32_t bufferChars) const override; \
    void resetThreadLocale() override;                                                                    \
    std::string toUtf8(const CodePageText& text) const override;                                          \
    CodePageText fromUtf8(std::string_view utf8) const override;                                          \
    bool isLeadByte(std::uint8_t byte) const override;                                                    \
    bool hasLeadBytes() const override;                                                                   \
    std::optional<CodePageText> programPath() const override;                                             \
    char pathSeparator() const override;                                                                  \
    bool createDirectory(const CodePageText& path) override;                                              \
    void messageBeep(std::uint32_t type) override
