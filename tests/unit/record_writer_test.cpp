#include <gtest/gtest.h>

#include <sstream>

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "export/QsoRecordWriter.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

struct StringSink : LineSink {
    std::string bytes;
    int writes = 0;
    void Write(std::string_view line) override {
        bytes.append(line);
        ++writes;
    }
};

struct RecordWriterTest : ::testing::Test {
    MemoryEngine engine;
    CMorvaskSet prefixes{engine, [] { return std::string("Refdata.mdb"); }};
    CmorvaskSet2 qsos{engine, [] { return std::string("log.mdb"); }};
    StringSink sink;
    std::ostringstream trace;
    QsoRecordWriter writer{sink, &trace};

    void SetUp() override {
        engine.SetTable("Refdata.mdb", "PREFIX-Pri",
                        {PrefixTableColumns(),
                         {PrefixRow("DL", "230"), PrefixRow("dl", "999"), PrefixRow("PA", "263"),
                          PrefixRow("OZ ", "888"), PrefixRow("PA", "111"), PrefixRow("ZL", "170")}});
        prefixes.Open();
    }

    // Writes the contacts through one writer and returns the last record.
    std::string WriteAll(const std::vector<TestQso>& contacts) {
        std::vector<std::vector<std::optional<std::string>>> rows;
        for (const TestQso& q : contacts) rows.push_back(q.Row());
        engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), rows});
        for (qsos.Open(); !qsos.IsEOF(); qsos.MoveNext()) {
            sink.bytes.clear();
            writer.Write(qsos, prefixes);
        }
        qsos.Close();
        return sink.bytes;
    }
};

TEST_F(RecordWriterTest, FullRecordLineByLineWithItsTrace) {
    TestQso q;
    std::tie(q.call, q.time, q.confirm, q.award, q.qsls, q.prefix) = std::make_tuple("PA3XYZ", "0915", "3", "1", "1", "PA");
    std::tie(q.qslRcvdDate, q.qslSentDate) = std::make_tuple("20120301", "20120201");
    EXPECT_EQ(WriteAll({q}),
              "<CALL:6>PA3XYZ\r\n<QSO_DATE:8>20120115\r\n<TIME_ON:4>0915\r\n<OPERATOR:6>PA3ABC\r\n"
              "<QSL_RCVD:1>V\r\n<LOTW_QSL_RCVD:1>V\r\n<BAND:3>20M\r\n<MODE:2>CW\r\n<QSL_SENT:1>Y\r\n"
              "<LOTW_QSL_SENT:1>N\r\n<QSLRDATE:8>20120301\r\n<QSLSDATE:8>20120201\r\n<DXCC:3>263\r\n"
              "<FREQ:8>14.02550\r\n<EOR>\r\n\r\n");
    EXPECT_EQ(sink.writes, 15) << "one write per field line and one for the record end";
    std::string expectedTrace;  // counted fields only, not the three dates
    for (int length : {6, 4, 6, 1, 1, 3, 2, 1, 1, 3, 8})
        expectedTrace += "String of integer " + std::to_string(length) + " (radix 10): " + std::to_string(length) + "\n";
    EXPECT_EQ(trace.str(), expectedTrace);
}

// Each case follows a contact that fills every derived value, so a value carried over
// from it would show.
TEST_F(RecordWriterTest, LinesThatDependOnTheContact) {
    const std::vector<std::tuple<const char*, std::function<void(TestQso&)>, std::string, std::string>> cases = {
        // name, change, a line the record holds, a text it must not hold
        {"empty call still written", [](TestQso& q) { q.call = ""; }, "<CALL:0>\r\n", "<CALL:6"},
        {"two-byte character counts two", [](TestQso& q) { q.call = "\xC3\x84" "1AB"; }, "<CALL:5>\xC3\x84" "1AB\r\n", ""},
        {"angle brackets unchanged", [](TestQso& q) { q.call = "<EOR>"; }, "<CALL:5><EOR>\r\n", ""},
        {"short date states its length", [](TestQso& q) { q.date = "2012"; }, "<QSO_DATE:4>2012\r\n", ""},
        {"long date states its length", [](TestQso& q) { q.date = "2002-03-18"; }, "<QSO_DATE:10>2002-03-18\r\n", ""},
        {"short QSL sent date", [](TestQso& q) { q.qslSentDate = "2012"; }, "<QSLSDATE:4>2012\r\n", "<QSLRDATE"},
        {"no QSL dates, no date lines", [](TestQso&) {}, "<DXCC:", "<QSLSDATE"},
        {"only the received date", [](TestQso& q) { q.qslRcvdDate = "20200102"; }, "<QSLRDATE:8>20200102\r\n", "<QSLSDATE"},
        {"empty frequency, no FREQ line", [](TestQso& q) { q.freq = ""; }, "<DXCC:", "<FREQ"},
        {"malformed frequency, no FREQ line", [](TestQso& q) { q.freq = "70.25.00"; }, "<DXCC:", "<FREQ"},
        {"unknown band empty", [](TestQso& q) { q.band = "99"; }, "<BAND:0>\r\n", ""},
        {"unknown mode empty", [](TestQso& q) { q.mode = "9"; }, "<MODE:0>\r\n", ""},
        {"unknown received code", [](TestQso& q) { q.confirm = "4"; }, "<QSL_RCVD:0>\r\n<LOTW_QSL_RCVD:0>\r\n", ""},
        {"unknown sent code", [](TestQso& q) { q.qsls = "x"; }, "<QSL_SENT:0>\r\n<LOTW_QSL_SENT:0>\r\n", ""},
        {"first of two rows with one prefix", [](TestQso& q) { q.prefix = "PA"; }, "<DXCC:3>263\r\n", ""},
        {"prefix compared with case", [](TestQso& q) { q.prefix = "dl"; }, "<DXCC:3>999\r\n", ""},
        {"trailing blank makes another prefix", [](TestQso& q) { q.prefix = "OZ"; }, "<DXCC:0>\r\n", ""},
        {"unknown prefix has no entity", [](TestQso& q) { q.prefix = "XX"; }, "<DXCC:0>\r\n", ""},
    };
    for (const auto& [name, change, line, absent] : cases) {
        SCOPED_TRACE(name);
        TestQso before;
        std::tie(before.band, before.mode, before.submode, before.confirm, before.qsls, before.prefix) =
            std::make_tuple("0", "6", "PACTOR", "3", "3", "ZL");
        std::tie(before.qslRcvdDate, before.qslSentDate) = std::make_tuple("20120301", "20120201");
        TestQso q;
        change(q);
        std::string record = WriteAll({before, q});
        EXPECT_NE(record.find(line), std::string::npos) << record;
        if (!absent.empty()) {
            EXPECT_EQ(record.find(absent), std::string::npos) << record;
        }
    }
}

}  // namespace
