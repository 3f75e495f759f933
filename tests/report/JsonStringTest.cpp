#include "report/JsonString.h"

#include <gtest/gtest.h>

#include <string>

namespace zelvo {
namespace {

struct JsonStringCase {
    const char* name;
    std::string bytes;
    std::string literal;
};

TEST(JsonString, EscapesAndReplacements) {
    const JsonStringCase cases[] = {
        {"plain", "c: [system]", "\"c: [system]\""},
        {"quote and backslash", "\\\\srv\\\"x\"", "\"\\\\\\\\srv\\\\\\\"x\\\"\""},
        {"short controls", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
        {"other controls and DEL", std::string("\x00\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\\u007f\""},
        {"two-byte", "\xc3\xa4", "\"\\u00e4\""},
        {"three-byte with full-width space", "\xe3\x80\x80\xe7\x99\xbb", "\"\\u3000\\u767b\""},
        {"four-byte as surrogate pair", "\xf0\x9f\x98\x80", "\"\\ud83d\\ude00\""},
        {"lone continuation byte", "a\x80z", "\"a\\ufffdz\""},
        {"overlong slash", "\xc0\xaf", "\"\\ufffd\\ufffd\""},
        {"overlong three-byte", "\xe0\x80\xaf", "\"\\ufffd\\ufffd\\ufffd\""},
        {"surrogate encoded", "\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},
        {"above U+10FFFF", "\xf4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},
        {"cut-off at the end", "x\xe3\x80", "\"x\\ufffd\\ufffd\""},
        {"CP932 bytes", "\x83\x65", "\"\\ufffde\""},
        {"highest code point", "\xf4\x8f\xbf\xbf", "\"\\udbff\\udfff\""},
        {"empty", "", "\"\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(JsonString(c.bytes), c.literal);
    }
}

}  // namespace
}  // namespace zelvo
