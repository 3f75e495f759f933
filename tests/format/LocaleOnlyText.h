#pragma once
// Text and locale with the separator settings the test chooses, recording how they were asked; the
// code page is UTF-8.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/TextLocale.h"

namespace zelvo::test {

class LocaleOnlyText : public platform::TextLocale {
public:
    struct Query {
        platform::LocaleItem item;
        std::uint32_t bufferChars;
    };

    // nullopt: the query fails. Otherwise the string the query returns.
    LocaleOnlyText(std::optional<std::string> thousands, std::optional<std::string> decimal)
        : thousands_(std::move(thousands)), decimal_(std::move(decimal)) {}

    const std::vector<Query>& queries() const { return queries_; }

    std::optional<platform::CodePageText> getLocaleInfo(platform::LocaleItem item,
                                                        std::uint32_t bufferChars) const override {
        queries_.push_back({item, bufferChars});
        return platform::codePageText(item == platform::LocaleItem::ThousandSeparator ? thousands_ : decimal_);
    }
    void resetThreadLocale() override {}

    std::string toUtf8(const platform::CodePageText& text) const override { return text.bytes(); }
    platform::CodePageText fromUtf8(std::string_view utf8) const override {
        return platform::CodePageText(std::string(utf8));
    }
    bool isLeadByte(std::uint8_t) const override { return false; }
    bool hasLeadBytes() const override { return false; }

private:
    std::optional<std::string> thousands_;
    std::optional<std::string> decimal_;
    mutable std::vector<Query> queries_;  // the const query records itself too
};

}  // namespace zelvo::test
