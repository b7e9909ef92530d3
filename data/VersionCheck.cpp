#include "data/VersionCheck.h"

#include <climits>
#include <optional>

#include "data/CDaoException.h"

namespace {
// The oldest database layout whose QSO table has every column the export reads.
constexpr long kOldestAcceptedVersion = 6;

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

long LeadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (value > (LONG_MAX - digit) / 10) return negative ? LONG_MIN : LONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

bool CheckMdbVersion(DbEngine& engine, const std::string& sourcePath) {
    std::optional<std::string> first;
    try {
        first = engine.ReadFirstValue(sourcePath, "VERSION");
    } catch (const CDaoException&) {
        return false;
    }
    return first.has_value() && LeadingInteger(*first) >= kOldestAcceptedVersion;
}
