#include "export/BandModeFreq.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 24> kBands = {
    "2M",   "6M",   "10M",  "12M",  "15M", "17M", "20M", "30M",    "40M", "80M", "160M", "1.25M",
    "70CM", "33CM", "23CM", "13CM", "9CM", "6CM", "3CM", "1.25CM", "6MM", "4MM", "4M",   "60M",
};

struct Submode {
    std::string_view name;
    std::string_view mode;
};

constexpr std::array<Submode, 9> kSubmodes = {{
    {"AMTOR", "TOR"},
    {"PACTOR", "PAC"},
    {"PACTOR-II", "PAC2"},
    {"PACTORII", "PAC2"},
    {"PACTOR-III", "PAC3"},
    {"PACTORIII", "PAC3"},
    {"CLOVER", "CLO"},
    {"GTOR", "GTOR"},
    {"FELDHELL", "HELL"},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view BandModeFreq::Band(std::string_view code) {
    // Only the exact texts "0".."23" are codes: no sign, no leading zero, no blank.
    if (code.size() == 1 && IsDigit(code[0])) return kBands[static_cast<std::size_t>(code[0] - '0')];
    if (code.size() == 2 && code[0] >= '1' && code[0] <= '2' && IsDigit(code[1])) {
        std::size_t index = static_cast<std::size_t>((code[0] - '0') * 10 + (code[1] - '0'));
        if (index < kBands.size()) return kBands[index];
    }
    return {};
}

std::string_view BandModeFreq::Mode(std::string_view code, std::string_view submode) {
    if (code.size() != 1) return {};
    switch (code[0]) {
    case '0':
    case '1':
        return "SSB";
    case '2':
        return "CW";
    case '3':
        return "FM";
    case '4':
        return "AM";
    case '5':
        return "RTTY";
    case '7':
        return "SSTV";
    case '6':
        for (const Submode& known : kSubmodes)
            if (known.name == submode) return known.mode;
        return submode;
    default:
        return {};
    }
}

bool BandModeFreq::Freq(std::string_view kHz, std::string& mhz) {
    while (!kHz.empty() && IsBlank(kHz.front())) kHz.remove_prefix(1);
    while (!kHz.empty() && IsBlank(kHz.back())) kHz.remove_suffix(1);

    // The logging program stores one decimal as "7025.5"; the upload service expects the
    // MHz value with the full kHz precision, so a lone decimal gets a trailing zero.
    // A text of one character is tested on that character.
    bool padZero = kHz.size() >= 2 ? kHz[kHz.size() - 2] == '.' : (kHz.size() == 1 && kHz[0] == '.');

    std::size_t separator = kHz.find_first_of(".,");
    std::string_view whole = kHz.substr(0, separator);
    std::string_view fraction = separator == std::string_view::npos ? std::string_view() : kHz.substr(separator + 1);
    auto allDigits = [](std::string_view s) {
        for (char c : s)
            if (!IsDigit(c)) return false;
        return true;
    };
    if (!allDigits(whole) || !allDigits(fraction)) return false;
    if (whole.empty() && fraction.empty() && !padZero) return false;

    // kHz to MHz: the separator moves three digits to the left; every digit is kept.
    mhz.clear();
    if (whole.size() > 3) {
        std::string_view integer = whole.substr(0, whole.size() - 3);
        while (integer.size() > 1 && integer.front() == '0') integer.remove_prefix(1);
        mhz.append(integer);
        mhz.push_back('.');
        mhz.append(whole.substr(whole.size() - 3));
    } else {
        mhz.append("0.");
        mhz.append(3 - whole.size(), '0');
        mhz.append(whole);
    }
    mhz.append(fraction);
    if (padZero) mhz.push_back('0');
    return true;
}
