#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "data/JetTextDecoder.h"
#include "tools/mdbwriter/JetText.h"

namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Decoded(const std::string& stored) {
    std::string out = "left over from the value before";
    JetTextDecoder::Decode(stored, out);
    return out;
}

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(JetTextDecoder, TurnsEveryStoredFormIntoUtf8) {
    struct Case {
        const char* what;
        std::string stored;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"empty value", "", ""},
        {"only the compression mark", Bytes({0xFF, 0xFE}), ""},
        {"compressed ASCII", Bytes({0xFF, 0xFE, 'P', 'A', '3'}), "PA3"},
        {"a compressed byte is its Latin-1 character, not Windows-1252", Bytes({0xFF, 0xFE, 0x80, 0xE9, 0xFC}),
         "\xC2\x80\xC3\xA9\xC3\xBC"},
        {"UCS-2 accented letters", Bytes({'J', 0, 0xFC, 0, 'r', 0}), "J\xC3\xBCr"},
        {"UCS-2 of the Windows-1252 range: euro, S caron, low quote", Bytes({0xAC, 0x20, 0x60, 0x01, 0x1E, 0x20}),
         "\xE2\x82\xAC\xC5\xA0\xE2\x80\x9E"},
        {"UCS-2 CJK", Bytes({0xD7, 0x53, 0xE1, 0x4F}), "\xE5\x8F\x97\xE4\xBF\xA1"},
        {"a surrogate pair is one four-byte character", Bytes({0x3D, 0xD8, 0x42, 0xDE}), "\xF0\x9F\x99\x82"},
        {"runs: one-byte, two-byte, one-byte again", Bytes({0xFF, 0xFE, 'a', 0, 0xAC, 0x20, 0, 'b'}),
         "a\xE2\x82\xAC"
         "b"},
        {"a run may start with the value", Bytes({0xFF, 0xFE, 0, 0x41, 0x01, 0, 'u'}), "\xC5\x81u"},
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
    for (const Case& c : cases) EXPECT_EQ(Decoded(c.stored), c.utf8) << c.what;
}

// Whatever our writer stores, in any of its forms, reads back as the text it was given.
TEST(JetTextDecoder, ReadsBackWhatTheWriterStores) {
    const std::vector<std::string> pieces = {"a",
                                             "Z",
                                             " ",
                                             "\xC3\xBC" /* ü */,
                                             "\xC3\xBF" /* ÿ */,
                                             "\xE2\x82\xAC" /* € */,
                                             "\xC5\xA0",
                                             "\xE2\x80\x9E",
                                             "\xE5\x8F\x97",
                                             "\xC4\x80" /* U+0100, low byte 0 */,
                                             "\xE4\xB8\x80" /* U+4E00 */,
                                             "\xF0\x9F\x99\x82",
                                             "\xF0\x9D\x84\x9E",
                                             "\xF0\x90\x80\x80" /* U+10000 */};
    std::mt19937 random(4711);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 12); n > 0; --n) text += pieces[random() % pieces.size()];
        const auto units = jet::JetText::ToUtf16(text, "test");
        for (bool compressible : {true, false}) {
            const auto stored = jet::JetText::Encode(units, compressible);
            EXPECT_EQ(Decoded(std::string(stored.begin(), stored.end())), text)
                << "compressible " << compressible << ", text \"" << text << '"';
        }
    }
}

}  // namespace
