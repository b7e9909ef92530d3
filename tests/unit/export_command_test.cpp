#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "cli/ExportCommand.h"
#include "cli/ExportOptions.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

std::vector<std::string> Args(std::vector<std::string> more) {
    std::vector<std::string> args = {"--source", "log.mdb", "--refdata", "Refdata.mdb", "--output", "out.adi"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(ExportOptions, DatesDefaultAndShortDatesAreRefused) {
    const std::vector<std::tuple<const char*, std::vector<std::string>, std::string>> cases = {
        // name, arguments, "call|start|end" or "usage"
        {"dates default", Args({"--oprcall", "PA3ABC"}), "PA3ABC|19451116|20301231"},
        {"empty operator call is a call", Args({"--oprcall", "", "--end", "20121231"}), "|19451116|20121231"},
        {"name=value form, empty date", Args({"--oprcall=X", "--start=", "--end=2012-12-31"}), "X|19451116|2012-12-31"},
        {"four-character start date", Args({"--oprcall", "X", "--start", "2012"}), "usage"},
        {"seven-character end date", Args({"--oprcall", "X", "--end", "2012010"}), "usage"},
        {"operator call left out, none in the settings", Args({}), "|19451116|20301231"},
        {"value missing", Args({"--oprcall"}), "usage"},
        {"unknown option", Args({"--oprcall", "X", "--fast"}), "usage"},
        {"option twice", Args({"--oprcall", "X", "--source", "b"}), "usage"},
        {"progress descriptor no number", Args({"--oprcall", "X", "--progress-fd", "two"}), "usage"},
        {"check without its path", {"--check-source"}, "usage"},
    };
    for (const auto& [name, args, expected] : cases) {
        std::string got;
        try {
            RunSettings s = ExportOptions::Parse(args).RunValues(RunSettings{}, "no settings file");
            got = s.m_strOprCall + "|" + s.m_strStartDate + "|" + s.m_strEndDate;
        } catch (const UsageError&) {
            got = "usage";
        }
        EXPECT_EQ(got, expected) << name;
    }
}

// What the desktop program reads while its worker runs: every change of a count, the
// first line at the start, all of them by the end.
TEST(ExportCommand, ProgressDescriptorAndTraceCarryEveryChange) {
    MemoryEngine engine;
    TestQso ok, other;
    other.oprCall = "DL1ABC";
    engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), {ok.Row(), other.Row(), ok.Row()}});
    engine.SetTable("log.mdb", "VERSION", {{{"VERSION"}}, {{std::string("6")}}});
    engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {PrefixRow("DL", "230")}});
    TempDir dir;
    std::ostringstream out, err;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ExportCommand command(engine, out, err, std::nullopt, WinePrefix(""));
    std::vector<std::string> args = {"--source", "log.mdb", "--refdata", "Refdata.mdb", "--output", dir.File("out.adi"),
                                     "--oprcall", "PA3ABC", "--trace", "--progress-fd", std::to_string(fds[1])};
    EXPECT_EQ(command.Run(ExportOptions::Parse(args)), 0) << err.str();
    close(fds[1]);
    std::string lines(4096, '\0');
    lines.resize(static_cast<std::size_t>(read(fds[0], lines.data(), lines.size())));
    close(fds[0]);
    EXPECT_EQ(lines, "0 0 0 0 0\n0 0 1 0 0\n1 0 1 0 0\n1 0 1 1 0\n2 0 1 1 0\n2 0 2 1 0\n3 0 2 1 0\n");
    EXPECT_EQ(out.str().rfind("String of integer 6 (radix 10): 6\n", 0), 0u) << out.str();
    EXPECT_EQ(command.Run(ExportOptions::Parse({"--source", "log.mdb", "--refdata", "Refdata.mdb", "--output", "o.adi",
                                                "--oprcall", "X", "--progress-fd", std::to_string(fds[1])})),
              ExportCommand::kUsage)
        << "a closed descriptor is refused before the run";
    EXPECT_NE(out.str().find("(radix 10): 8\nTotal QSOs: 3\nValid QSOs: 2\nNot Valid QSOs: 0\nNot Date Range: 0\n"
                             "Not same OprCall: 1\n"),
              std::string::npos)
        << out.str();
}

}  // namespace
