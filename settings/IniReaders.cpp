#include "settings/IniReaders.h"

#include "settings/ProfileFile.h"
#include "settings/SettingsFileError.h"

namespace {

constexpr char kSettingsFileName[] = "Qvl2007.ini";

// Blanks, tabs and line-break characters, as the logging program's own string class trims.
void TrimTrailingWhiteSpace(std::string& text) {
    std::size_t end = text.find_last_not_of(" \t\r\n\v\f");
    text.erase(end == std::string::npos ? 0 : end + 1);
}

// Each reader locates and reads the file afresh, so a showing of the dialog sees the
// file as it is then.
ProfileFile ReadSettingsFile(const WinePrefix& prefix) { return ProfileFile::Load(SettingsFilePath(prefix)); }

}  // namespace

std::string SettingsFilePath(const WinePrefix& prefix) {
    std::string directory = prefix.WindowsDirectory();
    if (directory.empty()) return {};
    std::string found = WinePrefix::FindEntry(directory, kSettingsFileName);
    return found.empty() ? std::string() : directory + "/" + found;
}

std::string SettingsFileProblem(const WinePrefix& prefix) {
    try {
        ProfileFile::Read(SettingsFilePath(prefix));
    } catch (const SettingsFileError& error) {
        return error.what();
    }
    return {};
}

void ReadIniDataPath(const WinePrefix& prefix, std::string& sourcePath, std::string& oprCall) {
    ProfileFile file = ReadSettingsFile(prefix);
    sourcePath = file.GetString("Dir", "DATAPATH", "");
    oprCall = file.GetString("Gen", "OPRCALL", "");
    TrimTrailingWhiteSpace(sourcePath);
    TrimTrailingWhiteSpace(oprCall);
}

void ReadIniPgmPath(const WinePrefix& prefix, std::string& refdataPath, std::string& adiPath) {
    std::string base = ReadSettingsFile(prefix).GetString("Dir", "PGMPATH", "");
    // Exactly one backslash goes: "D:\Log\" and "D:\Log" name the same directory.
    if (!base.empty() && base.back() == '\\') base.pop_back();
    adiPath = base + "\\adiUpld2Morvask.adi";
    refdataPath = base + "\\Refdata.mdb";
}

RunSettings ReadRunSettingsDefaults(const WinePrefix& prefix) {
    RunSettings settings;
    ReadIniDataPath(prefix, settings.m_strSourcePath, settings.m_strOprCall);
    ReadIniPgmPath(prefix, settings.m_strRefdataPath, settings.m_strAdiPath);
    settings.m_strStartDate = kDefaultStartDate;
    settings.m_strEndDate = kDefaultEndDate;
    return settings;
}
