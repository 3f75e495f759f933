#pragma once
// Text as the machine's code page spells it: CP932 on the simulated machine, UTF-8 on Linux, the
// ANSI code page on Windows. It is a type of its own so that it cannot be passed where UTF-8 text
// (a std::string) is meant, nor the other way round; TextLocale's toUtf8 and fromUtf8 are the way
// across. Bytes the system handed over in a buffer become one through the explicit constructor.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace zelvo::platform {

class CodePageText {
public:
    CodePageText() = default;
    explicit CodePageText(std::string bytes) : bytes_(std::move(bytes)) {}

    const std::string& bytes() const { return bytes_; }
    bool empty() const { return bytes_.empty(); }
    std::size_t size() const { return bytes_.size(); }

    friend bool operator==(const CodePageText&, const CodePageText&) = default;

private:
    std::string bytes_;
};

// What a query that may fail answered, as code-page text.
inline std::optional<CodePageText> codePageText(std::optional<std::string> bytes) {
    if (!bytes)
        return std::nullopt;
    return CodePageText(std::move(*bytes));
}

}  // namespace zelvo::platform
