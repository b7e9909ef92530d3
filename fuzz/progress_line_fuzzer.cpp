// The lines the desktop program reads from the exporter's progress pipe. The parser takes
// exactly the lines "T NV V NSO NDR" and nothing else; a record it takes, written as the
// exporter writes counts, reads back as the same record, and a line written that way
// comes back byte for byte.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "ui/RunCounts.h"

namespace {

using fuzz::Require;

std::string Line(const RunCounts& counts) {
    return CounterText(counts.total) + " " + CounterText(counts.notValid) + " " + CounterText(counts.valid) + " " +
           CounterText(counts.notSameOprCall) + " " + CounterText(counts.notDateRange);
}

// Whether every field is written as "%ld" writes it: no leading zeros, no "-0".
bool WrittenAsCounts(std::string_view line) {
    while (!line.empty()) {
        std::string_view field = fuzz::TakeUntil(line, ' ');
        const bool negative = field.starts_with('-');
        if (negative) field.remove_prefix(1);
        if (field.empty() || (field.size() > 1 && field.front() == '0') || (negative && field == "0")) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view line = fuzz::AsText(data, size);
    const auto counts = ParseProgressLine(line);
    if (!counts) return 0;
    Require(line.find_first_not_of("-0123456789 ") == std::string_view::npos, "a report holds digits, signs, blanks");
    const std::string again = Line(*counts);
    Require(ParseProgressLine(again) == counts, "a report written again reads as the same counts", again);
    if (WrittenAsCounts(line)) Require(again == line, "a report as the exporter writes it comes back unchanged", again);
    return 0;
}
