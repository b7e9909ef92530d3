#include <gtest/gtest.h>

#include "cli/ExportFailure.h"
#include "cli/ProgressRecord.h"

namespace {

using Kind = ExportFailure::Kind;
using Role = RunFiles::Role;
using Type = ProgressRecord::Type;

std::string Shown(const std::optional<ProgressRecord>& record) {
    if (!record) return "none";
    if (record->type == Type::Failure)
        return std::string("failure ") + ExportFailure::KindName(record->failure.kind) + " " +
               ExportFailure::SubjectName(record->failure.subject) + " [" + record->failure.reason + "]";
    const RunCounts& c = record->counts;
    return std::string(record->type == Type::Done ? "done " : "progress ") + std::to_string(c.total) + " " +
           std::to_string(c.notValid) + " " + std::to_string(c.valid) + " " + std::to_string(c.notSameOprCall) + " " +
           std::to_string(c.notDateRange);
}

// What the desktop program makes of a line of the progress channel: one of the three records,
// or nothing at all for anything else.
TEST(ProgressRecord, ParsesExactlyTheRecordsAndNothingElse) {
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"counts in the exporter's order", "79 7 62 9 1", "progress 79 7 62 9 1"},
        {"a negative count as the exporter counted it", "-2147483648 0 0 0 0", "progress -2147483648 0 0 0 0"},
        {"the final counts", "done 79 7 62 9 1", "done 79 7 62 9 1"},
        {"a failure about a file", "failed damaged source data page 7 is listed twice",
         "failure damaged source [data page 7 is listed twice]"},
        {"a failure without a reason", "failed version-refused source", "failure version-refused source []"},
        {"four fields: a torn line", "1 0 1 0", "none"},
        {"a carriage return left on the line", "1 0 1 0 0\r", "none"},
        {"a summary line", "Total QSOs: 79", "none"},
        {"a count beyond the range of long", "99999999999999999999 0 0 0 0", "none"},
        {"done without counts", "done", "none"},
        {"a failure of an unknown kind", "failed melted source x", "none"},
        {"a failure without its file", "failed damaged", "none"},
        {"a reason with a stray backslash", "failed other none C:\\Qervel", "none"},
        {"an empty line", "", "none"},
    };
    for (const auto& [what, line, shown] : cases) EXPECT_EQ(Shown(ProgressRecord::Parse(line)), shown) << what;
}

// Whatever the exporter writes, the desktop program reads back the same: every kind and file
// has its word, and a reason of any bytes survives the line it travels on.
TEST(ProgressRecord, WrittenRecordsReadBackUnchanged) {
    std::vector<ExportFailure> failures;
    for (int kind = 0; kind <= static_cast<int>(Kind::NoReason); ++kind)
        failures.push_back({static_cast<Kind>(kind), std::nullopt, "why"});
    for (Role role : {Role::SourceDatabase, Role::ReferenceDatabase, Role::SettingsFile, Role::AdifFile})
        failures.push_back({Kind::Unreadable, role, "Permission denied"});
    for (const char* reason : {"", " a leading blank", "two\nlines", "C:\\Qervel\\n", "\r\n", "\\\\", "Ä€ 𝄞"})
        failures.push_back({Kind::Other, Role::AdifFile, reason});
    for (const ExportFailure& failure : failures) {
        const std::string line = ProgressRecord::Failure(failure);
        ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
        const auto read = ProgressRecord::Parse(std::string_view(line).substr(0, line.size() - 1));
        ASSERT_TRUE(read) << line;
        EXPECT_EQ(read->type, Type::Failure);
        EXPECT_EQ(read->failure, failure) << line;
    }
    const RunCounts counts{1000000, -3, 2147483647, 0, 42};
    for (const std::string& line : {ProgressRecord::Progress(counts), ProgressRecord::Done(counts)}) {
        const auto read = ProgressRecord::Parse(std::string_view(line).substr(0, line.size() - 1));
        ASSERT_TRUE(read) << line;
        EXPECT_EQ(read->counts, counts) << line;
    }
}

}  // namespace
