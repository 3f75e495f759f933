#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace zelvo::platform;

namespace {

struct CountCase {
    const char* utf8;
    std::size_t bytes;
};

TEST(CodePage, ByteCountsInCp932) {
    const CountCase cases[] = {
        {"", 0},
        {"ZELVO", 5},
        {"山田太郎佐藤花子", 16},  // eight kanji, two bytes each
        {"ｿﾌﾄｳｪｱ", 6},             // half-width katakana, one byte each
        {"ソフトウェア", 12},      // full-width katakana
        {"ＰＣ名", 6},             // full-width Latin letters
        {"PC 名前", 7},
        {"\u3000", 2},  // ideographic space
        {"①", 2},       // NEC special characters are in CP932
        {"€", 1},       // not in CP932: one '?'
        {"한", 1},
        {"😀", 1},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(cp932::byteCount(c.utf8), c.bytes);
        EXPECT_EQ(cp932::fromUtf8(c.utf8).size(), c.bytes);
    }
}

struct BytesCase {
    const char* utf8;
    std::string cp932;
};

TEST(CodePage, KnownEncodingsAndRoundTrip) {
    const BytesCase cases[] = {
        {"A\\b", "A\\b"},    // 0x5C stays a backslash
        {"表", "\x95\x5C"},  // trail byte equal to a backslash
        {"ソ", "\x83\x5C"},
        {"ア", "\x83\x41"},
        {"ｱ", "\xB1"},
        {"～", "\x81\x60"},  // FULLWIDTH TILDE, Windows' mapping
        {"山田 太郎", "\x8E\x52\x93\x63 \x91\xBE\x98\x59"},
    };
    for (const BytesCase& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(cp932::fromUtf8(c.utf8), c.cp932);
        EXPECT_EQ(cp932::toUtf8(c.cp932), c.utf8);
    }
}

struct ReplaceCase {
    const char* what;
    std::string input;
    std::string output;
};

TEST(CodePage, UnconvertibleCharactersBecomeQuestionMarks) {
    const ReplaceCase toCp932[] = {
        {"emoji", "A😀B", "A?B"},
        {"two in a row", "😀😀", "??"},
        {"invalid UTF-8 byte",
         "A\xFF"
         "B",
         "A?B"},
        {"cut-off sequence at the end", "A\xE5\xB1", "A?"},
        {"cut-off sequence in the middle",
         "\xE5\xB1"
         "A",
         "?A"},
    };
    for (const ReplaceCase& c : toCp932) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cp932::fromUtf8(c.input), c.output);
    }
    const ReplaceCase toUtf8[] = {
        {"lone lead byte at the end", "A\x81", "A?"},
        {"lead byte before an invalid trail",
         "\x81\x20"
         "B",
         "? B"},
        {"unassigned double-byte code",
         "A\x85\x40"
         "B",
         "A?B"},
        {"byte that is never valid",
         "A\xFD"
         "B",
         "A?B"},
    };
    for (const ReplaceCase& c : toUtf8) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cp932::toUtf8(c.input), c.output);
    }
}

TEST(CodePage, LongTextsConvertWhole) {
    std::string utf8;
    for (int i = 0; i < 2000; ++i)
        utf8 += "漢字かなｶﾅ";
    const std::string bytes = cp932::fromUtf8(utf8);
    EXPECT_EQ(bytes.size(), 2000u * 10u);
    EXPECT_EQ(cp932::toUtf8(bytes), utf8);
}

TEST(CodePage, LeadBytes) {
    const struct {
        int byte;
        bool lead;
    } cases[] = {{0x00, false}, {0x41, false}, {0x5C, false}, {0x7F, false}, {0x80, false},
                 {0x81, true},  {0x9F, true},  {0xA0, false}, {0xA1, false}, {0xDF, false},
                 {0xE0, true},  {0xEF, true},  {0xFC, true},  {0xFD, false}, {0xFF, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.byte);
        EXPECT_EQ(cp932::isLeadByte(static_cast<std::uint8_t>(c.byte)), c.lead);
    }
    // Every double-byte character starts with a lead byte.
    for (const char* text : {"漢", "ア", "Ａ", "①", "～"})
        EXPECT_TRUE(cp932::isLeadByte(static_cast<std::uint8_t>(cp932::fromUtf8(text)[0]))) << text;
}

}  // namespace
