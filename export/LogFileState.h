#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>

#include "data/CDaoException.h"

// What can be seen of a database file without reading it: which file the name leads to
// (device and inode), its size and its modification and change times. Two equal states
// taken before and after a walk say that the walk read one state of the file: Qervel saving
// a contact writes pages in place, which changes both times, and a compacted log is a new
// file. What it cannot see: a change that keeps the size and lands within the same tick of
// the file system's clock as the state taken before it (Settled keeps such a tick from being
// the one the file was last written in), and a change undone to the very same bytes, size
// and times.
class LogFileState {
public:
    // The state of the file at `path` now; a file that cannot be looked at has the state
    // "missing", which equals only another missing one.
    static LogFileState Of(const std::string& path);
    // The same, taken once the file system's clock has moved past the file's last change, so
    // that any later change gets later times. Waits a few milliseconds only for a file
    // changed in the last moment.
    static LogFileState Settled(const std::string& path);

    // The lock file that Access and Qervel keep beside an open database: "<name>.ldb" for
    // "<name>.mdb", found without regard to letter case as Wine would; empty when there is none.
    static std::string LockFileBeside(const std::string& path);

    bool operator==(const LogFileState& other) const;

    // How often a log is read before its changing fails the run.
    static constexpr int kReadings = 3;
    // The failure of a log that changed during each of kReadings readings: kind Changed,
    // saying that Qervel has it open when its lock file lies beside it.
    static CDaoException KeptChanging(const std::string& path);

private:
    bool m_exists = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    off_t m_size = 0;
    timespec m_modified{};
    timespec m_changed{};
};
