#include <gtest/gtest.h>
#include <sys/resource.h>

#include <array>
#include <csignal>
#include <sstream>

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbEngine.h"
#include "export/ExportRun.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

// total, not valid, valid, not same OprCall, not date range
using Counts = std::array<long, 5>;

Counts CountsOf(const ExportCounters& c) {
    return {c.Count(ExportCounters::Total), c.Count(ExportCounters::NotValid), c.Count(ExportCounters::Valid),
            c.Count(ExportCounters::NotSameOprCall), c.Count(ExportCounters::NotDateRange)};
}

// A contact of this operator on an ordinary day unless told otherwise.
TestQso Contact(const std::string& call, const std::string& valid, const std::string& date = "20120115",
                const std::string& oprCall = "PA3ABC") {
    TestQso qso;
    std::tie(qso.call, qso.valid, qso.date, qso.oprCall) = std::tie(call, valid, date, oprCall);
    return qso;
}

struct ExportRunTest : ::testing::Test {
    MdbEngine engine;
    TempDir databases, dir;
    const std::string log = databases.File("log.mdb");
    std::string refdataPath = databases.File("Refdata.mdb");
    CMorvaskSet prefixes{engine, [this] { return refdataPath; }};
    CmorvaskSet2 qsos{engine, [this] { return log; }};
    ExportRun run{prefixes, qsos};
    RunSettings settings{"", "", dir.File("adiUpld2Morvask.adi"), "PA3ABC", "19451116", "20301231"};
    int pumps = 0;

    void SetUp() override {
        WriteTestTable(refdataPath, "PREFIX-Pri", PrefixTableColumns(),
                       {PrefixRow("DL", "230"), PrefixRow("ZL", "170")});
        run.SetHooks({.pump = [this] { ++pumps; }});
    }

    void SetQsos(const std::vector<TestQso>& contacts, const std::vector<TestColumn>& columns = QsoTableColumns()) {
        std::vector<TestRow> rows;
        for (const TestQso& qso : contacts) rows.push_back(qso.Row());
        WriteTestTable(log, "QSO-TAB", columns, rows);
    }

    // The calls of the written records, in file order.
    std::vector<std::string> WrittenCalls() const {
        std::vector<std::string> calls;
        std::istringstream lines(ReadFile(settings.m_strAdiPath));
        for (std::string line; std::getline(lines, line, '\r');)
            if (line.rfind("\n<CALL:", 0) == 0) calls.push_back(line.substr(line.find('>') + 1));
        return calls;
    }
};

struct WalkCase {
    const char* name;
    std::vector<TestQso> rows;
    Counts counts;
    std::vector<std::string> written;
    int passes;
    std::string oprCall = "PA3ABC", startDate = "19451116", endDate = "20301231";
};

TEST_F(ExportRunTest, WalkSortsEachContactIntoOneOutcome) {
    const std::string early = "19000101";
    const std::vector<WalkCase> cases = {
        {"every row passes: written in table order, one pass each",
         {Contact("A1", "1"), Contact("B2", "-1"), Contact("C3", "7")},
         {3, 0, 3, 0, 0},
         {"A1", "B2", "C3"},
         3},
        {"R1 not valid, R2 not valid and outside: R2 meets the date test first",
         {Contact("R1", "0"), Contact("R2", "0", early)},
         {2, 1, 0, 0, 1},
         {},
         1},
        {"after another operator the next row meets the date test before validity",
         {Contact("X1", "1", "20120115", "DL9ZZ"), Contact("X2", "0", early)},
         {2, 0, 0, 1, 1},
         {},
         1},
        {"after a date rejection the next row meets only acceptance, then starts the next pass",
         {Contact("D1", "1", early), Contact("D2", "0")},
         {2, 1, 0, 0, 1},
         {},
         2},
        {"three rejections in one pass, then an acceptance in the same pass",
         {Contact("N1", "0"), Contact("O1", "1", "20120115", "XX1X"), Contact("E1", "1", early), Contact("OK", "1")},
         {4, 1, 1, 1, 1},
         {"OK"},
         1},
        {"empty table: header only, all counts zero", {}, {0, 0, 0, 0, 0}, {}, 0},
        {"last row rejected as not valid ends the walk",
         {Contact("A1", "1"), Contact("Z9", "0")},
         {2, 1, 1, 0, 0},
         {"A1"},
         2},
        {"both ends belong to the range; dates compare as text",
         {Contact("S0", "1", "20111231"), Contact("S1", "1", "20120101"), Contact("E1", "1", "20121231"),
          Contact("E2", "1", "20130101"), Contact("Y1", "1", "2012")},
         {5, 0, 2, 0, 3},
         {"S1", "E1"},
         4,
         "PA3ABC",
         "20120101",
         "20121231"},
        {"empty operator call accepts only rows without one",
         {Contact("W1", "1"), Contact("W2", "1", "20120115", ""), Contact("W3", "1", "20120115", "DL1AA")},
         {3, 0, 1, 2, 0},
         {"W2"},
         2,
         ""},
        {"operator calls compare exactly: case and blanks count",
         {Contact("C1", "1", "20120115", "pa3abc"), Contact("C2", "1", "20120115", "PA3ABC ")},
         {2, 0, 0, 2, 0},
         {},
         2},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::tie(settings.m_strOprCall, settings.m_strStartDate, settings.m_strEndDate) =
            std::tie(c.oprCall, c.startDate, c.endDate);
        SetQsos(c.rows);
        pumps = 0;
        run.Run(settings);
        EXPECT_EQ(CountsOf(run.Counters()), c.counts);
        EXPECT_EQ(WrittenCalls(), c.written);
        if (c.written.empty()) {
            EXPECT_EQ(ReadFile(settings.m_strAdiPath),
                      "MorVask Special ADIF filemaker from Tamrik v[1.0]\r\n<EOH>\r\n\r\n");
        }
        EXPECT_EQ(pumps, c.passes);
        EXPECT_FALSE(qsos.IsOpen());
        EXPECT_FALSE(prefixes.IsOpen());
    }
}

// A contact with values the conversions do not know, after one that fills every derived
// value: no value of the first may show in the second's record, every line is still written,
// and lengths count bytes.
TEST_F(ExportRunTest, UnknownValuesGiveEmptyFieldsNeverThePreviousContacts) {
    TestQso before, odd;
    std::tie(before.band, before.mode, before.submode, before.confirm, before.qsls, before.prefix) =
        std::make_tuple("0", "6", "PACTOR", "3", "3", "ZL");
    std::tie(before.qslRcvdDate, before.qslSentDate) = std::make_tuple("20120301", "20120201");
    std::tie(odd.call, odd.date, odd.qslSentDate, odd.band, odd.mode, odd.confirm, odd.qsls, odd.prefix, odd.freq) =
        std::make_tuple("<\xC3\x84>", "2012", "2012", "99", "9", "4", "x", "XX", "70.25.00");
    SetQsos({before, odd});
    run.Run(settings);
    const std::string file = ReadFile(settings.m_strAdiPath);
    EXPECT_EQ(file.substr(file.find("<EOR>\r\n\r\n") + 9),
              "<CALL:4><\xC3\x84>\r\n<QSO_DATE:4>2012\r\n<TIME_ON:4>1200\r\n<OPERATOR:6>PA3ABC\r\n"
              "<QSL_RCVD:0>\r\n<LOTW_QSL_RCVD:0>\r\n<BAND:0>\r\n<MODE:0>\r\n<QSL_SENT:0>\r\n"
              "<LOTW_QSL_SENT:0>\r\n<QSLSDATE:4>2012\r\n<DXCC:0>\r\n<EOR>\r\n\r\n");
}

// Writes past the limit fail as on a full disk; RLIM_INFINITY lifts it again.
void LimitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min(bytes, limit.rlim_max);
    setrlimit(RLIMIT_FSIZE, &limit);
}

// Failures: the run stops with an error that names the file or table, an earlier output
// stays as it was, no temporary file is left behind, the recordsets are closed, the counts
// keep the values reached, and the next run, with the cause mended, starts cleanly.
struct FailureCase {
    const char* name;
    std::function<void(ExportRunTest&)> breakIt;
    std::string textMentions;
    std::optional<Counts> countsReached;  // none: some contacts but not all
};

TEST_F(ExportRunTest, FailedRunLeavesEarlierFileAndRecovers) {
    const long contacts = 2000;  // about 400 KB of records, more than one block of the file
    const std::vector<FailureCase> cases = {
        {"database damaged in the middle of the walk: a data page in the middle zeroed",
         [](ExportRunTest& t) {
             std::string bytes = ReadFile(t.log);
             const std::size_t middle = bytes.size() / 4096 / 2 * 4096;
             ASSERT_EQ(bytes[middle], 0x01) << "no data page";
             WriteFile(t.log, bytes.replace(middle, 4096, 4096, '\0'));
         },
         "damaged", std::nullopt},
        {"prefix table missing", [](ExportRunTest& t) { t.refdataPath = t.log; }, "PREFIX-Pri", Counts{}},
        {"a bound column missing",
         [](ExportRunTest& t) {
             std::vector<TestColumn> columns = QsoTableColumns();
             columns[20].name = "QSO-10-10";
             t.SetQsos(std::vector<TestQso>(contacts), columns);
         },
         "QSO-TEN-TEN", Counts{}},
        {"disk full in the middle of the walk", [](ExportRunTest&) { LimitFileSize(100000); },
         "adiUpld2Morvask.adi\": File too large", std::nullopt},
    };
    const std::string earlier = "an earlier upload file\r\n";
    SetQsos(std::vector<TestQso>(contacts));
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.File("adiUpld2Morvask.adi"), earlier);
        c.breakIt(*this);
        try {
            run.Run(settings);
            ADD_FAILURE() << "the run reported success";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.textMentions), std::string::npos) << e.what();
        }
        LimitFileSize(RLIM_INFINITY);
        SetQsos(std::vector<TestQso>(contacts));
        refdataPath = databases.File("Refdata.mdb");
        Counts reached = CountsOf(run.Counters());
        if (c.countsReached) {
            EXPECT_EQ(reached, *c.countsReached);
        } else {
            EXPECT_EQ(reached, (Counts{reached[0], 0, reached[0], 0, 0}));
            EXPECT_GT(reached[0], 0);
            EXPECT_LT(reached[0], contacts);
        }
        EXPECT_FALSE(qsos.IsOpen());
        EXPECT_FALSE(prefixes.IsOpen());
        EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), earlier);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});

        run.Run(settings);
        EXPECT_EQ(CountsOf(run.Counters()), (Counts{contacts, 0, contacts, 0, 0}));
        EXPECT_EQ(WrittenCalls().size(), static_cast<std::size_t>(contacts));
    }
}

}  // namespace
