#include "cli/ProgressRecord.h"

#include <array>
#include <charconv>

namespace {

constexpr std::string_view kDone = "done ";
constexpr std::string_view kFailed = "failed ";

void AppendCount(std::string& out, long value) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

std::string CountsLine(std::string_view tag, const RunCounts& counts) {
    std::string line(tag);
    for (long value : {counts.total, counts.notValid, counts.valid, counts.notSameOprCall, counts.notDateRange}) {
        if (line.size() > tag.size()) line.push_back(' ');
        AppendCount(line, value);
    }
    line.push_back('\n');
    return line;
}

std::optional<RunCounts> ParseCounts(std::string_view text) {
    std::array<long, 5> values{};
    const char* pos = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (pos == end || *pos != ' ') return std::nullopt;
            ++pos;
        }
        // from_chars takes a leading '-' but no '+' or blank, as "%ld" writes them.
        const auto [next, error] = std::from_chars(pos, end, values[i]);
        if (error != std::errc() || next == pos) return std::nullopt;
        pos = next;
    }
    if (pos != end) return std::nullopt;
    return RunCounts{values[0], values[1], values[2], values[3], values[4]};
}

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
        case '\\':
            out.push_back('\\');
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 'r':
            out.push_back('\r');
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

// The next blank-separated word of `text`, which then starts after the blank.
std::optional<std::string_view> TakeWord(std::string_view& text) {
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    if (word.empty()) return std::nullopt;
    text.remove_prefix(blank == std::string_view::npos ? text.size() : blank + 1);
    return word;
}

std::optional<ProgressRecord> ParseFailure(std::string_view text) {
    const auto kindWord = TakeWord(text);
    const auto subjectWord = kindWord ? TakeWord(text) : std::nullopt;
    if (!subjectWord) return std::nullopt;
    const auto kind = ExportFailure::KindFromName(*kindWord);
    const auto subject = ExportFailure::SubjectFromName(*subjectWord);
    auto reason = Unescape(text);
    if (!kind || !subject || !reason) return std::nullopt;
    ProgressRecord record;
    record.type = ProgressRecord::Type::Failure;
    record.failure = ExportFailure{*kind, *subject, std::move(*reason)};
    return record;
}

}  // namespace

std::string ProgressRecord::Progress(const RunCounts& counts) { return CountsLine({}, counts); }

std::string ProgressRecord::Done(const RunCounts& counts) { return CountsLine(kDone, counts); }

std::string ProgressRecord::Failure(const ExportFailure& failure) {
    std::string line(kFailed);
    line += ExportFailure::KindName(failure.kind);
    line += ' ';
    line += ExportFailure::SubjectName(failure.subject);
    if (!failure.reason.empty()) line += ' ' + Escape(failure.reason);
    line.push_back('\n');
    return line;
}

std::optional<ProgressRecord> ProgressRecord::Parse(std::string_view line) {
    if (line.starts_with(kFailed)) return ParseFailure(line.substr(kFailed.size()));
    ProgressRecord record;
    if (line.starts_with(kDone)) {
        record.type = Type::Done;
        line.remove_prefix(kDone.size());
    }
    const auto counts = ParseCounts(line);
    if (!counts) return std::nullopt;
    record.counts = *counts;
    return record;
}
