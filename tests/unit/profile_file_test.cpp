#include <gtest/gtest.h>

#include <string>

#include "settings/ProfileFile.h"

namespace {

using namespace std::string_literals;

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

std::string Repeat(const std::string& unit, std::size_t times) {
    std::string out;
    while (times-- > 0) out += unit;
    return out;
}

// The last rows are damaged or foreign files: they must never bring the reader down, and
// a good line after the damage is still read.
TEST(ProfileFile, GivesTheValueWindowsWouldGive) {
    const std::string longLine(3'000'000, 'L');
    std::string garbage;
    for (unsigned i = 0; i < 200'000; ++i) garbage += static_cast<char>(i * 2654435761u >> 24);
    const struct {
        const char* name;
        std::string file;
        const char* key;
        std::string expected;
    } cases[] = {
        {"names, accented ones too, ignore letter case",
         "[dIR]\nR\xC9"
         "F=1\n",
         "r\xC3\xA9"
         "f",
         "1"},
        {"first of two equal keys wins", "[Dir]\nA=first\na=second\n", "A", "first"},
        {"only the first equal section is searched", "[Dir]\nA=1\n[DIR]\nB=2\n", "B", "<default>"},
        {"key before any section belongs to none", "B=1\n[Dir]\nA=2\n", "B", "<default>"},
        {"blanks around names and values", "  [ Dir ]  \n\t A \t=  C:\\Program Files\\Q  \n", "A",
         "C:\\Program Files\\Q"},
        {"double quotes go, inner blanks stay", "[Dir]\nA=\"  x  \"\n", "A", "  x  "},
        {"single quotes go", "[Dir]\nA='x'\n", "A", "x"},
        {"unmatched quotes stay", "[Dir]\nA=\"x'\n", "A", "\"x'"},
        {"comment line skipped", "[Dir]\n  ;A=commented\nA=real\n", "A", "real"},
        {"semicolon and equals inside a value kept", "[Dir]\nA=x ; y=z\n", "A", "x ; y=z"},
        {"last line without line end", "[Dir]\nA=last", "A", "last"},
        {"empty value is found, not defaulted", "[Dir]\nA=\n", "A", ""},
        {"nul byte ends the value", "[Dir]\nA=ab\0cd\n"s, "A", "ab"},
        {"windows-1252 becomes utf-8", "[Dir]\nA=\xE9\x80\n", "A", "\xC3\xA9\xE2\x82\xAC"},
        {"undefined 1252 byte keeps its value", "[Dir]\nA=\x81\n", "A", "\xC2\x81"},
        {"utf-8 after its bom is not read as 1252", "\xEF\xBB\xBF[Dir]\nA=\xC3\xA9\n", "A", "\xC3\xA9"},
        {"utf-16 after its bom", Utf16Le("[Dir]\r\nA=C:\\Log\r\n"), "A", "C:\\Log"},
        {"cut at 511 bytes, a 1252 accent counting one", "[Dir]\nA=" + std::string(600, '\xE9'), "A",
         Repeat("\xC3\xA9", 511)},
        {"utf-8 never cut inside a character", "\xEF\xBB\xBF[Dir]\nA=" + Repeat("\xC3\xA9", 300), "A",
         Repeat("\xC3\xA9", 255)},
        {"utf-16 counts two bytes a character", Utf16Le("[Dir]\nA=" + std::string(300, 'y')), "A",
         std::string(255, 'y')},
        {"binary garbage before the section", "x" + garbage + "\n[Dir]\nA=found\n", "A", "found"},
        {"lines of megabytes", "[Dir]\n" + longLine + "\nA=found\n[" + longLine, "A", "found"},
        {"utf-8 cut inside a character", "\xEF\xBB\xBF[Dir]\nA=found\n\xE2\x82", "A", "found"},
        {"utf-8 beyond U+10FFFF is no character", "\xEF\xBB\xBF[Dir]\nA=a\xF4\x90\x80\x80z\n", "A",
         "a" + Repeat("\xEF\xBF\xBD", 4) + "z"},
        {"utf-16 with an odd last byte", Utf16Le("[Dir]\nA=found\n") + "\x41"s, "A", "found"},
        {"utf-16 ending in a lone surrogate", Utf16Le("[Dir]\nA=found\n") + "\x00\xD8"s, "A", "found"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileFile::Parse(c.file).GetString("Dir", c.key, "<default>"), c.expected) << c.name;
    }
}

}  // namespace
