#include "export/AdifWriter.h"

#include <cstring>

namespace {
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kTraceStart = "String of integer ";
constexpr std::string_view kTraceMiddle = " (radix 10): ";
// Trace lines are handed to the stream in blocks: a run traces millions of them, and a
// stream call per line costs more than building it.
constexpr std::size_t kTraceBlock = 1 << 16;
// The longest trace line: two lengths of at most 20 digits each.
constexpr std::size_t kTraceLineMax = kTraceStart.size() + 20 + kTraceMiddle.size() + 20 + 1;

// The number of decimal digits of a length.
std::size_t DecimalDigits(std::size_t length) {
    std::size_t digits = 1;
    for (; length >= 10; length /= 10) ++digits;
    return digits;
}

// Writes a length of `digits` decimal digits at `at`; returns the end. A run writes a
// length four million times over (field and trace), and std::to_chars would be a call of
// its own each time.
char* PutDecimal(char* at, std::size_t length, std::size_t digits) {
    char* const end = at + digits;
    for (char* digit = end; digit != at; length /= 10) *--digit = static_cast<char>('0' + length % 10);
    return end;
}

// "String of integer 6 (radix 10): 6\n" at `at`; returns the end of the line.
char* PutTraceLine(char* at, std::size_t length) {
    const std::size_t digits = DecimalDigits(length);
    std::memcpy(at, kTraceStart.data(), kTraceStart.size());
    at = PutDecimal(at + kTraceStart.size(), length, digits);
    std::memcpy(at, kTraceMiddle.data(), kTraceMiddle.size());
    at = PutDecimal(at + kTraceMiddle.size(), length, digits);
    *at++ = '\n';
    return at;
}

}  // namespace

AdifWriter::AdifWriter(LineSink& out, std::ostream* trace) : m_out(out), m_trace(trace) {
    if (m_trace) m_traceBlock = std::make_unique_for_overwrite<char[]>(kTraceBlock + kTraceLineMax);
}

AdifWriter::~AdifWriter() { FlushTrace(); }

void AdifWriter::FlushTrace() {
    if (!m_trace || m_traceFilled == 0) return;
    m_trace->write(m_traceBlock.get(), static_cast<std::streamsize>(m_traceFilled));
    m_traceFilled = 0;
}

void AdifWriter::WriteHeader() {
    m_out.Write("MorVask Special ADIF filemaker from Tamrik v[1.0]\r\n");
    m_out.Write("<EOH>\r\n");
    m_out.Write("\r\n");
}

// The line goes straight into the block, which always has room for one more line of the
// longest kind.
void AdifWriter::Trace(std::size_t length) {
    if (!m_trace) return;
    char* at = PutTraceLine(m_traceBlock.get() + m_traceFilled, length);
    m_traceFilled = static_cast<std::size_t>(at - m_traceBlock.get());
    if (m_traceFilled >= kTraceBlock) FlushTrace();
}

void AdifWriter::WriteCounted(std::string_view tag, std::string_view value) {
    Trace(value.size());
    WriteField(tag, value.size(), value);
}

void AdifWriter::WriteDate(std::string_view tag, std::string_view value) { WriteField(tag, value.size(), value); }

// tag, length, ">", value, CR LF: put together where the sink lends room for the line.
void AdifWriter::WriteField(std::string_view tag, std::size_t length, std::string_view value) {
    const std::size_t digits = DecimalDigits(length);
    char* at = m_out.LineRoom(tag.size() + digits + 1 + value.size() + kCrLf.size());
    std::memcpy(at, tag.data(), tag.size());
    at = PutDecimal(at + tag.size(), length, digits);
    *at++ = '>';
    // An empty value may have no bytes at all to point to.
    if (!value.empty()) std::memcpy(at, value.data(), value.size());
    at += value.size();
    std::memcpy(at, kCrLf.data(), kCrLf.size());
    m_out.LineWritten();
}

void AdifWriter::WriteRecordEnd() { m_out.Write("<EOR>\r\n\r\n"); }
