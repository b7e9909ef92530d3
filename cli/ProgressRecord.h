#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "cli/ExportFailure.h"
#include "cli/RunCounts.h"

// One record of the progress channel from the exporter to the desktop program, one line each:
//   "T NV V NSO NDR"               the counts so far: total, not valid, valid, not same
//                                  OprCall, not date range, in decimal, single blanks between
//   "done T NV V NSO NDR"          the run is over and its ADIF file in place; the final counts
//   "failed KIND SUBJECT REASON"   the job failed (ExportFailure's words; the reason with
//                                  backslash, line feed and carriage return escaped C-style)
// Progress comes at most every kProgressInterval while counts change, and the last counts
// of a run always come, whether it ends in "done" or in "failed".
struct ProgressRecord {
    enum class Type { Progress, Done, Failure };

    static constexpr std::chrono::milliseconds kProgressInterval{40};

    Type type = Type::Progress;
    RunCounts counts;
    ExportFailure failure;

    // Each with its line end.
    static std::string Progress(const RunCounts& counts);
    static std::string Done(const RunCounts& counts);
    static std::string Failure(const ExportFailure& failure);

    // One line without its line end. Anything that is not exactly one of the records above
    // (a torn line, a stray sign or blank, a count beyond the range of long, an unknown
    // word) gives nullopt.
    static std::optional<ProgressRecord> Parse(std::string_view line);
};
