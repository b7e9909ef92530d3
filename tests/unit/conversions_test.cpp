#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/BandModeFreq.h"
#include "export/QslStatus.h"

namespace {

TEST(BandConversion, EveryCodeAndNothingElse) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"0", "2M"},     {"1", "6M"},    {"2", "10M"},  {"3", "12M"},    {"4", "15M"},  {"5", "17M"},
        {"6", "20M"},    {"7", "30M"},   {"8", "40M"},  {"9", "80M"},    {"10", "160M"}, {"11", "1.25M"},
        {"12", "70CM"},  {"13", "33CM"}, {"14", "23CM"}, {"15", "13CM"}, {"16", "9CM"},  {"17", "6CM"},
        {"18", "3CM"},   {"19", "1.25CM"}, {"20", "6MM"}, {"21", "4MM"},  {"22", "4M"},   {"23", "60M"},
        // Not codes: compared as whole texts, never parsed.
        {"24", ""},      {"06", ""},     {"6 ", ""},    {" 6", ""},      {"", ""},      {"-1", ""},
        {"30", ""},      {"1a", ""},     {"123", ""},
    };
    for (const auto& [code, band] : rows) EXPECT_EQ(BandModeFreq::Band(code), band) << "code \"" << code << '"';
}

TEST(ModeConversion, CodesAndDigitalSubmodes) {
    struct Row {
        std::string mode, submode, expected;
    };
    const std::vector<Row> rows = {
        {"0", "", "SSB"},          {"1", "", "SSB"},          {"2", "PACTOR", "CW"},     {"3", "", "FM"},
        {"4", "USB", "AM"},        {"5", "", "RTTY"},         {"7", "PSK31", "SSTV"},    {"6", "AMTOR", "TOR"},
        {"6", "PACTOR", "PAC"},    {"6", "PACTOR-II", "PAC2"}, {"6", "PACTORII", "PAC2"}, {"6", "PACTOR-III", "PAC3"},
        {"6", "PACTORIII", "PAC3"}, {"6", "CLOVER", "CLO"},   {"6", "GTOR", "GTOR"},     {"6", "FELDHELL", "HELL"},
        {"6", "PSK31", "PSK31"},   {"6", "pactor", "pactor"}, {"6", "PACTOR ", "PACTOR "}, {"6", "", ""},
        // Codes outside "0".."7" give no mode rather than the previous contact's.
        {"8", "", ""},             {"06", "PACTOR", ""},      {"", "", ""},              {"6 ", "PACTOR", ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(BandModeFreq::Mode(r.mode, r.submode), r.expected) << "mode \"" << r.mode << "\" submode \""
                                                                      << r.submode << '"';
}

TEST(FrequencyConversion, KilohertzToMegahertzKeepingEveryDigit) {
    struct Row {
        const char* name;
        std::string kHz;
        bool written;
        std::string mhz;
    };
    const std::vector<Row> rows = {
        {"20M with two decimals", "14025.50", true, "14.02550"},
        {"one decimal gets a zero", "14025.5", true, "14.02550"},
        {"40M", "7025.50", true, "7.02550"},
        {"four decimals", "3525.1234", true, "3.5251234"},
        {"2M", "144300.00", true, "144.30000"},
        {"23CM", "1296100.00", true, "1296.10000"},
        {"6M three decimals", "50125.000", true, "50.125000"},
        {"integer part shorter than the band suggests", "7025.500", true, "7.025500"},
        {"no decimals", "14025", true, "14.025"},
        {"below one MHz", "136.5", true, "0.13650"},
        {"below one kHz", "5", true, "0.005"},
        {"microwave", "10368100.00", true, "10368.10000"},
        {"comma as separator", "7163,43", true, "7.16343"},
        {"comma with one decimal is not padded", "7163,4", true, "7.1634"},
        {"leading zeros dropped", "0014025.50", true, "14.02550"},
        {"surrounding blanks ignored before padding", " 7025.5 ", true, "7.02550"},
        {"trailing point", "14025.", true, "14.025"},
        {"point and digit alone", ".5", true, "0.00050"},
        {"empty", "", false, ""},
        {"blanks only", "   ", false, ""},
        {"letters", "abc", false, ""},
        {"two separators", "70.25.00", false, ""},
        {"sign", "-7025.5", false, ""},
        {"inner blank", "7025 .5", false, ""},
        {"separator alone", ",", false, ""},
    };
    for (const Row& r : rows) {
        std::string mhz = "stale";
        bool written = BandModeFreq::Freq(r.kHz, mhz);
        EXPECT_EQ(written, r.written) << r.name;
        if (r.written) {
            EXPECT_EQ(mhz, r.mhz) << r.name;
        }
    }
}

TEST(QslConversion, ReceivedStatesFromCodeAndVerifiedBit) {
    struct Row {
        std::string confirm;
        int32_t award;
        std::string qsl, lotw;
    };
    const std::vector<Row> rows = {
        {"0", 0, "N", "N"},   {"0", 1, "N", "N"},    {"0", 512, "N", "N"}, {"0", -1, "N", "N"},
        {"1", 6, "Y", "N"},   {"1", 1, "V", "N"},    {"2", 0, "N", "Y"},   {"2", 3, "N", "V"},
        {"3", 0, "Y", "Y"},   {"3", 1, "V", "V"},    {"1", 511, "V", "N"}, {"1", 510, "Y", "N"},
        // Bit 0 decides for every value, not only 0..511.
        {"3", 512, "Y", "Y"}, {"3", 513, "V", "V"},  {"1", 1023, "V", "N"}, {"2", -2, "N", "Y"},
        {"3", -1, "V", "V"},
        // Unknown codes give empty states rather than the previous contact's.
        {"4", 1, "", ""},     {"01", 0, "", ""},     {"", 0, "", ""},      {"3 ", 1, "", ""},
    };
    for (const Row& r : rows) {
        QslStatus::States s = QslStatus::Received(r.confirm, r.award);
        EXPECT_EQ(s.qsl, r.qsl) << "confirm \"" << r.confirm << "\" award " << r.award;
        EXPECT_EQ(s.lotw, r.lotw) << "confirm \"" << r.confirm << "\" award " << r.award;
    }
}

TEST(QslConversion, SentStates) {
    const std::vector<std::tuple<std::string, std::string, std::string>> rows = {
        {"0", "N", "N"}, {"1", "Y", "N"}, {"2", "N", "Y"}, {"3", "Y", "Y"},
        {"5", "", ""},   {"", "", ""},    {"1 ", "", ""},
    };
    for (const auto& [qsls, qsl, lotw] : rows) {
        QslStatus::States s = QslStatus::Sent(qsls);
        EXPECT_EQ(s.qsl, qsl) << "sent \"" << qsls << '"';
        EXPECT_EQ(s.lotw, lotw) << "sent \"" << qsls << '"';
    }
}

}  // namespace
