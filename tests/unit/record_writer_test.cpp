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

// Writes the given contacts, one after the other through one writer, and returns the
// bytes of the last record: values must never carry over from the contact before.
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

    std::string WriteAll(const std::vector<TestQso>& contacts) {
        std::vector<std::vector<std::optional<std::string>>> rows;
        for (const TestQso& q : contacts) rows.push_back(q.Row());
        engine.SetTable("log.mdb", "QSO-TAB", {QsoTableColumns(), rows});
        qsos.Open();
        std::string last;
        for (; !qsos.IsEOF(); qsos.MoveNext()) {
            sink.bytes.clear();
            writer.Write(qsos, prefixes);
            prefixes.MoveFirst();
            last = sink.bytes;
        }
        qsos.Close();
        return last;
    }
};

TEST_F(RecordWriterTest, FullRecordLayout) {
    TestQso q;
    q.call = "PA3XYZ";
    q.time = "0915";
    q.confirm = "3";
    q.award = "1";
    q.qsls = "1";
    q.qslRcvdDate = "20120301";
    q.qslSentDate = "20120201";
    q.prefix = "PA";
    EXPECT_EQ(WriteAll({q}),
              "<CALL:6>PA3XYZ\r\n<QSO_DATE:8>20120115\r\n<TIME_ON:4>0915\r\n<OPERATOR:6>PA3ABC\r\n"
              "<QSL_RCVD:1>V\r\n<LOTW_QSL_RCVD:1>V\r\n<BAND:3>20M\r\n<MODE:2>CW\r\n<QSL_SENT:1>Y\r\n"
              "<LOTW_QSL_SENT:1>N\r\n<QSLRDATE:8>20120301\r\n<QSLSDATE:8>20120201\r\n<DXCC:3>263\r\n"
              "<FREQ:8>14.02550\r\n<EOR>\r\n\r\n");
    EXPECT_EQ(sink.writes, 15) << "one write per field line and one for the record end";
}

TEST_F(RecordWriterTest, LinesThatDependOnTheContact) {
    struct Case {
        const char* name;
        std::function<void(TestQso&)> change;
        std::string line;   // a line the record must hold
        std::string absent;  // a text the record must not hold
    };
    const std::vector<Case> cases = {
        {"empty call still written", [](TestQso& q) { q.call = ""; }, "<CALL:0>\r\n", ""},
        {"two-byte character counts two", [](TestQso& q) { q.call = "\xC3\x84" "1AB"; }, "<CALL:5>\xC3\x84" "1AB\r\n", ""},
        {"angle brackets written unchanged", [](TestQso& q) { q.call = "<EOR>"; }, "<CALL:5><EOR>\r\n", ""},
        {"short date states its true length", [](TestQso& q) { q.date = "2012"; }, "<QSO_DATE:4>2012\r\n", ""},
        {"long date states its true length", [](TestQso& q) { q.date = "2002-03-18"; }, "<QSO_DATE:10>2002-03-18\r\n", ""},
        {"short QSL sent date", [](TestQso& q) { q.qslSentDate = "2012"; }, "<QSLSDATE:4>2012\r\n", ""},
        {"no received date, no line for it", [](TestQso&) {}, "<DXCC:", "<QSLRDATE"},
        {"no sent date, no line for it", [](TestQso&) {}, "<DXCC:", "<QSLSDATE"},
        {"only the received date", [](TestQso& q) { q.qslRcvdDate = "20200102"; }, "<QSLRDATE:8>20200102\r\n",
         "<QSLSDATE"},
        {"empty frequency, no FREQ line", [](TestQso& q) { q.freq = ""; }, "<DXCC:", "<FREQ"},
        {"malformed frequency, no FREQ line", [](TestQso& q) { q.freq = "abc"; }, "<DXCC:", "<FREQ"},
        {"unknown band written empty", [](TestQso& q) { q.band = "99"; }, "<BAND:0>\r\n", ""},
        {"unknown mode written empty", [](TestQso& q) { q.mode = "9"; }, "<MODE:0>\r\n", ""},
        {"unknown received code", [](TestQso& q) { q.confirm = "4"; }, "<QSL_RCVD:0>\r\n<LOTW_QSL_RCVD:0>\r\n", ""},
        {"unknown sent code", [](TestQso& q) { q.qsls = "x"; }, "<QSL_SENT:0>\r\n<LOTW_QSL_SENT:0>\r\n", ""},
        {"first of two rows with one prefix wins", [](TestQso& q) { q.prefix = "PA"; }, "<DXCC:3>263\r\n", ""},
        {"prefix compared with case", [](TestQso& q) { q.prefix = "dl"; }, "<DXCC:3>999\r\n", ""},
        {"prefix with a trailing blank is another prefix", [](TestQso& q) { q.prefix = "OZ"; }, "<DXCC:0>\r\n", ""},
        {"unknown prefix gives no entity", [](TestQso& q) { q.prefix = "XX"; }, "<DXCC:0>\r\n", ""},
        {"last row of the prefix table", [](TestQso& q) { q.prefix = "ZL"; }, "<DXCC:3>170\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The contact before carries every value, so a stale one would show.
        TestQso before;
        before.band = "0";
        before.mode = "6";
        before.submode = "PACTOR";
        before.confirm = "3";
        before.qsls = "3";
        before.prefix = "ZL";
        before.freq = "144300.00";
        before.qslRcvdDate = "20120301";
        before.qslSentDate = "20120201";
        TestQso q;
        c.change(q);
        std::string record = WriteAll({before, q});
        EXPECT_NE(record.find(c.line), std::string::npos) << record;
        if (!c.absent.empty()) {
            EXPECT_EQ(record.find(c.absent), std::string::npos) << record;
        }
        EXPECT_EQ(record.substr(record.size() - 9), "<EOR>\r\n\r\n");
    }
}

TEST_F(RecordWriterTest, TraceGivesEveryCountedLengthButNotTheDates) {
    TestQso q;
    q.qslRcvdDate = "20120301";
    WriteAll({q});
    EXPECT_EQ(trace.str(),
              "String of integer 6 (radix 10): 6\n"    // CALL
              "String of integer 4 (radix 10): 4\n"    // TIME_ON
              "String of integer 6 (radix 10): 6\n"    // OPERATOR
              "String of integer 1 (radix 10): 1\n"    // QSL_RCVD
              "String of integer 1 (radix 10): 1\n"    // LOTW_QSL_RCVD
              "String of integer 3 (radix 10): 3\n"    // BAND
              "String of integer 2 (radix 10): 2\n"    // MODE
              "String of integer 1 (radix 10): 1\n"    // QSL_SENT
              "String of integer 1 (radix 10): 1\n"    // LOTW_QSL_SENT
              "String of integer 3 (radix 10): 3\n"    // DXCC
              "String of integer 8 (radix 10): 8\n");  // FREQ
}

}  // namespace
