#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "cli/ExportOptions.h"
#include "tests/integration/ExporterProcess.h"

namespace {

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";
const std::string kEarlier = "an earlier upload file\r\n";

std::vector<std::string> SampleArgs(const std::string& output, const std::string& source = kSample + "/source.mdb",
                                    const std::string& refdata = kSample + "/Refdata.mdb") {
    return {"--source", source, "--refdata", refdata, "--output", output, "--oprcall", "PA3ABC"};
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// An option given wins over what the dialog opens with, even when it is given empty (an
// empty date then takes its default); the options left out keep the dialog's values.
TEST(ExportOptions, GivenOptionsWinAndTheRestTakeWhatTheDialogOpensWith) {
    const RunSettings s =
        ExportOptions::Parse({"--oprcall", "", "--start", "20120101", "--end", "", "--output", "/tmp/x.adi"})
            .RunValues({"C:\\Q.mdb", "C:\\R.mdb", "C:\\A.adi", "PA3ABC", "19451116", "20301231"}, "");
    EXPECT_EQ(s.m_strSourcePath + "|" + s.m_strRefdataPath + "|" + s.m_strAdiPath + "|" + s.m_strOprCall + "|" +
                  s.m_strStartDate + "|" + s.m_strEndDate,
              "C:\\Q.mdb|C:\\R.mdb|/tmp/x.adi||20120101|20301231");
}

// How a job of the exporter ends, as scripts see it (the reason on standard error, nothing on
// standard output, the exit code) and as the desktop program is told it on the progress
// channel (a record naming the file and the bare reason, last); an earlier upload file stays
// as it was. Whatever is no file is refused at once, never opened to wait on. Each case has
// folders of its own; in its texts @dir, @output and @prefix stand for a scratch folder, the
// upload file and the Wine prefix.
struct JobEnd {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string error;   // a piece of standard error
    std::string report;  // the records, or the start of them where they end in a long reason
};

const JobEnd kJobEnds[] = {
    // The counts now and then (79 contacts take far less than one interval: the first and the
    // last), then "done" with the last; no summary on standard output.
    {"ASoundRun", SampleArgs("@dir/new.adi"), 0, "", "0 0 0 0 0\n79 7 62 9 1\ndone 79 7 62 9 1\n"},
    // The first line is the logging program's own text, which the desktop program shows as it
    // stands; the second says what was found.
    {"ARefusedVersion",
     {"--check-source", "--source", kSample + "/Refdata.mdb"},
     1,
     "Qervel - mdb file version error\nThe logging database '" + kSample +
         "/Refdata.mdb' holds no table [VERSION]; Qervel's database of version 6 or later is needed.\n",
     "failed version-refused source no table [VERSION]\n"},
    {"AMissingSource",
     {"--check-source", "--source", "@dir/missing.mdb"},
     1,
     "missing.mdb",
     "failed not-found source the file does not exist\n"},
    // A path from outside showed its escape sequence raw, which coloured the terminal, and its
    // newline printed a line "Total QSOs: 5" of its own.
    {"APathWithControlCharactersAndAByteThatIsNoUtf8",
     {"--check-source", "--source", "@dir/J\xf6rg\x1b[31m\nTotal QSOs: 5.mdb"},
     1,
     "Could not find file '@dir/J\\xf6rg\\x1b[31m\\nTotal QSOs: 5.mdb'",
     "failed not-found source the file does not exist\n"},
    {"ASourceWithoutThePrefixTable",
     {"--check-refdata", "--refdata", kSample + "/source.mdb"},
     1,
     "PREFIX-Pri",
     "failed wrong-layout reference the table [PREFIX-Pri] does not exist\n"},
    {"ALogDamagedHalfWayThroughARun", SampleArgs("@output", "@dir/half.mdb"), 1, "half.mdb' is damaged",
     "failed damaged source "},
    {"AnOutputFolderThatDoesNotExist", SampleArgs("@dir/no/out.adi"), 1, "no/out.adi",
     "0 0 0 0 0\nfailed output-not-writable adif No such file or directory\n"},
    {"ANamedPipeAsTheSource", SampleArgs("@output", "@dir/pipe.mdb"), 1,
     "'@dir/pipe.mdb' is not an Access database (it is a named pipe)", "failed not-access source it is a named pipe\n"},
    {"ASocketToCheck",
     {"--check-source", "--source", "@dir/socket.mdb"},
     1,
     "(it is a socket)",
     "failed not-access source it is a socket\n"},
    {"ADeviceAsTheReference", SampleArgs("@output", kSample + "/source.mdb", "/dev/null"), 1,
     "'/dev/null' is not an Access database (it is a character device)",
     "0 0 0 0 0\nfailed not-access reference it is a character device\n"},
    // A refusal keeps its reason in view: one line, then where the usage is, not the usage.
    {"ADriveThePrefixDoesNotMap",
     {"--check-refdata", "--refdata", "Q:\\Refdata.mdb"},
     2,
     "Drive Q:",
     "failed unusable-value reference Drive Q: of \"Q:\\\\Refdata.mdb\" is not mapped"},
    {"AnEmptyOutputPath",
     {"--source", kSample + "/source.mdb", "--output", ""},
     2,
     "--output",
     "failed unusable-value adif the path is empty\n"},
    {"AnEmptySource",
     {"--source", ""},
     2,
     "morvask-export: the source database path is empty: name the logging program's database file (--source is "
     "empty)",
     "failed unusable-value source the source database path is empty: "},
    {"DatapathOnADriveThePrefixLacks",
     {},
     2,
     "--source: Drive M: of \"M:\\Log\\Qervel.mdb\" is not mapped in the Wine prefix \"@prefix",
     "failed unusable-value source Drive M:"},
    {"AFourCharacterStartDate",
     {"--source", kSample + "/source.mdb", "--start", "2012"},
     2,
     "the start date \"2012\" is shorter than 8 characters",
     ""},
    {"AnOptionWithoutItsValue", {"--start"}, 2, "morvask-export: --start needs a value", ""},
};

class ExportCliEnd : public testing::TestWithParam<JobEnd> {
protected:
    void SetUp() override {
        m_prefix.MakeDir("dosdevices");
        m_prefix.WriteFile("drive_c/windows/Qvl2007.ini", "[Dir]\nDATAPATH=M:\\Log\\Qervel.mdb\n");
        WriteFile(Output(), kEarlier);
        const std::string sample = ReadFile(kSample + "/source.mdb");
        WriteFile(m_dir.File("half.mdb"), sample.substr(0, sample.size() / 2));
        ASSERT_EQ(mkfifo(m_dir.File("pipe.mdb").c_str(), 0644), 0);
        m_dir.MakeSocket("socket.mdb");
    }

    std::string Output() const { return m_out.File("adiUpld2Morvask.adi"); }

    // The case's text with its folders in place of @dir, @output and @prefix.
    std::string Expand(std::string text) const {
        for (const auto& [token, path] :
             {std::pair{"@dir", m_dir.Root()}, std::pair{"@output", Output()}, std::pair{"@prefix", m_prefix.Root()}}) {
            for (std::size_t at; (at = text.find(token)) != std::string::npos;)
                text.replace(at, std::string_view(token).size(), path);
        }
        return text;
    }

    TempDir m_dir, m_out, m_prefix;
};

TEST_P(ExportCliEnd, IsToldBothWaysAndLeavesTheUploadFileAlone) {
    const JobEnd& c = GetParam();
    const std::string error = Expand(c.error);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::vector<std::string> args = {"--progress-fd", std::to_string(fds[1])};
    for (const std::string& arg : c.args) args.push_back(Expand(arg));
    ExporterProcess run(args, -1, m_prefix.Root());
    close(fds[1]);
    EXPECT_EQ(run.Wait(std::chrono::seconds(20)), c.code) << "-1: it was still waiting\n" << run.Stderr();
    const std::string report = ReadFile("/proc/self/fd/" + std::to_string(fds[0]));
    close(fds[0]);
    EXPECT_EQ(run.Stdout(), "");
    EXPECT_NE(run.Stderr().find(error), std::string::npos) << run.Stderr();
    EXPECT_EQ(c.code == 0, run.Stderr().empty()) << run.Stderr();
    if (c.code == 1) {
        EXPECT_EQ(Lines(run.Stderr()), std::max(1, Lines(error))) << run.Stderr();
    }
    if (c.code == 2) {
        EXPECT_EQ(Lines(run.Stderr()), 2) << run.Stderr();
        EXPECT_TRUE(run.Stderr().ends_with("\nTry 'morvask-export --help'.\n")) << run.Stderr();
    }
    EXPECT_EQ(c.report.ends_with('\n') ? report : report.substr(0, c.report.size()), c.report);
    if (report.find("failed ") != std::string::npos) {
        EXPECT_EQ(report.find('\n', report.find("failed ")), report.size() - 1) << report;
    }
    EXPECT_EQ(ReadFile(Output()), kEarlier);
    EXPECT_EQ(m_out.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
}

std::string NameOf(const testing::TestParamInfo<JobEnd>& end) { return end.param.name; }
// Named by its case in the test's report, rather than dumped byte by byte.
void PrintTo(const JobEnd& end, std::ostream* out) { *out << end.name; }

INSTANTIATE_TEST_SUITE_P(EveryEnd, ExportCliEnd, testing::ValuesIn(kJobEnds), NameOf);

// Counts that cannot be written are no success: a script would take their absence for a
// run with nothing to say. The file itself is complete all the same. Closed standard
// descriptors, as a desktop program started without them hands on, must not give their
// numbers to the next file opened: the trace would land in the ADIF file or in the reader's
// pipes, which the reader would take for its standard output.
TEST(ExportCli, CountsThatCannotBeWrittenFailTheRunButTheFileStands) {
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    // A trace that could not be written leaves no reason for the counts.
    for (const auto& [name, stdoutFd, trace, reason] :
         {std::tuple{"full", full, false, ": No space left on device"},
          std::tuple{"closed, with the trace", ExporterProcess::kClosedInputAndOutput, true, ""}}) {
        SCOPED_TRACE(name);
        TempDir dir;
        std::vector<std::string> args = SampleArgs(dir.File("adiUpld2Morvask.adi"));
        if (trace) args.push_back("--trace");
        ExporterProcess run(args, stdoutFd);
        EXPECT_EQ(run.Wait(), 1);
        EXPECT_EQ(run.Stderr().rfind(std::string("Cannot write the counts to standard output") + reason, 0), 0u)
            << run.Stderr();
        EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), ReadFile(kSample + "/expected.adi"));
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
    }
    close(full);
}

// Values the run takes as they are but that can hardly be meant are named on standard error;
// the run and its exit status stay as they were. Here every one at once: dates that are no
// days, the start after the end, and a mistyped operator call. (Ordinary values bring no
// warning: the sound run of the table above has an empty standard error.)
TEST(ExportCli, DoubtfulDatesAndAnOperatorCallWithoutContactsAreWarnedOf) {
    const std::string warning = "morvask-export: warning: ";
    const std::string notADay =
        "\" is not a calendar day written YYYYMMDD; contact dates are compared with it as text\n";
    TempDir dir;
    std::vector<std::string> args = SampleArgs(dir.File("adiUpld2Morvask.adi"));
    args.back() = "PA3ABD";
    args.insert(args.end(), {"--start", "20130230", "--end", "201201311"});
    ExporterProcess run(args);
    EXPECT_EQ(run.Wait(), 0) << run.Stderr();
    EXPECT_EQ(run.Stderr(),
              warning + "the start date \"20130230" + notADay + warning + "the end date \"201201311" + notADay +
                  warning +
                  "the start date \"20130230\" is after the end date \"201201311\": no contact can lie in the date "
                  "range\n" +
                  warning +
                  "no contact was exported for the operator call \"PA3ABD\"; 40 belong to other operator calls: "
                  "\"PA3ABC\" (36), \"\" (3), \"PA0XYZ\" (1). Check the operator call.\n");
    EXPECT_EQ(run.Stdout().rfind("Total QSOs: 79\n", 0), 0u) << run.Stdout();
}

}  // namespace
