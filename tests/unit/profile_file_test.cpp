#include <gtest/gtest.h>

#include <random>
#include <string>

#include "settings/ProfileFile.h"

namespace {

using namespace std::string_literals;

std::string Utf16(const std::string& ascii, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE"s : "\xFE\xFF"s;
    for (char c : ascii) {
        out += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    }
    return out;
}

struct LookupCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::string expected;
};

class ProfileLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(ProfileLookup, GivesTheValueWindowsWouldGive) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(ProfileFile::Parse(c.file).GetString(c.section, c.key, "<default>"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileLookup,
    testing::Values(
        LookupCase{"section_and_key_names_ignore_case", "[dir]\ndataPath=C:\\Q.mdb\n", "Dir", "DATAPATH", "C:\\Q.mdb"},
        LookupCase{"first_of_two_equal_keys_wins", "[Dir]\nA=first\na=second\n", "Dir", "A", "first"},
        LookupCase{"first_of_two_equal_sections_is_the_one_searched", "[Dir]\nA=1\n[DIR]\nB=2\n", "Dir", "B", "<default>"},
        LookupCase{"later_section_of_other_name_is_found", "[Dir]\nA=1\n[Gen]\nOPRCALL=PA3ABC\n", "Gen", "OPRCALL", "PA3ABC"},
        LookupCase{"blanks_around_names_and_values_ignored", "  [ Dir ]  \n\t A \t=  C:\\Program Files\\Q  \n", "Dir", "A", "C:\\Program Files\\Q"},
        LookupCase{"double_quotes_removed_and_inner_blanks_kept", "[Dir]\nA=\"  x  \"\n", "Dir", "A", "  x  "},
        LookupCase{"single_quotes_removed", "[Dir]\nA='x'\n", "Dir", "A", "x"},
        LookupCase{"unmatched_quotes_kept", "[Dir]\nA=\"x'\n", "Dir", "A", "\"x'"},
        LookupCase{"lone_quote_kept", "[Dir]\nA=\"\n", "Dir", "A", "\""},
        LookupCase{"comment_line_skipped", "[Dir]\n  ;A=commented\nA=real\n", "Dir", "A", "real"},
        LookupCase{"semicolon_inside_value_kept", "[Dir]\nA=x ; y\n", "Dir", "A", "x ; y"},
        LookupCase{"equals_sign_inside_value_kept", "[Dir]\nA=x=y\n", "Dir", "A", "x=y"},
        LookupCase{"crlf_leaves_no_carriage_return", "[Dir]\r\nA=1\r\nB=2\r\n", "Dir", "A", "1"},
        LookupCase{"lone_cr_ends_a_line", "[Dir]\rA=1\rB=2", "Dir", "B", "2"},
        LookupCase{"last_line_without_line_end", "[Dir]\nA=last", "Dir", "A", "last"},
        LookupCase{"key_before_any_section_belongs_to_none", "A=1\n[Dir]\nB=2\n", "Dir", "A", "<default>"},
        LookupCase{"missing_section_gives_default", "[Dir]\nA=1\n", "Gen", "A", "<default>"},
        LookupCase{"missing_key_gives_default", "[Dir]\nA=1\n", "Dir", "B", "<default>"},
        LookupCase{"empty_value_is_found_not_defaulted", "[Dir]\nA=\n", "Dir", "A", ""},
        LookupCase{"header_without_bracket_still_opens_section", "[Dir\nA=1\n", "Dir", "A", "1"},
        LookupCase{"nul_byte_ends_value", "[Dir]\nA=ab\0cd\n"s, "Dir", "A", "ab"},
        LookupCase{"windows_1252_bytes_become_utf8", "[Gen]\nOPRCALL=\xE9\x80\n", "Gen", "OPRCALL", "\xC3\xA9\xE2\x82\xAC"},
        LookupCase{"undefined_1252_byte_keeps_its_value", "[Dir]\nA=\x81\n", "Dir", "A", "\xC2\x81"},
        LookupCase{"utf8_bom_text_is_not_read_as_1252", "\xEF\xBB\xBF[Dir]\nA=\xC3\xA9\n", "Dir", "A", "\xC3\xA9"},
        LookupCase{"invalid_utf8_after_bom_becomes_replacement", "\xEF\xBB\xBF[Dir]\nA=a\xFFz\n", "Dir", "A", "a\xEF\xBF\xBDz"},
        LookupCase{"utf16_little_endian", Utf16("[Dir]\r\nA=C:\\Log\r\n", true), "Dir", "A", "C:\\Log"},
        LookupCase{"utf16_big_endian", Utf16("[Dir]\nA=C:\\Log", false), "Dir", "A", "C:\\Log"}),
    [](const testing::TestParamInfo<LookupCase>& row) { return std::string(row.param.name); });

struct CutCase {
    const char* name;
    std::string file;
    std::string expected;
};

class ProfileBufferCut : public testing::TestWithParam<CutCase> {};

TEST_P(ProfileBufferCut, KeepsAtMost511BytesOfTheFilesText) {
    const CutCase& c = GetParam();
    EXPECT_EQ(ProfileFile::Parse(c.file).GetString("Dir", "A"), c.expected);
}

std::string Repeat(const std::string& unit, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += unit;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileBufferCut,
    testing::Values(
        CutCase{"exactly_511_bytes_kept_whole", "[Dir]\nA=" + Repeat("x", 511), Repeat("x", 511)},
        CutCase{"long_ansi_value_cut", "[Dir]\nA=" + Repeat("x", 600) + "\n", Repeat("x", 511)},
        CutCase{"ansi_accents_count_one_byte_each", "[Dir]\nA=" + Repeat("\xE9", 600), Repeat("\xC3\xA9", 511)},
        CutCase{"utf8_never_cut_inside_a_character", "\xEF\xBB\xBF[Dir]\nA=" + Repeat("\xC3\xA9", 300), Repeat("\xC3\xA9", 255)},
        CutCase{"utf16_counts_two_bytes_a_character", Utf16("[Dir]\nA=" + Repeat("y", 300), true), Repeat("y", 255)},
        CutCase{"quotes_go_before_the_cut", "[Dir]\nA=\"" + Repeat("q", 511) + "\"", Repeat("q", 511)}),
    [](const testing::TestParamInfo<CutCase>& row) { return std::string(row.param.name); });

// A damaged or foreign file must never bring the reader down, and a good line after the
// damage is still read.
TEST(ProfileDamage, GarbageLongLinesAndTruncatedTextDoNotStopTheReader) {
    std::mt19937 random(2007);
    std::string garbage = "x";
    for (int i = 0; i < 200000; ++i) garbage += static_cast<char>(random() & 0xFF);
    std::string longLine(3'000'000, 'L');
    const std::string files[] = {
        garbage + "\n[Dir]\nA=found\n",
        "[Dir]\n" + longLine + "\nA=found\n",
        "[Dir]\nA=found\n[" + longLine,
        "\xEF\xBB\xBF[Dir]\nA=found\n\xE2\x82",        // UTF-8 cut inside a character
        Utf16("[Dir]\nA=found\n", true) + "\x41"s,     // UTF-16 with an odd last byte
        Utf16("[Dir]\nA=found\n", true) + "\x00\xD8"s,  // a lone surrogate at the end
    };
    for (const std::string& file : files) {
        EXPECT_EQ(ProfileFile::Parse(file).GetString("Dir", "A"), "found");
    }
}

TEST(ProfileLoad, MissingOrUnreadableFileGivesDefaults) {
    for (const char* path : {"", "/nonexistent/Qvl2007.ini", "/"}) {
        EXPECT_EQ(ProfileFile::Load(path).GetString("Dir", "DATAPATH", "none"), "none") << path;
    }
}

}  // namespace
