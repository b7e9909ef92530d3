#include "export/AdifWriter.h"

#include <charconv>

namespace {
constexpr std::string_view kCrLf = "\r\n";
}

AdifWriter::AdifWriter(LineSink& out, std::ostream* trace) : m_out(out), m_trace(trace) { m_line.reserve(512); }

void AdifWriter::WriteHeader() {
    m_out.Write("MorVask Special ADIF filemaker from Tamrik v[1.0]\r\n");
    m_out.Write("<EOH>\r\n");
    m_out.Write("\r\n");
}

void AdifWriter::AppendLength(std::size_t length) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, length);
    std::string_view text(digits, static_cast<std::size_t>(result.ptr - digits));
    if (m_trace) *m_trace << "String of integer " << length << " (radix 10): " << text << '\n';
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
