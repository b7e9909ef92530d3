#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// How morvask-sampledb knows a sample installation as its own, so that it replaces its
// earlier samples but never a real Qervel installation. The marker PREFIX/morvask-sample.txt
// starts with a fixed line, then lists each file written, one a line:
// "<size> <modification time> <path below PREFIX>", or "- - <path>" while the file is
// being written (an interrupted run leaves that, and its files are still ours).
class SampleMarker {
public:
    static constexpr const char* kFileName = "morvask-sample.txt";

    // `files` below `prefix`, as this program writes them.
    SampleMarker(std::filesystem::path prefix, std::vector<std::filesystem::path> files);

    // Throws SampleRefused unless every existing file that Wine would take for one of
    // `files` (any letter case) is one this program wrote and nobody changed since, and
    // the marker, if any, is ours.
    void CheckOwnership() const;
    // Marks the files as being written, then as written with their sizes and times.
    void RecordWriting() const;
    void RecordWritten() const;

private:
    std::map<std::string, std::string> ReadEntries() const;
    void Write(bool written) const;
    [[noreturn]] void Refuse(const std::filesystem::path& file, const std::string& why) const;

    std::filesystem::path m_prefix;
    std::vector<std::filesystem::path> m_files;
};
