#include "settings/ProfileFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/EqualsIgnoringCase.h"
#include "settings/ProfileText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// What a 512-byte buffer keeps of a value: the text up to a NUL (the buffer is a C
// string), and no more than 511 bytes of the file's text, never half a character.
std::string CutToBuffer(std::string_view value, const ProfileText& text) {
    value = value.substr(0, value.find('\0'));
    std::size_t pos = 0;
    std::size_t sourceBytes = 0;
    while (pos < value.size()) {
        std::size_t width = text.SourceWidthAt(value, pos);
        if (sourceBytes + width > ProfileFile::kBufferSize - 1) break;
        sourceBytes += width;
        pos += ProfileText::Utf8Length(static_cast<unsigned char>(value[pos]));
    }
    return std::string(value.substr(0, std::min(pos, value.size())));
}

}  // namespace

ProfileFile ProfileFile::Load(const std::string& hostPath) {
    std::error_code error;
    if (hostPath.empty() || !std::filesystem::is_regular_file(hostPath, error)) {
        return ProfileFile();
    }
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) {
        return ProfileFile();
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return ProfileFile();
    }
    return Parse(bytes.str());
}

ProfileFile ProfileFile::Parse(std::string_view fileBytes) {
    ProfileText text = ProfileText::Decode(fileBytes);
    std::string_view rest = text.Utf8();
    ProfileFile file;
    bool inSection = false;  // lines before the first section belong to none
    while (!rest.empty()) {
        std::size_t end = rest.find_first_of("\r\n");
        std::string_view line = rest.substr(0, end);
        if (end == std::string_view::npos) {
            rest = {};
        } else {
            std::size_t next = end + 1;
            if (rest[end] == '\r' && next < rest.size() && rest[next] == '\n') ++next;
            rest.remove_prefix(next);
        }

        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            // The name runs to the last "]"; a header that lost its "]" still opens a section.
            std::size_t close = line.rfind(']');
            std::string_view name = close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
            file.m_sections.push_back(Section{std::string(TrimBlanks(name)), {}});
            inSection = true;
            continue;
        }
        if (!inSection) continue;
        std::size_t equals = line.find('=');
        std::string_view key = TrimBlanks(line.substr(0, equals));
        std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : TrimBlanks(line.substr(equals + 1));
        if (key.empty()) continue;
        file.m_sections.back().entries.push_back(Entry{std::string(key), CutToBuffer(Unquote(value), text)});
    }
    return file;
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    for (const Section& s : m_sections) {
        if (!EqualsIgnoringCase(s.name, section)) continue;
        for (const Entry& e : s.entries) {
            if (EqualsIgnoringCase(e.key, key)) return e.value;
        }
        break;
    }
    return std::string(defaultValue);
}
