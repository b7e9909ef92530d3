#include "export/AdifWriter.h"

#include <algorithm>
#include <charconv>

namespace {
constexpr std::string_view kCrLf = "\r\n";
// Trace lines are handed to the stream in blocks: a run traces millions of them, and a
// stream call per line costs more than building it.
constexpr std::size_t kTraceBlock = 1 << 16;
}  // namespace

AdifWriter::AdifWriter(LineSink& out, std::ostream* trace) : m_out(out), m_trace(trace) {
    m_line.reserve(512);
    if (m_trace) m_traceBlock.reserve(kTraceBlock + 128);
}

AdifWriter::~AdifWriter() { FlushTrace(); }

void AdifWriter::FlushTrace() {
    if (!m_trace || m_traceBlock.empty()) return;
    m_trace->write(m_traceBlock.data(), static_cast<std::streamsize>(m_traceBlock.size()));
    m_traceBlock.clear();
}

void AdifWriter::WriteHeader() {
    m_out.Write("MorVask Special ADIF filemaker from Tamrik v[1.0]\r\n");
    m_out.Write("<EOH>\r\n");
    m_out.Write("\r\n");
}

void AdifWriter::AppendLength(std::size_t length) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, length);
    std::string_view text(digits, static_cast<std::size_t>(result.ptr - digits));
    if (m_trace) {
        m_traceBlock.append("String of integer ").append(text).append(" (radix 10): ").append(text).push_back('\n');
        if (m_traceBlock.size() >= kTraceBlock) FlushTrace();
    }
    m_line.append(text);
}

void AdifWriter::WriteCounted(std::string_view tag, std::string_view value) {
    m_line.assign(tag);
    AppendLength(value.size());
    m_line.push_back('>');
    m_line.append(value);
    m_line.append(kCrLf);
    m_out.Write(m_line);
}

void AdifWriter::WriteDate(std::string_view tag, std::string_view value) {
    m_line.assign(tag);
    if (value.size() == 8) {
        m_line.push_back('8');
    } else {
        char digits[24];
        auto result = std::to_chars(digits, digits + sizeof digits, value.size());
        m_line.append(digits, result.ptr);
    }
    m_line.push_back('>');
    m_line.append(value);
    m_line.append(kCrLf);
    m_out.Write(m_line);
}

void AdifWriter::WriteRecordEnd() { m_out.Write("<EOR>\r\n\r\n"); }
