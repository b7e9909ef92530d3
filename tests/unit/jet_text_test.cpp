#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/mdbwriter/JetText.h"
#include "tools/mdbwriter/WriteError.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct EncodeCase {
    const char* what;
    std::string utf8;
    bool compressible;
    Bytes stored;
};

TEST(JetTextTest, StoresTextCompressedWhereAZeroByteCannotBeMistakenForASwitch) {
    const std::vector<EncodeCase> cases = {
        {"empty text stores nothing", "", true, {}},
        {"ASCII is compressed behind the FF FE mark", "PA3", true, {0xFF, 0xFE, 'P', 'A', '3'}},
        {"Latin-1 letters still fit one byte", "\xC3\xA9", true, {0xFF, 0xFE, 0xE9}},
        {"mixed text is compressed only when the runs come out shorter", "a\xE2\x82\xAC", true, {'a', 0, 0xAC, 0x20}},
        {"mixed text switches to a two-byte run and back",
         "\xC5\x81ukasz",
         true,
         {0xFF, 0xFE, 0x00, 0x41, 0x01, 0x00, 'u', 'k', 'a', 's', 'z'}},
        {"a wide character with a zero low byte would read as a switch: UCS-2",
         "\xC4\x80"
         "abcde",
         true,
         {0x00, 0x01, 'a', 0, 'b', 0, 'c', 0, 'd', 0, 'e', 0}},
        {"a long memo is never compressed", "PA", false, {'P', 0, 'A', 0}},
        {"a character outside the BMP becomes a surrogate pair", "\xF0\x9F\x99\x82", true, {0x3D, 0xD8, 0x42, 0xDE}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(jet::JetText::Encode(jet::JetText::ToUtf16(c.utf8, "test"), c.compressible), c.stored) << c.what;
    }
}

TEST(JetTextTest, RefusesMalformedUtf8InsteadOfStoringGarbage) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"stray continuation byte", "a\x80"},     {"sequence cut off at the end", "a\xC3"},
        {"overlong encoding of '/'", "\xC0\xAF"}, {"encoded surrogate", "\xED\xA0\x80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80"},    {"lead byte 0xFF", "\xFF"},
    };
    for (const auto& [what, text] : cases) {
        try {
            jet::JetText::ToUtf16(text, "column \"X\"");
            ADD_FAILURE() << what << ": accepted";
        } catch (const jet::WriteError& e) {
            EXPECT_NE(std::string(e.what()).find("column \"X\""), std::string::npos) << what << ": " << e.what();
        }
    }
}

}  // namespace
