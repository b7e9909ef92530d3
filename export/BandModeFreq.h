#pragma once

#include <string>
#include <string_view>

// The logging program's band and mode codes and its kHz frequencies, turned into the
// ADIF band name, mode name and frequency in MHz. Codes are decimal texts compared whole
// and exactly: "06" or "6 " is not "6".
class BandModeFreq {
public:
    // "[QSO-BAND]" "0" to "23" to its band; any other code gives the empty text.
    static std::string_view Band(std::string_view code);

    // "[QSO-MODE]" "0" to "7"; for "6" (digital modes) the submode names the mode, a
    // known submode by its ADIF abbreviation and any other unchanged. Any other code gives
    // the empty text.
    static std::string_view Mode(std::string_view code, std::string_view submode);

    // Moves the decimal separator of a kHz text three places to the left. False when the
    // text is no number, in which case no frequency is written.
    static bool Freq(std::string_view kHz, std::string& mhz);
};
