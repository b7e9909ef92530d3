#pragma once

#include <regex>
#include <string>

// The length trace that goes with an ADIF file: for every field with a counted length, in
// the order of the file, the line the logging program's trace prints for its length.
inline std::string LengthTrace(const std::string& adi) {
    const std::regex counted(
        "\n<(CALL|TIME_ON|OPERATOR|QSL_RCVD|LOTW_QSL_RCVD|BAND|MODE|QSL_SENT|LOTW_QSL_SENT|DXCC|FREQ):(\\d+)>");
    std::string trace;
    for (std::sregex_iterator field(adi.begin(), adi.end(), counted), end; field != end; ++field)
        trace += "String of integer " + (*field)[2].str() + " (radix 10): " + (*field)[2].str() + "\n";
    return trace;
}
