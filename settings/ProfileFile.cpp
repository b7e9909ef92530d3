#include "settings/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "data/FileDescriptor.h"
#include "settings/EqualsIgnoringCase.h"
#include "settings/ProfileText.h"
#include "settings/SettingsFileError.h"

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

// The system's text for an error number, starting in lower case to follow a colon.
std::string ErrnoText(int error) {
    std::string text = std::strerror(error);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' && (text.size() < 2 || !(text[1] >= 'A' && text[1] <= 'Z')))
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

// Why something that is there is no file to read settings from; empty for a regular file.
std::string NotAFile(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISFIFO(mode)) return "it is a named pipe (FIFO), not a regular file";
    if (S_ISSOCK(mode)) return "it is a socket, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a regular file";
    return "it is not a regular file";
}

}  // namespace

ProfileFile ProfileFile::Read(const std::string& hostPath) {
    if (hostPath.empty()) return ProfileFile();
    auto refuse = [&hostPath](const std::string& reason) {
        return SettingsFileError("Qervel's settings file \"" + hostPath + "\" cannot be read: " + reason +
                                 ". Its values are left empty: make it a file you can read again, or enter the "
                                 "values by hand.");
    };
    struct stat info {};
    if (::stat(hostPath.c_str(), &info) != 0) {
        // Not there (or a link to nothing): as for the profile functions, simply no values.
        if (errno == ENOENT || errno == ENOTDIR) return ProfileFile();
        throw refuse(ErrnoText(errno));
    }
    if (std::string kind = NotAFile(info.st_mode); !kind.empty()) throw refuse(kind);
    // Non-blocking, in case the file was swapped for a pipe since it was looked at; what is
    // opened is then looked at again.
    const FileDescriptor fd(::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) throw refuse(ErrnoText(errno));
    if (::fstat(fd.Get(), &info) != 0) throw refuse(ErrnoText(errno));
    if (std::string kind = NotAFile(info.st_mode); !kind.empty()) throw refuse(kind);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got > 0) {
            bytes.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            throw refuse(ErrnoText(errno));
        }
    }
    return Parse(bytes);
}

ProfileFile ProfileFile::Load(const std::string& hostPath) {
    try {
        return Read(hostPath);
    } catch (const SettingsFileError&) {
        return ProfileFile();
    }
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
