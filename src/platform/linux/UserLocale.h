#pragma once
// The user's locale as the regional settings stand now. A running process cannot see its
// environment change, and Qt reads that environment once, so a changed setting is read from the
// files the desktop and the system keep it in.

#include <QLocale>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo::platform {

struct LocaleSettingsFile {
    enum class Format {
        LocaleConf,     // shell-style LANG=..., LC_NUMERIC=... lines (systemd's locale.conf)
        PlasmaFormats,  // KDE's plasma-localerc: LANG and LC_NUMERIC in the [Formats] group
    };
    Format format;
    std::string path;
};

// Where the settings are kept, the user's own first: $XDG_CONFIG_HOME/plasma-localerc,
// $XDG_CONFIG_HOME/locale.conf, then the system's <etc>/locale.conf (systemd-localed's) and
// <etc>/default/locale (Debian's).
std::vector<LocaleSettingsFile> localeSettingsFiles(const std::string& configHome, const std::string& etc);

// The locale name a locale.conf text gives numbers: LC_NUMERIC, else LANG; nullopt when neither
// is set. Comments, blank lines and quotes around a value are allowed.
std::optional<std::string> numericLocaleOfLocaleConf(std::string_view text);

// The numeric locale named by the first of `files` that names one; nullopt when none does.
std::optional<std::string> configuredNumericLocale(const std::vector<LocaleSettingsFile>& files);

// Answers the user's locale each time it is asked. The first answer is the process's own locale,
// as its environment gives it (a launcher may have chosen it on purpose). A later answer is the
// configured locale once the files name another one than at the first answer: the user changed
// the setting since. An environment that overrides every setting (LC_ALL) is always obeyed.
class UserLocaleSource {
public:
    UserLocaleSource(std::vector<LocaleSettingsFile> files, std::function<QLocale()> processLocale,
                     bool environmentOverrides);
    QLocale operator()();

private:
    std::vector<LocaleSettingsFile> files_;
    std::function<QLocale()> processLocale_;
    bool environmentOverrides_;
    bool asked_ = false;
    std::optional<std::string> configuredAtFirst_;
};

// The user's configuration folder: $XDG_CONFIG_HOME, else ~/.config.
std::string userConfigHome();

// The source the Linux backend uses on the real machine: the settings `files` (see
// localeSettingsFiles), QLocale::system() as the process's locale, LC_ALL as the override.
std::function<QLocale()> makeUserLocaleSource(std::vector<LocaleSettingsFile> files);

}  // namespace zelvo::platform
