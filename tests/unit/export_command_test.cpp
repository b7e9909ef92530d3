#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <sstream>

#include "cli/ExportCommand.h"
#include "cli/ExportOptions.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

TEST(ExportOptions, ParsesWhatTheExporterAccepts) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string oprCall, start, end;
    };
    const std::vector<std::string> paths = {"--source", "log.mdb", "--refdata", "Refdata.mdb", "--output", "out.adi"};
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = paths;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const std::vector<Case> cases = {
        {"dates default", with({"--oprcall", "PA3ABC"}), "PA3ABC", "19451116", "20301231"},
        {"dates given", with({"--oprcall", "PA3ABC", "--start", "20120101", "--end", "20121231"}), "PA3ABC",
         "20120101", "20121231"},
        {"empty operator call is a call", with({"--oprcall", ""}), "", "19451116", "20301231"},
        {"name=value form", with({"--oprcall=DL1ABC", "--start=20120101"}), "DL1ABC", "20120101", "20301231"},
        {"empty date takes its default", with({"--oprcall", "X", "--start", ""}), "X", "19451116", "20301231"},
        {"a long text is taken as a date", with({"--oprcall", "X", "--end", "2012-12-31"}), "X", "19451116",
         "2012-12-31"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunSettings s = ExportOptions::Parse(c.args).RunValues(RunSettings{}, "no settings file");
        EXPECT_EQ(s.m_strOprCall, c.oprCall);
        EXPECT_EQ(s.m_strStartDate, c.start);
        EXPECT_EQ(s.m_strEndDate, c.end);
        EXPECT_EQ(s.m_strAdiPath, "out.adi");
    }
}

TEST(ExportOptions, RefusesUnusableArguments) {
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"no source", {"--refdata", "b", "--output", "c", "--oprcall", "X"}},
        {"value missing at the end", {"--source", "a", "--refdata", "b", "--output", "c", "--oprcall"}},
        {"four-character start date", {"--source", "a", "--refdata", "b", "--output", "c", "--oprcall", "X",
                                       "--start", "2012"}},
        {"seven-character end date", {"--source", "a", "--refdata", "b", "--output", "c", "--oprcall", "X",
                                      "--end", "2012010"}},
        {"unknown option", {"--source", "a", "--refdata", "b", "--output", "c", "--oprcall", "X", "--fast"}},
        {"option twice", {"--source", "a", "--source", "b"}},
        {"progress descriptor not a number", {"--progress-fd", "two"}},
        {"check without a source anywhere", {"--check-source"}},
        {"flag with a value", {"--trace=yes"}},
    };
    for (const auto& [name, args] : cases) {
        SCOPED_TRACE(name);
        EXPECT_THROW(ExportOptions::Parse(args).RunValues(RunSettings{}, "no settings file"), UsageError);
    }
}

struct ExportCommandTest : ::testing::Test {
    MemoryEngine engine;
    TempDir dir;
    std::ostringstream out, err;
    ExportCommand command{engine, out, err, std::nullopt, WinePrefix("")};

    void SetUp() override {
        TestQso ok, other;
        other.oprCall = "DL1ABC";
        engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), {ok.Row(), other.Row(), ok.Row()}});
        engine.SetTable("log.mdb", "VERSION", {{{"VERSION"}}, {{std::string("6")}}});
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {PrefixRow("DL", "230")}});
    }

    int Run(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--source", "log.mdb", "--refdata", "Refdata.mdb", "--output",
                                         dir.File("out.adi"), "--oprcall", "PA3ABC"};
        args.insert(args.end(), extra.begin(), extra.end());
        return command.Run(ExportOptions::Parse(args));
    }
};

TEST_F(ExportCommandTest, SuccessPrintsExactlyTheFiveCounts) {
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(out.str(), "Total QSOs: 3\nValid QSOs: 2\nNot Valid QSOs: 0\nNot Date Range: 0\nNot same OprCall: 1\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(ReadFile(dir.File("out.adi")).substr(0, kAdiHeader.size()), kAdiHeader);
}

TEST_F(ExportCommandTest, TraceComesBeforeTheCounts) {
    EXPECT_EQ(Run({"--trace"}), 0);
    EXPECT_EQ(out.str().rfind("String of integer 6 (radix 10): 6\n", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("String of integer 8 (radix 10): 8\nTotal QSOs: 3\n"), std::string::npos) << out.str();
}

TEST_F(ExportCommandTest, ProgressDescriptorGetsEveryChange) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    EXPECT_EQ(Run({"--progress-fd", std::to_string(fds[1])}), 0);
    close(fds[1]);
    std::string lines;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) lines.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    EXPECT_EQ(lines,
              "0 0 0 0 0\n"
              "0 0 1 0 0\n1 0 1 0 0\n"
              "1 0 1 1 0\n2 0 1 1 0\n"
              "2 0 2 1 0\n3 0 2 1 0\n");
}

TEST_F(ExportCommandTest, ClosedProgressReaderStopsTheRunWithoutAFile) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    sighandler_t saved = signal(SIGPIPE, SIG_IGN);
    EXPECT_EQ(Run({"--progress-fd", std::to_string(fds[1])}), 1);
    signal(SIGPIPE, saved);
    close(fds[1]);
    EXPECT_NE(err.str().find("progress"), std::string::npos) << err.str();
    EXPECT_TRUE(dir.Entries().empty());
}

TEST_F(ExportCommandTest, FailuresGiveOneLineAndExitOne) {
    struct Case {
        const char* name;
        std::function<void(ExportCommandTest&)> breakIt;
        std::string stderrStarts;
    };
    const std::vector<Case> cases = {
        {"version 5 refused", [](ExportCommandTest& t) {
             t.engine.GetTable("log.mdb", "VERSION").rows = {{std::string("5")}};
         }, "Qervel - mdb file version error\n"},
        {"no VERSION table", [](ExportCommandTest& t) {
             t.engine.SetTable("log.mdb", "VERSION", {{{"X"}}, {}});
         }, "Qervel - mdb file version error\n"},
        {"missing prefix table names it", [](ExportCommandTest& t) {
             t.engine.GetTable("Refdata.mdb", "PREFIX-Pri").columns.pop_back();
         }, "The column [TIMEDIFF]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        out.str("");
        err.str("");
        c.breakIt(*this);
        EXPECT_EQ(Run({}), 1);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str().rfind(c.stderrStarts, 0), 0u) << err.str();
        const std::string text = err.str();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
        EXPECT_TRUE(dir.Entries().empty());
    }
}

TEST_F(ExportCommandTest, CheckModes) {
    EXPECT_EQ(command.Run(ExportOptions::Parse({"--check-source", "--source", "log.mdb"})), 0);
    EXPECT_EQ(command.Run(ExportOptions::Parse({"--check-refdata", "--refdata", "Refdata.mdb"})), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(command.Run(ExportOptions::Parse({"--check-source", "--source", "nowhere.mdb"})), 1);
    EXPECT_EQ(command.Run(ExportOptions::Parse({"--check-refdata", "--refdata", "log.mdb"})), 1);
    EXPECT_NE(err.str().find("nowhere.mdb"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("PREFIX-Pri"), std::string::npos) << err.str();
    engine.GetTable("log.mdb", "VERSION").rows = {{std::string("5.9")}};
    err.str("");
    EXPECT_EQ(command.Run(ExportOptions::Parse({"--check-source", "--source", "log.mdb"})), 1);
    EXPECT_EQ(err.str(), "Qervel - mdb file version error\n");
}

}  // namespace
