#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "export/LineSink.h"

// The line layout of the ADIF file: the fixed three-line header, counted fields
// ("<CALL:6>PA3ABC"), date fields, and the record end. Every line ends in CR LF and goes
// to the sink in one piece. Values are written as the bytes the database yields, without
// conversion or escaping; a length counts bytes, not characters.
class AdifWriter {
public:
    // trace, when given, receives one line per counted length, in order; the lines reach it
    // in blocks and all of them by the time the writer goes.
    AdifWriter(LineSink& out, std::ostream* trace);
    ~AdifWriter();
    AdifWriter(const AdifWriter&) = delete;
    AdifWriter& operator=(const AdifWriter&) = delete;

    void WriteHeader();
    // tag is the opening text up to and including the colon, such as "<CALL:".
    void WriteCounted(std::string_view tag, std::string_view value);
    // Date fields state 8, the length of a "YYYYMMDD" date. A stored value of any other
    // length gets its true length instead, or a reader would take 8 bytes and swallow the
    // start of the next tag.
    void WriteDate(std::string_view tag, std::string_view value);
    void WriteRecordEnd();

private:
    void Trace(std::size_t length);
    void WriteField(std::string_view tag, std::size_t length, std::string_view value);
    void FlushTrace();

    LineSink& m_out;
    std::ostream* m_trace;
    std::unique_ptr<char[]> m_traceBlock;  // trace lines not yet handed to the stream
    std::size_t m_traceFilled = 0;
};
