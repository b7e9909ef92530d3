#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "data/CMorvaskSet.h"
#include "data/MdbEngine.h"
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

// As for the bands, the sample's export shows the mode rows of the submodes it holds; these
// rows add the spellings it lacks and the codes that have no mode.
TEST(Conversions, ModeCodesAndDigitalSubmodes) {
    const std::array<std::string, 3> rows[] = {
        {"6", "AMTOR", "TOR"}, {"6", "PACTOR", "PAC"},    {"6", "PACTORII", "PAC2"},
        {"6", "GTOR", "GTOR"}, {"6", "pactor", "pactor"}, {"06", "PACTOR", ""},
        {"", "", ""}};
    for (const auto& [mode, submode, expected] : rows)
        EXPECT_EQ(BandModeFreq::Mode(mode, submode), expected) << "mode " << mode << ", submode " << submode;
}

// The sample holds frequencies in kHz with and without a decimal point or comma, with blanks
// around them, and texts that are no number; these rows add the rest. Cut by position,
// "7025.500" once gave "70.25.00".
TEST(Conversions, FrequencyMovesTheSeparatorKeepingEveryDigit) {
    const std::pair<std::string, std::string> rows[] = {{"136.5", "0.13650"},
                                                        {"5", "0.005"},
                                                        {"7163,4", "7.1634"},
                                                        {"0014025.50", "14.02550"},
                                                        {"14025.", "14.025"},
                                                        {".5", "0.00050"},
                                                        {"   ", "-"},
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

// Every state and both verified values show in the sample's export; bit 0 decides for every
// award, 512 and above and negative ones too.
TEST(Conversions, QslStatesFromCodesAndVerifiedBit) {
    // confirm, award, "qsl/lotw"
    const std::tuple<std::string, int32_t, std::string> received[] = {
        {"3", 512, "Y/Y"}, {"3", 513, "V/V"}, {"2", -2, "N/Y"}, {"3", -1, "V/V"}};
    for (const auto& [confirm, award, expected] : received)
        EXPECT_EQ(Joined(QslStatus::Received(confirm, award)), expected) << confirm << ", award " << award;
    // A code is a whole text: a blank after it makes it unknown, and an unknown code gives
    // empty states rather than the previous contact's.
    EXPECT_EQ(Joined(QslStatus::Sent("1 ")), "/");
}

// Random tables of prefixes that differ in case, blanks and bytes, each opened on the same set
// so that a stale index would show. Every row has its own entity: duplicates are told apart.
TEST(PrefixLookup, EqualsTheLinearScanForEveryInputWithoutMovingTheSet) {
    std::mt19937 random(20120115);
    const std::vector<std::string> pool = {"DL", "dl", "DL ", " DL", "", "PA", "PA0", "\xC3\x84", "9A", "XX"};
    MdbEngine engine;
    TempDir dir;
    const std::string path = dir.File("Refdata.mdb");
    CMorvaskSet set(engine, [&] { return path; });
    for (int table = 0; table < 40; ++table) {
        std::vector<TestRow> rows;
        for (int i = 0, size = table == 0 ? 0 : static_cast<int>(random() % 12); i < size; ++i)
            rows.push_back(PrefixRow(pool[random() % (pool.size() - 1)], "row " + std::to_string(i)));
        WriteTestTable(path, "PREFIX-Pri", PrefixTableColumns(), rows);
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
