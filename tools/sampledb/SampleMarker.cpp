#include "tools/sampledb/SampleMarker.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "settings/EqualsIgnoringCase.h"
#include "tools/sampledb/SampleRefused.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFirstLine =
    "# morvask-sampledb wrote the files below, a made-up Qervel installation, and replaces them when run again";
constexpr const char* kBeingWritten = "- -";

// Every existing path that Wine would open for `relative`: each name matched without
// regard to letter case as Wine matches it, so "WINDOWS/qvl2007.INI" counts as much as
// "windows/Qvl2007.ini".
std::vector<fs::path> MatchesIgnoringCase(const fs::path& prefix, const fs::path& relative) {
    std::vector<fs::path> found = {prefix};
    for (const auto& name : relative) {
        std::vector<fs::path> next;
        for (const auto& folder : found) {
            std::error_code error;
            if (!fs::is_directory(folder, error)) {
                continue;
            }
            fs::directory_iterator entry(folder, error);
            for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
                if (EqualsIgnoringCase(entry->path().filename().string(), name.string())) {
                    next.push_back(entry->path());
                }
            }
            if (error) {
                throw SampleRefused("cannot look into " + folder.string() + " for " + relative.string() + ": " +
                                    error.message() + "; give a folder that can be read as PREFIX");
            }
        }
        found = std::move(next);
    }
    return found;
}

// What identifies a file as written: its size and modification time, which any later
// write (Qervel adding a contact, an editor saving) changes.
std::string Stamp(const fs::path& file) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) {
        throw std::runtime_error("cannot examine " + file.string() + ": " + std::strerror(errno));
    }
    char time[48];
    std::snprintf(time, sizeof time, "%lld.%09ld", static_cast<long long>(info.st_mtim.tv_sec), info.st_mtim.tv_nsec);
    return std::to_string(info.st_size) + " " + time;
}

}  // namespace

SampleMarker::SampleMarker(fs::path prefix, std::vector<fs::path> files)
    : m_prefix(std::move(prefix)), m_files(std::move(files)) {}

void SampleMarker::Refuse(const fs::path& file, const std::string& why) const {
    throw SampleRefused("refusing to write the sample installation into " + m_prefix.string() + ": " + file.string() +
                        " " + why + "; give a new or empty folder as PREFIX, or remove the file yourself if it is " +
                        "not needed");
}

std::map<std::string, std::string> SampleMarker::ReadEntries() const {
    const fs::path marker = m_prefix / kFileName;
    std::map<std::string, std::string> entries;
    const auto status = fs::symlink_status(marker);
    if (!fs::exists(status)) {
        return entries;
    }
    std::ifstream in(marker, std::ios::binary);
    std::string line;
    if (!fs::is_regular_file(status) || !std::getline(in, line) || line != kFirstLine) {
        Refuse(marker, "was not written by morvask-sampledb");
    }
    while (std::getline(in, line)) {
        const auto first = line.find(' ');
        const auto second = first == std::string::npos ? first : line.find(' ', first + 1);
        if (second == std::string::npos) {
            Refuse(marker, "is damaged: its line \"" + line + "\" names no file");
        }
        entries[line.substr(second + 1)] = line.substr(0, second);
    }
    return entries;
}

void SampleMarker::CheckOwnership() const {
    const auto entries = ReadEntries();
    for (const auto& file : m_files) {
        for (const auto& found : MatchesIgnoringCase(m_prefix, file)) {
            const auto entry = entries.find(found.lexically_relative(m_prefix).generic_string());
            if (!fs::is_regular_file(fs::symlink_status(found))) {
                Refuse(found,
                       "is not a plain file (a link, a folder or a device), so morvask-sampledb did not write it");
            }
            if (entry == entries.end()) {
                Refuse(found, "was not written by morvask-sampledb: it may belong to a real Qervel installation");
            }
            if (entry->second != kBeingWritten && entry->second != Stamp(found)) {
                Refuse(found, "has changed since morvask-sampledb wrote it: it may hold the operator's own data");
            }
        }
    }
}

void SampleMarker::RecordWriting() const { Write(false); }

void SampleMarker::RecordWritten() const { Write(true); }

void SampleMarker::Write(bool written) const {
    std::string text = std::string(kFirstLine) + "\n";
    for (const auto& file : m_files) {
        text += (written ? Stamp(m_prefix / file) : kBeingWritten) + " " + file.generic_string() + "\n";
    }
    // Written beside the marker and renamed over it, so that a marker is always whole.
    std::string temporary = (m_prefix / ".morvask-sample.XXXXXX").string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        throw std::runtime_error("cannot create a file in " + m_prefix.string() + ": " + std::strerror(errno) +
                                 "; check that the folder is writable");
    }
    // mkstemp makes the file readable by its owner alone; the marker is as public as the rest.
    bool ok = ::fchmod(fd, 0644) == 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ::close(fd) == 0 && ok;
    const fs::path marker = m_prefix / kFileName;
    if (!ok || ::rename(temporary.c_str(), marker.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(temporary.c_str());
        throw std::runtime_error("cannot write " + marker.string() + ": " + reason +
                                 "; check that the folder is writable and has room");
    }
}
