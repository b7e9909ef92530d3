#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "data/CDaoException.h"
#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "export/CFileException.h"
#include "export/ExportRun.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

// total, not valid, valid, not same OprCall, not date range
using Counts = std::array<long, 5>;

Counts CountsOf(const ExportCounters& c) {
    return {c.Count(ExportCounters::Total), c.Count(ExportCounters::NotValid), c.Count(ExportCounters::Valid),
            c.Count(ExportCounters::NotSameOprCall), c.Count(ExportCounters::NotDateRange)};
}

TestQso Contact(const std::string& call, const std::string& valid, const std::string& oprCall,
                const std::string& date) {
    TestQso qso;
    std::tie(qso.call, qso.valid, qso.oprCall, qso.date) = std::tie(call, valid, oprCall, date);
    return qso;
}

struct ExportRunTest : ::testing::Test {
    MemoryEngine engine;
    std::string refdataPath = "Refdata.mdb";
    CMorvaskSet prefixes{engine, [this] { return refdataPath; }};
    CmorvaskSet2 qsos{engine, [] { return std::string("log.mdb"); }};
    ExportRun run{prefixes, qsos};
    TempDir dir;
    RunSettings settings{"", "", dir.File("adiUpld2Morvask.adi"), "PA3ABC", "19451116", "20301231"};
    int pumps = 0;
    std::vector<Counts> refreshes;

    void SetUp() override {
        engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), {}});
        engine.SetTable("Refdata.mdb", "PREFIX-Pri", {PrefixTableColumns(), {PrefixRow("DL", "230")}});
        run.SetHooks({[this](const ExportCounters& c) { refreshes.push_back(CountsOf(c)); }, [this] { ++pumps; }});
    }

    void SetQsos(const std::vector<TestQso>& contacts) {
        auto& rows = engine.GetTable("log.mdb", "QSO-TAB").rows;
        rows.clear();
        for (const TestQso& qso : contacts) rows.push_back(qso.Row());
    }

    // The calls of the written records, in file order.
    std::vector<std::string> WrittenCalls() const {
        std::vector<std::string> calls;
        std::istringstream lines(ReadFile(settings.m_strAdiPath));
        for (std::string line; std::getline(lines, line, '\r');)
            if (line.find("\n<CALL:") == 0 || line.find("<CALL:") == 0) calls.push_back(line.substr(line.find('>') + 1));
        return calls;
    }
};

struct WalkCase {
    const char* name;
    std::string oprCall, startDate, endDate;
    std::vector<TestQso> rows;
    Counts counts;  // total, not valid, valid, not same OprCall, not date range
    std::vector<std::string> written;
    int passes;
};

TEST_F(ExportRunTest, WalkSortsEachContactIntoOneOutcome) {
    const std::string in = "20120115", early = "19000101";
    const std::vector<WalkCase> cases = {
        {"every row passes: written in table order, one pass each", "PA3ABC", "19451116", "20301231",
         {Contact("A1", "1", "PA3ABC", in), Contact("B2", "-1", "PA3ABC", in), Contact("C3", "7", "PA3ABC", in)},
         {3, 0, 3, 0, 0}, {"A1", "B2", "C3"}, 3},
        {"R1 not valid, R2 not valid and outside: R2 meets the date test first", "PA3ABC", "19451116", "20301231",
         {Contact("R1", "0", "PA3ABC", in), Contact("R2", "0", "PA3ABC", early)}, {2, 1, 0, 0, 1}, {}, 1},
        {"after another operator the next row meets the date test before validity", "PA3ABC", "19451116",
         "20301231", {Contact("X1", "1", "DL9ZZ", in), Contact("X2", "0", "PA3ABC", early)}, {2, 0, 0, 1, 1}, {}, 1},
        {"after a date rejection the next row meets only acceptance, then starts the next pass", "PA3ABC",
         "19451116", "20301231", {Contact("D1", "1", "PA3ABC", early), Contact("D2", "0", "PA3ABC", in)},
         {2, 1, 0, 0, 1}, {}, 2},
        {"three rejections in one pass, then an acceptance in the same pass", "PA3ABC", "19451116", "20301231",
         {Contact("N1", "0", "PA3ABC", in), Contact("O1", "1", "XX1X", in), Contact("E1", "1", "PA3ABC", early),
          Contact("OK", "1", "PA3ABC", in)},
         {4, 1, 1, 1, 1}, {"OK"}, 1},
        {"empty table: header only, all counts zero", "PA3ABC", "19451116", "20301231", {}, {0, 0, 0, 0, 0}, {}, 0},
        {"last row rejected as not valid ends the walk", "PA3ABC", "19451116", "20301231",
         {Contact("A1", "1", "PA3ABC", in), Contact("Z9", "0", "PA3ABC", in)}, {2, 1, 1, 0, 0}, {"A1"}, 2},
        {"both ends of the range belong to it", "PA3ABC", "20120101", "20121231",
         {Contact("S0", "1", "PA3ABC", "20111231"), Contact("S1", "1", "PA3ABC", "20120101"),
          Contact("E1", "1", "PA3ABC", "20121231"), Contact("E2", "1", "PA3ABC", "20130101")},
         {4, 0, 2, 0, 2}, {"S1", "E1"}, 3},
        {"empty operator call accepts only rows without one", "", "19451116", "20301231",
         {Contact("W1", "1", "PA3ABC", in), Contact("W2", "1", "", in), Contact("W3", "1", "DL1AA", in)},
         {3, 0, 1, 2, 0}, {"W2"}, 2},
        {"operator calls compare exactly: case and blanks count", "PA3ABC", "19451116", "20301231",
         {Contact("C1", "1", "pa3abc", in), Contact("C2", "1", "PA3ABC ", in), Contact("C3", "1", " PA3ABC", in)},
         {3, 0, 0, 3, 0}, {}, 3},
        {"start after end accepts nothing", "PA3ABC", "20200101", "20100101",
         {Contact("F1", "1", "PA3ABC", "20150101"), Contact("F2", "0", "PA3ABC", "20150101")}, {2, 1, 0, 0, 1}, {},
         2},
        {"a four-character date sorts before that year's first day", "PA3ABC", "20120101", "20301231",
         {Contact("Y1", "1", "PA3ABC", "2012")}, {1, 0, 0, 0, 1}, {}, 1},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        settings.m_strOprCall = c.oprCall;
        settings.m_strStartDate = c.startDate;
        settings.m_strEndDate = c.endDate;
        SetQsos(c.rows);
        pumps = 0;
        run.Run(settings);
        EXPECT_EQ(CountsOf(run.Counters()), c.counts);
        EXPECT_EQ(WrittenCalls(), c.written);
        if (c.written.empty()) {
            EXPECT_EQ(ReadFile(settings.m_strAdiPath), kAdiHeader);
        }
        EXPECT_EQ(pumps, c.passes);
        EXPECT_FALSE(qsos.IsOpen());
        EXPECT_FALSE(prefixes.IsOpen());
    }
}

// A second run re-reads the table, rewrites the file and counts from 0 again, with a
// refresh after every single change.
TEST_F(ExportRunTest, SecondRunCountsAfreshAndRefreshesEveryChange) {
    SetQsos({Contact("A1", "1", "PA3ABC", "20120115")});
    run.Run(settings);
    SetQsos({Contact("B1", "0", "PA3ABC", "20120115"), Contact("B2", "1", "PA3ABC", "20120115")});
    refreshes.clear();
    run.Run(settings);
    const std::vector<Counts> expected = {
        {0, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {1, 1, 0, 0, 0}, {1, 1, 1, 0, 0}, {2, 1, 1, 0, 0}};
    EXPECT_EQ(refreshes, expected);
    EXPECT_EQ(run.Counters().Text(ExportCounters::Total), "2");
    EXPECT_EQ(WrittenCalls(), std::vector<std::string>{"B2"});
}

// Failures: the run stops with an error that names the file, an earlier output stays as
// it was, no temporary file is left behind, and the next run starts cleanly.
struct FailureCase {
    const char* name;
    std::function<void(ExportRunTest&)> breakIt;
    std::function<void(ExportRunTest&)> mendIt;
    std::string textMentions;
    Counts countsReached;
};

TEST_F(ExportRunTest, FailedRunLeavesEarlierFileAndRecovers) {
    const std::vector<FailureCase> cases = {
        {"database damaged in the middle of the walk",
         [](ExportRunTest& t) { t.engine.FailAfter("log.mdb", "QSO-TAB", 2); },
         [](ExportRunTest& t) { t.engine.FailAfter("log.mdb", "QSO-TAB", -1); }, "damaged", {2, 0, 2, 0, 0}},
        {"prefix table missing",
         [](ExportRunTest& t) {
             t.engine.SetTable("Other.mdb", "COUNTRIES", {PrefixTableColumns(), {}});
             t.refdataPath = "Other.mdb";
         },
         [](ExportRunTest& t) { t.refdataPath = "Refdata.mdb"; }, "PREFIX-Pri", {0, 0, 0, 0, 0}},
        {"a bound column missing",
         [](ExportRunTest& t) {
             auto& columns = t.engine.GetTable("log.mdb", "QSO-TAB").columns;
             columns.erase(columns.begin() + 20);
         },
         [](ExportRunTest& t) { t.engine.GetTable("log.mdb", "QSO-TAB").columns = QsoTableColumns(); }, "QSO-TEN-TEN",
         {0, 0, 0, 0, 0}},
        {"output directory missing",
         [](ExportRunTest& t) { t.settings.m_strAdiPath = t.dir.File("gone/adiUpld2Morvask.adi"); },
         [](ExportRunTest& t) { t.settings.m_strAdiPath = t.dir.File("adiUpld2Morvask.adi"); }, "gone",
         {0, 0, 0, 0, 0}},
    };
    const std::string earlier = "an earlier upload file\r\n";
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetQsos({Contact("A1", "1", "PA3ABC", "20120115"), Contact("A2", "1", "PA3ABC", "20120115"),
                 Contact("A3", "1", "PA3ABC", "20120115"), Contact("A4", "1", "PA3ABC", "20120115")});
        WriteFile(dir.File("adiUpld2Morvask.adi"), earlier);
        c.breakIt(*this);
        try {
            run.Run(settings);
            ADD_FAILURE() << "the run reported success";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.textMentions), std::string::npos) << e.what();
        }
        EXPECT_EQ(CountsOf(run.Counters()), c.countsReached);
        EXPECT_FALSE(qsos.IsOpen());
        EXPECT_FALSE(prefixes.IsOpen());
        EXPECT_EQ(ReadFile(dir.File("adiUpld2Morvask.adi")), earlier);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});

        c.mendIt(*this);
        run.Run(settings);
        EXPECT_EQ(WrittenCalls(), (std::vector<std::string>{"A1", "A2", "A3", "A4"}));
    }
}

}  // namespace
