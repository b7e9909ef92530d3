// The lines the desktop program reads from the exporter's progress channel. The parser takes
// exactly the records "T NV V NSO NDR", "done T NV V NSO NDR" and "failed KIND SUBJECT
// REASON" and nothing else; a record it takes, written again as the exporter writes it,
// reads back as the same record, and a line the exporter could have written comes back
// byte for byte.
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/ProgressRecord.h"
#include "fuzz/FuzzCheck.h"

namespace {

using fuzz::Require;

std::string Written(const ProgressRecord& record) {
    switch (record.type) {
    case ProgressRecord::Type::Progress:
        return ProgressRecord::Progress(record.counts);
    case ProgressRecord::Type::Done:
        return ProgressRecord::Done(record.counts);
    case ProgressRecord::Type::Failure:
        return ProgressRecord::Failure(record.failure);
    }
    return {};
}

// Whether every count is written as "%ld" writes it: no leading zeros, no "-0".
bool WrittenAsCounts(std::string_view line) {
    if (line.starts_with("done ")) line.remove_prefix(5);
    while (!line.empty()) {
        std::string_view field = fuzz::TakeUntil(line, ' ');
        const bool negative = field.starts_with('-');
        if (negative) field.remove_prefix(1);
        if (field.empty() || (field.size() > 1 && field.front() == '0') || (negative && field == "0")) return false;
    }
    return true;
}

bool SameRecord(const ProgressRecord& a, const ProgressRecord& b) {
    if (a.type != b.type) return false;
    return a.type == ProgressRecord::Type::Failure ? a.failure == b.failure : a.counts == b.counts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view line = fuzz::AsText(data, size);
    const auto record = ProgressRecord::Parse(line);
    if (!record) return 0;
    Require(line.find('\n') == std::string_view::npos, "a record is one line");
    std::string again = Written(*record);
    Require(!again.empty() && again.back() == '\n', "a record is written with its line end", again);
    again.pop_back();
    Require(again.find('\n') == std::string::npos, "a record written again is one line", again);
    const auto reread = ProgressRecord::Parse(again);
    Require(reread && SameRecord(*reread, *record), "a record written again reads as the same record", again);
    if (record->type != ProgressRecord::Type::Failure && WrittenAsCounts(line))
        Require(again == line, "counts as the exporter writes them come back unchanged", again);
    return 0;
}
