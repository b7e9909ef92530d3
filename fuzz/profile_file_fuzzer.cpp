// The logging program's settings file, which the operator's Windows programs write and
// this program only reads. Input: a section name, a line end, a key name, a line end,
// then the file's bytes. Whatever the file holds, every value comes back as valid UTF-8,
// within the 511 bytes of the file that the profile functions' buffer keeps, on one line,
// and found by its names in any letter case.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "fuzz/FuzzCheck.h"
#include "settings/EqualsIgnoringCase.h"
#include "settings/IniReaders.h"
#include "settings/PathMappingError.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileText.h"
#include "settings/WinePrefix.h"
#include "tests/support/TempPrefix.h"

namespace {

using fuzz::Require;

// Not valid UTF-8, so no value read from a file can be mistaken for it.
const std::string kMissing = "\xFF";

std::string AsciiCase(std::string_view text, bool upper) {
    std::string out(text);
    for (char& c : out) {
        if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// How many bytes of the file a value took: each character as wide as the file's
// encoding writes it.
std::size_t FileBytes(std::string_view value, std::string_view file) {
    std::size_t bytes = 0;
    for (std::size_t pos = 0; pos < value.size();) {
        const std::size_t length = ProfileText::Utf8Length(static_cast<unsigned char>(value[pos]));
        if (file.starts_with("\xEF\xBB\xBF")) {
            bytes += length;
        } else if (file.starts_with("\xFF\xFE") || file.starts_with("\xFE\xFF")) {
            bytes += length == 4 ? 4 : 2;
        } else {
            bytes += 1;
        }
        pos += length;
    }
    return bytes;
}

void CheckValue(const ProfileFile& file, std::string_view bytes, std::string_view section, std::string_view key) {
    const std::string value = file.GetString(section, key, kMissing);
    const std::string detail = std::string(section) + "/" + std::string(key) + " = " + value;
    Require(file.GetString(AsciiCase(section, true), AsciiCase(key, false), kMissing) == value,
            "names match in any letter case", detail);
    if (value == kMissing) return;
    Require(fuzz::IsUtf8(value), "a value is valid UTF-8", detail);
    Require(value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
            "a value ends at its line end and at a NUL", detail);
    Require(FileBytes(value, bytes) < ProfileFile::kBufferSize, "a value keeps at most 511 bytes of the file", detail);
}

// The file as the readers find it in a Wine prefix, and the paths they make of it mapped
// to the host, as every start of the exporter does.
void CheckReaders(std::string_view bytes) {
    static const TempPrefix prefix;
    prefix.WriteFile("drive_c/windows/Qvl2007.ini", std::string(bytes));
    const WinePrefix wine(prefix.Root());
    const RunSettings settings = ReadRunSettingsDefaults(wine);
    for (const std::string* path : {&settings.m_strSourcePath, &settings.m_strRefdataPath, &settings.m_strAdiPath}) {
        Require(fuzz::IsUtf8(*path), "a path read is valid UTF-8", *path);
        try {
            wine.MapToHost(*path);
        } catch (const PathMappingError&) {
            // A drive the prefix does not map: the operator is told so.
        }
    }
    Require(settings.m_strAdiPath.ends_with("\\adiUpld2Morvask.adi"), "the ADIF file lies in the program folder");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view rest = fuzz::AsText(data, size);
    const std::string_view section = fuzz::TakeUntil(rest, '\n');
    const std::string_view key = fuzz::TakeUntil(rest, '\n');
    const std::string_view bytes = rest;

    Require(fuzz::IsUtf8(ProfileText::Decode(bytes).Utf8()), "the decoded file is valid UTF-8");
    Require(EqualsIgnoringCase(section, key) == EqualsIgnoringCase(key, section), "matching names is symmetric");
    Require(EqualsIgnoringCase(section, AsciiCase(section, false)), "a name matches itself in small letters");

    const ProfileFile file = ProfileFile::Parse(bytes);
    CheckValue(file, bytes, section, key);
    for (const auto& [s, k] : {std::pair{"Dir", "DATAPATH"}, {"Dir", "PGMPATH"}, {"Gen", "OPRCALL"}}) {
        CheckValue(file, bytes, s, k);
    }
    CheckReaders(bytes);
    return 0;
}
