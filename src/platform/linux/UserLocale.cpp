#include "platform/linux/UserLocale.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <memory>
#include <utility>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

namespace {

// A value with one pair of surrounding quotes removed.
std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::optional<std::string> numericLocaleOfPlasmaFormats(const std::string& path) {
    const QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
    for (const char* key : {"Formats/LC_NUMERIC", "Formats/LANG"}) {
        const QString name = settings.value(QLatin1String(key)).toString().trimmed();
        if (!name.isEmpty())
            return name.toStdString();
    }
    return std::nullopt;
}

}  // namespace

std::vector<LocaleSettingsFile> localeSettingsFiles(const std::string& configHome, const std::string& etc) {
    using Format = LocaleSettingsFile::Format;
    return {{Format::PlasmaFormats, configHome + "/plasma-localerc"},
            {Format::LocaleConf, configHome + "/locale.conf"},
            {Format::LocaleConf, linuxfs::joinPath(etc, "/locale.conf")},
            {Format::LocaleConf, linuxfs::joinPath(etc, "/default/locale")}};
}

std::optional<std::string> numericLocaleOfLocaleConf(std::string_view text) {
    std::optional<std::string> lang;
    std::optional<std::string> numeric;
    for (const std::string_view rawLine : linuxfs::splitLines(text)) {
        const std::string_view line = linuxfs::trim(rawLine);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos)
            continue;
        const std::string_view key = linuxfs::trim(line.substr(0, equals));
        const std::string_view value = unquoted(linuxfs::trim(line.substr(equals + 1)));
        if (value.empty())
            continue;
        if (key == "LC_NUMERIC")
            numeric = std::string(value);
        else if (key == "LANG")
            lang = std::string(value);
    }
    return numeric ? numeric : lang;
}

std::optional<std::string> configuredNumericLocale(const std::vector<LocaleSettingsFile>& files) {
    for (const LocaleSettingsFile& file : files) {
        std::optional<std::string> name;
        if (file.format == LocaleSettingsFile::Format::PlasmaFormats) {
            if (linuxfs::readFile(file.path))  // QSettings would read a missing file as empty
                name = numericLocaleOfPlasmaFormats(file.path);
        } else if (const std::optional<std::string> text = linuxfs::readFile(file.path)) {
            name = numericLocaleOfLocaleConf(*text);
        }
        if (name)
            return name;
    }
    return std::nullopt;
}

UserLocaleSource::UserLocaleSource(std::vector<LocaleSettingsFile> files, std::function<QLocale()> processLocale,
                                   bool environmentOverrides)
    : files_(std::move(files)), processLocale_(std::move(processLocale)), environmentOverrides_(environmentOverrides) {}

QLocale UserLocaleSource::operator()() {
    if (environmentOverrides_)
        return processLocale_();
    const std::optional<std::string> configured = configuredNumericLocale(files_);
    if (!asked_) {
        asked_ = true;
        configuredAtFirst_ = configured;
        return processLocale_();
    }
    if (configured && configured != configuredAtFirst_)
        return QLocale(QString::fromStdString(*configured));  // Qt reads "fr_FR.UTF-8", "C", "POSIX"
    return processLocale_();
}

std::string userConfigHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
}

std::function<QLocale()> makeUserLocaleSource(std::vector<LocaleSettingsFile> files) {
    auto source = std::make_shared<UserLocaleSource>(
        std::move(files), [] { return QLocale::system(); }, !qEnvironmentVariableIsEmpty("LC_ALL"));
    return [source] { return (*source)(); };
}

}  // namespace zelvo::platform
