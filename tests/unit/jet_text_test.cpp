#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "data/JetTextDecoder.h"
#include "tools/mdbwriter/JetText.h"

// Jet 4 text both ways: how our writer stores a value as Access would, and how the reader
// turns whatever Access stored back into UTF-8.

namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Decoded(const std::string& stored) {
    std::string out = "left over from the value before";
    JetTextDecoder::Decode(stored, out);
    return out;
}

std::string Encoded(const std::string& utf8, bool compressible) {
    const auto stored = jet::JetText::Encode(jet::JetText::ToUtf16(utf8, "test"), compressible);
    return std::string(stored.begin(), stored.end());
}

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(JetText, StoredFormsReadBackAsTheirText) {
    struct Case {
        const char* what;
        std::string stored;
        std::string utf8;
        // Whether the writer stores the text so, with compression allowed or not; nullopt for
        // forms that only Access writes, or damage.
        std::optional<bool> written = std::nullopt;
    };
    const std::vector<Case> cases = {
        {"empty text stores nothing", "", "", true},
        {"ASCII is compressed behind the FF FE mark", Bytes({0xFF, 0xFE, 'P', 'A', '3'}), "PA3", true},
        {"without compression ASCII stays UCS-2", Bytes({'P', 0, 'A', 0, '3', 0}), "PA3", false},
        {"two characters stay UCS-2: the mark would eat the saving", Bytes({'P', 0, 'A', 0}), "PA", true},
        {"one Latin-1 letter stays UCS-2", Bytes({0xE9, 0}), "\xC3\xA9", true},
        {"Latin-1 letters fit one byte", Bytes({0xFF, 0xFE, 'K', 0xF6, 'l', 'n'}), "K\xC3\xB6ln", true},
        {"UCS-2 of the Windows-1252 range: euro, S caron, low quote", Bytes({0xAC, 0x20, 0x60, 0x01, 0x1E, 0x20}),
         "\xE2\x82\xAC\xC5\xA0\xE2\x80\x9E", true},
        {"a wide character is a two-byte run between zero bytes",
         Bytes({0xFF, 0xFE, 0, 0x41, 0x01, 0, 'u', 'k', 'a', 's', 'z'}), "\xC5\x81ukasz", true},
        {"a value may end inside a two-byte run",
         Bytes({0xFF, 0xFE, 'T', 'o', 'k', 'y', 'o', ' ', 0, 0x71, 0x67, 0xAC, 0x4E}), "Tokyo \xE6\x9D\xB1\xE4\xBA\xAC",
         true},
        {"a surrogate pair is one two-byte run",
         Bytes({0xFF, 0xFE, 'H', 'i', ' ', 't', 'h', 'e', 'r', 'e', ' ', 0, 0x3D, 0xD8, 0x42, 0xDE}),
         "Hi there \xF0\x9F\x99\x82", true},
        {"a character alone outside the BMP is a UCS-2 surrogate pair", Bytes({0x3D, 0xD8, 0x42, 0xDE}),
         "\xF0\x9F\x99\x82", true},
        // A zero byte inside a two-byte run would read as the switch back to one byte.
        {"U+0100 keeps the value in UCS-2", Bytes({'a', 0, 'b', 0, 'c', 0, 0, 0x01}), "abc\xC4\x80", true},
        {"a surrogate of low byte zero keeps the value in UCS-2", Bytes({'H', 0, 'i', 0, ' ', 0, 0x3D, 0xD8, 0, 0xDE}),
         "Hi \xF0\x9F\x98\x80", true},
        {"switching too often would not save room", Bytes({'a', 0, 0x71, 0x67, 'b', 0, 0xAC, 0x4E}),
         "a\xE6\x9D\xB1"
         "b\xE4\xBA\xAC",
         true},
        {"only the compression mark", Bytes({0xFF, 0xFE}), ""},
        {"a compressed byte is its Latin-1 character, not Windows-1252", Bytes({0xFF, 0xFE, 0x80, 0xE9, 0xFC}),
         "\xC2\x80\xC3\xA9\xC3\xBC"},
        {"runs: one-byte, two-byte, one-byte again", Bytes({0xFF, 0xFE, 'a', 0, 0xAC, 0x20, 0, 'b'}),
         "a\xE2\x82\xAC"
         "b"},
        {"a two-byte run of an ASCII character", Bytes({0xFF, 0xFE, 0, 'A', 0}), "A"},
        {"a surrogate pair inside a two-byte run", Bytes({0xFF, 0xFE, 'x', 0, 0x3D, 0xD8, 0x42, 0xDE, 0, 'y'}),
         "x\xF0\x9F\x99\x82y"},
        {"a pair split by two switches still joins", Bytes({0xFF, 0xFE, 0, 0x3D, 0xD8, 0, 0, 0x42, 0xDE}),
         "\xF0\x9F\x99\x82"},
        {"U+0000 in UCS-2 is kept, not taken for the end", Bytes({'A', 0, 0, 0, 'B', 0}), std::string("A\0B", 3)},
        // Damage: replaced, never invalid UTF-8, never dropped without a trace.
        {"high surrogate at the end", Bytes({'A', 0, 0x3D, 0xD8}), "A" + kReplacement},
        {"high surrogate before an ordinary character", Bytes({0x3D, 0xD8, 'A', 0}), kReplacement + "A"},
        {"two high surrogates, then the low one", Bytes({0x3D, 0xD8, 0x3D, 0xD8, 0x42, 0xDE}),
         kReplacement + "\xF0\x9F\x99\x82"},
        {"low surrogate alone", Bytes({0x42, 0xDE, 'A', 0}), kReplacement + "A"},
        {"high surrogate before a one-byte run", Bytes({0xFF, 0xFE, 0, 0x3D, 0xD8, 0, 'a'}), kReplacement + "a"},
        {"odd byte at the end of UCS-2", Bytes({'A', 0, 'B'}), "A" + kReplacement},
        {"odd byte at the end of a two-byte run", Bytes({0xFF, 0xFE, 'a', 0, 'B'}), "a" + kReplacement},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decoded(c.stored), c.utf8) << c.what;
        if (c.written) {
            EXPECT_EQ(Encoded(c.utf8, *c.written), c.stored) << c.what << ": the writer stores it otherwise";
        }
    }
}

}  // namespace
