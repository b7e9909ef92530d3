#include "export/AdifWriter.h"

#include <algorithm>
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
    if (m_trace) {
        // One write of a line built here: a run traces millions of them, and five formatted
        // stream insertions a line cost a large part of the export.
        constexpr std::string_view kStart = "String of integer ", kMiddle = " (radix 10): ";
        char line[kStart.size() + kMiddle.size() + 2 * sizeof digits + 1];
        char* end = std::copy(kStart.begin(), kStart.end(), line);
        end = std::copy(text.begin(), text.end(), end);
        end = std::copy(kMiddle.begin(), kMiddle.end(), end);
        end = std::copy(text.begin(), text.end(), end);
        *end++ = '\n';
        m_trace->write(line, end - line);
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
