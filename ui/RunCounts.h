#pragma once

#include <optional>
#include <string>
#include <string_view>

// The five counts of an export run, in the order the exporter reports them.
struct RunCounts {
    long total = 0;
    long notValid = 0;
    long valid = 0;
    long notSameOprCall = 0;
    long notDateRange = 0;

    bool operator==(const RunCounts&) const = default;
};

// One progress line of the exporter, "T NV V NSO NDR": five decimal counts separated by
// single blanks, without the line end. Anything else (a short or torn line, a stray sign,
// extra fields) is no progress report and gives nullopt.
std::optional<RunCounts> ParseProgressLine(std::string_view line);

// A count as the form shows it: signed decimal, no padding, no separators.
std::string CounterText(long count);
