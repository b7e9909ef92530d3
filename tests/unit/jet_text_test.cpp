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

TEST(JetTextTest, CompressesTextAsAccessDoes) {
    const std::vector<EncodeCase> cases = {
        {"empty text stores nothing", "", true, {}},
        {"ASCII is compressed behind the FF FE mark", "PA3", true, {0xFF, 0xFE, 'P', 'A', '3'}},
        {"two characters stay UCS-2: the mark would eat the saving", "PA", true, {'P', 0, 'A', 0}},
        {"one Latin-1 letter stays UCS-2", "\xC3\xA9", true, {0xE9, 0}},
        {"Latin-1 letters fit one byte", "K\xC3\xB6ln", true, {0xFF, 0xFE, 'K', 0xF6, 'l', 'n'}},
        {"a wide character is a two-byte run between zero bytes",
         "\xC5\x81ukasz",
         true,
         {0xFF, 0xFE, 0, 0x41, 0x01, 0, 'u', 'k', 'a', 's', 'z'}},
        {"a value may end inside a two-byte run",
         "Tokyo \xE6\x9D\xB1\xE4\xBA\xAC",
         true,
         {0xFF, 0xFE, 'T', 'o', 'k', 'y', 'o', ' ', 0, 0x71, 0x67, 0xAC, 0x4E}},
        {"a surrogate pair is one two-byte run",
         "Hi there \xF0\x9F\x99\x82",
         true,
         {0xFF, 0xFE, 'H', 'i', ' ', 't', 'h', 'e', 'r', 'e', ' ', 0, 0x3D, 0xD8, 0x42, 0xDE}},
        {"a character alone outside the BMP is a UCS-2 surrogate pair",
         "\xF0\x9F\x99\x82",
         true,
         {0x3D, 0xD8, 0x42, 0xDE}},
        // A zero byte inside a two-byte run would read as the switch back to one byte.
        {"U+0100 keeps the value in UCS-2", "abc\xC4\x80", true, {'a', 0, 'b', 0, 'c', 0, 0, 0x01}},
        {"a surrogate of low byte zero keeps the value in UCS-2",
         "Hi \xF0\x9F\x98\x80",
         true,
         {'H', 0, 'i', 0, ' ', 0, 0x3D, 0xD8, 0x00, 0xDE}},
        {"switching too often would not save room",
         "a\xE6\x9D\xB1"
         "b\xE4\xBA\xAC",
         true,
         {'a', 0, 0x71, 0x67, 'b', 0, 0xAC, 0x4E}},
        {"without compression ASCII stays UCS-2", "PA3", false, {'P', 0, 'A', 0, '3', 0}},
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
