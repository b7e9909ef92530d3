#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A settings file read the way Windows' profile functions read it, so that the logging
// program's file gives here what it gives the logging program itself:
// - section and key names match without regard to letter case; the first matching
//   section, and in it the first matching key, wins;
// - blanks around names and values do not count; a value in matching single or double
//   quotes loses them;
// - a line whose first non-blank character is ";" is a comment; a ";" later in a line is
//   part of the value;
// - lines end with CR LF, LF or CR; the last one needs no line end.
// Values come back as UTF-8, cut as a 512-byte buffer would cut them.
class ProfileFile {
public:
    // The buffer the lookups fill: a value keeps at most 511 bytes of the file's text.
    static constexpr std::size_t kBufferSize = 512;

    // A file with no sections: every lookup gives its default.
    ProfileFile() = default;

    // Reads the file at `hostPath`. A missing file (or an empty path) has no sections. Throws
    // SettingsFileError when the file is there but cannot be read; anything but a regular
    // file is refused without being opened, so that a pipe or a device never blocks us.
    static ProfileFile Read(const std::string& hostPath);
    // As Read, but a file that cannot be read counts as empty, as it does for the profile
    // functions.
    static ProfileFile Load(const std::string& hostPath);
    static ProfileFile Parse(std::string_view fileBytes);

    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue = {}) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    std::vector<Section> m_sections;
};
