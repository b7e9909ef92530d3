#include "export/LogFileState.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "settings/WinePrefix.h"

namespace {

// Longer than a tick of the clock that file times are taken from (a jiffy, at most 10 ms).
constexpr std::chrono::milliseconds kClockTick{20};

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

std::chrono::nanoseconds SinceEpoch(const timespec& time) {
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

}  // namespace

LogFileState LogFileState::Of(const std::string& path) {
    LogFileState state;
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return state;
    state.m_exists = true;
    state.m_device = info.st_dev;
    state.m_inode = info.st_ino;
    state.m_size = info.st_size;
    state.m_modified = info.st_mtim;
    state.m_changed = info.st_ctim;
    return state;
}

LogFileState LogFileState::Settled(const std::string& path) {
    LogFileState state = Of(path);
    if (!state.m_exists) return state;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto changed = std::max(SinceEpoch(state.m_modified), SinceEpoch(state.m_changed));
    if (now - changed < kClockTick) {
        std::this_thread::sleep_for(kClockTick);
        state = Of(path);
    }
    return state;
}

std::string LogFileState::LockFileBeside(const std::string& path) {
    const std::filesystem::path log(path);
    if (log.filename().empty()) return {};
    std::string name = log.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    const std::filesystem::path folder = log.parent_path().empty() ? "." : log.parent_path();
    const std::string found = WinePrefix::FindEntry(folder.string(), name + ".ldb");
    if (found.empty()) return {};
    return (log.parent_path() / found).string();
}

bool LogFileState::operator==(const LogFileState& other) const {
    if (m_exists != other.m_exists) return false;
    if (!m_exists) return true;
    return m_device == other.m_device && m_inode == other.m_inode && m_size == other.m_size &&
           SameTime(m_modified, other.m_modified) && SameTime(m_changed, other.m_changed);
}

CDaoException LogFileState::KeptChanging(const std::string& path) {
    const std::string lockFile = LockFileBeside(path);
    const std::string times = std::to_string(kReadings);
    const char* const advice =
        ". The ADIF file was not made; an earlier one is left as it was. Make the file again, or close Qervel first.";
    if (!lockFile.empty())
        return {CDaoException::Kind::Changed, path, "Qervel has it open and is saving contacts",
                "The database '" + path + "' changed while it was being read, " + times +
                    " times in a row: Qervel has it open (its lock file '" + lockFile + "' is there) and is saving "
                    "contacts" + advice};
    return {CDaoException::Kind::Changed, path, "Qervel or another program is saving contacts into it",
            "The database '" + path + "' changed while it was being read, " + times +
                " times in a row (Qervel saving contacts)" + advice};
}
