#include "ui/RunCounts.h"

#include <array>
#include <charconv>
#include <cstdio>

std::optional<RunCounts> ParseProgressLine(std::string_view line) {
    std::array<long, 5> values{};
    const char* pos = line.data();
    const char* const end = line.data() + line.size();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (pos == end || *pos != ' ') return std::nullopt;
            ++pos;
        }
        // from_chars takes a leading '-' but no '+' or blank, which is what the
        // exporter writes with "%ld".
        const auto [next, error] = std::from_chars(pos, end, values[i]);
        if (error != std::errc() || next == pos) return std::nullopt;
        pos = next;
    }
    if (pos != end) return std::nullopt;
    return RunCounts{values[0], values[1], values[2], values[3], values[4]};
}

std::string CounterText(long count) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", count);
    return buffer;
}
