#pragma once
// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes. For tests built without Qt (QTemporaryDir does the same where Qt is there).

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace zelvo::test {

class ScopedTempDir {
public:
    ScopedTempDir() {
        std::mt19937_64 random(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto candidate = base / ("zelvo-test-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error))
                path_ = candidate;
        }
    }
    ~ScopedTempDir() {
        std::error_code error;
        if (!path_.empty())
            std::filesystem::remove_all(path_, error);
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    bool isValid() const { return !path_.empty(); }
    const std::filesystem::path& path() const { return path_; }
    // A path inside the directory, as the platform's narrow text.
    std::string filePath(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace zelvo::test
