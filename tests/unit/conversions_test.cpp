#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "data/CMorvaskSet.h"
#include "export/BandModeFreq.h"
#include "export/QslStatus.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

std::string Joined(QslStatus::States s) { return std::string(s.qsl) + "/" + std::string(s.lotw); }

// The shared sample's export shows 23 of the 24 bands; these rows add the one it lacks, both
// ends, and texts that are no code: whole texts, never parsed, give no band rather than the
// last contact's.
TEST(Conversions, BandCodesAreWholeTextsAndAnythingElseHasNoBand) {
    const std::pair<std::string, std::string> rows[] = {{"0", "2M"}, {"14", "23CM"}, {"23", "60M"},
                                                        {"24", ""},  {"06", ""},     {"6 ", ""},
                                                        {"", ""},    {"-1", ""},     {"1a", ""}};
    for (const auto& [code, band] : rows) EXPECT_EQ(BandModeFreq::Band(code), band) << "code \"" << code << '"';
}

TEST(Conversions, ModeCodesAndDigitalSubmodes) {
    const std::array<std::string, 3> rows[] = {{"0", "", "SSB"},
                                               {"1", "", "SSB"},
                                               {"2", "PACTOR", "CW"},
                                               {"3", "", "FM"},
                                               {"4", "USB", "AM"},
                                               {"5", "", "RTTY"},
                                               {"7", "PSK31", "SSTV"},
                                               {"6", "AMTOR", "TOR"},
                                               {"6", "PACTOR", "PAC"},
                                               {"6", "PACTOR-II", "PAC2"},
                                               {"6", "PACTORII", "PAC2"},
                                               {"6", "PACTOR-III", "PAC3"},
                                               {"6", "PACTORIII", "PAC3"},
                                               {"6", "CLOVER", "CLO"},
                                               {"6", "GTOR", "GTOR"},
                                               {"6", "FELDHELL", "HELL"},
                                               {"6", "PSK31", "PSK31"},
                                               {"6", "pactor", "pactor"},
                                               {"6", "", ""},
                                               {"8", "", ""},
                                               {"06", "PACTOR", ""},
                                               {"", "", ""}};
    for (const auto& [mode, submode, expected] : rows)
        EXPECT_EQ(BandModeFreq::Mode(mode, submode), expected) << "mode " << mode << ", submode " << submode;
}

TEST(Conversions, FrequencyMovesTheSeparatorKeepingEveryDigit) {
    // kHz, MHz ("-": no FREQ line); cut by position, "7025.500" gave "70.25.00".
    const std::pair<std::string, std::string> rows[] = {{"14025.50", "14.02550"},
                                                        {"14025.5", "14.02550"},
                                                        {"7025.50", "7.02550"},
                                                        {"3525.1234", "3.5251234"},
                                                        {"144300.00", "144.30000"},
                                                        {"1296100.00", "1296.10000"},
                                                        {"50125.000", "50.125000"},
                                                        {"7025.500", "7.025500"},
                                                        {"14025", "14.025"},
                                                        {"136.5", "0.13650"},
                                                        {"5", "0.005"},
                                                        {"10368100.00", "10368.10000"},
                                                        {"7163,43", "7.16343"},
                                                        {"7163,4", "7.1634"},
                                                        {"0014025.50", "14.02550"},
                                                        {"14025.", "14.025"},
                                                        {".5", "0.00050"},
                                                        {" 7025.5 ", "7.02550"},
                                                        {"", "-"},
                                                        {"   ", "-"},
                                                        {"abc", "-"},
                                                        {"70.25.00", "-"},
                                                        {"-7025.5", "-"},
                                                        {"7025 .5", "-"},
                                                        {",", "-"}};
    for (const auto& [kHz, expected] : rows) {
        std::string mhz = "stale";
        bool written = BandModeFreq::Freq(kHz, mhz);
        EXPECT_EQ(written ? mhz : "-", expected) << "kHz \"" << kHz << '"';
    }
}

TEST(Conversions, QslStatesFromCodesAndVerifiedBit) {
    const std::vector<std::tuple<std::string, int32_t, std::string>> received = {
        // confirm, award, "qsl/lotw"
        {"0", 0, "N/N"},
        {"0", 1, "N/N"},
        {"0", -1, "N/N"},
        {"1", 6, "Y/N"},
        {"1", 1, "V/N"},
        {"2", 0, "N/Y"},
        {"2", 3, "N/V"},
        {"3", 0, "Y/Y"},
        {"3", 1, "V/V"},
        {"1", 511, "V/N"},
        // Bit 0 decides for every value, 512 and above and negative ones too.
        {"3", 512, "Y/Y"},
        {"3", 513, "V/V"},
        {"2", -2, "N/Y"},
        {"3", -1, "V/V"},
        // Unknown codes give empty states rather than the previous contact's.
        {"4", 1, "/"},
        {"01", 0, "/"},
        {"", 0, "/"}};
    for (const auto& [confirm, award, expected] : received)
        EXPECT_EQ(Joined(QslStatus::Received(confirm, award)), expected) << confirm << ", award " << award;
    const std::vector<std::array<std::string, 2>> sent = {{"0", "N/N"}, {"1", "Y/N"}, {"2", "N/Y"}, {"3", "Y/Y"},
                                                          {"5", "/"},   {"", "/"},    {"1 ", "/"}};
    for (const auto& [qsls, expected] : sent) EXPECT_EQ(Joined(QslStatus::Sent(qsls)), expected) << "sent " << qsls;
}

// Random tables of prefixes that differ in case, blanks and bytes, each opened on the same set
// so that a stale index would show. Every row has its own entity: duplicates are told apart.
TEST(PrefixLookup, EqualsTheLinearScanForEveryInputWithoutMovingTheSet) {
    std::mt19937 random(20120115);
    const std::vector<std::string> pool = {"DL", "dl", "DL ", " DL", "", "PA", "PA0", "\xC3\x84", "9A", "XX"};
    MemoryEngine engine;
    CMorvaskSet set(engine, [] { return std::string("Refdata.mdb"); });
    for (int table = 0; table < 40; ++table) {
        std::vector<std::vector<std::optional<std::string>>> rows;
        for (int i = 0, size = table == 0 ? 0 : static_cast<int>(random() % 12); i < size; ++i)
            rows.push_back(PrefixRow(pool[random() % (pool.size() - 1)], "row " + std::to_string(i)));
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), rows});
        set.Open();
        const std::string firstRow = set.m_ARRL_ID;
        for (const std::string& input : pool) {
            std::string scanned;  // where a scan from the top, row by row, stops
            for (set.MoveFirst(); !set.IsEOF() && scanned.empty(); set.MoveNext())
                if (set.m_PREFIX == input) scanned = set.m_ARRL_ID;
            set.MoveFirst();
            const std::string* found = set.FindArrlId(input);
            EXPECT_EQ(found ? *found : "", scanned) << "table " << table << " prefix \"" << input << '"';
            EXPECT_EQ(set.m_ARRL_ID, firstRow) << "the lookup moved the set";
        }
        set.Close();
        EXPECT_EQ(set.FindArrlId("DL"), nullptr) << "a closed set finds nothing";
    }
}

}  // namespace
