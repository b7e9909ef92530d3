#include "data/VersionCheck.h"

#include <climits>
#include <optional>

#include "data/CDaoException.h"

namespace {
// The oldest database layout whose QSO table has every column the export reads.
constexpr long kOldestAcceptedVersion = 6;
constexpr std::size_t kShownValueBytes = 40;

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The leading decimal integer of text as the C runtime's atoi finds it: leading white
// space skipped, an optional sign, the digits up to the first other character; no digits
// give 0. Values beyond the range of long are held at its ends. Written out rather than
// taken from strtol, whose idea of white space follows the caller's locale.
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

}  // namespace

MdbVersion ReadMdbVersion(DbEngine& engine, const std::string& sourcePath) {
    std::optional<std::string> first;
    try {
        first = engine.ReadFirstValue(sourcePath, "VERSION");
    } catch (const CDaoException& e) {
        if (e.GetKind() == CDaoException::Kind::Interrupted) throw;
        if (e.GetKind() == CDaoException::Kind::WrongLayout) return {false, "no table [VERSION]"};
        return {false,
                "a table [VERSION] that cannot be read (" + (e.Reason().empty() ? e.Description() : e.Reason()) + ")"};
    }
    if (!first) return {false, "no version value in its table [VERSION]"};
    // Shown as found, but a value long enough to bury the message is cut.
    std::string shown = first->size() > kShownValueBytes ? first->substr(0, kShownValueBytes) + "..." : *first;
    return {LeadingInteger(*first) >= kOldestAcceptedVersion, "version \"" + shown + "\""};
}

bool CheckMdbVersion(DbEngine& engine, const std::string& sourcePath) {
    return ReadMdbVersion(engine, sourcePath).accepted;
}
