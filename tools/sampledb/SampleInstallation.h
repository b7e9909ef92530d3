#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// A Qervel installation in a Wine prefix, made up for trying the program and for tests:
//   PREFIX/dosdevices/c:                               -> ../drive_c
//   PREFIX/drive_c/windows/Qvl2007.ini                 the settings file (CRLF lines)
//   PREFIX/drive_c/Program Files/Qervel/Refdata.mdb    the prefix list
//   PREFIX/drive_c/Program Files/Qervel/Data/Qervel.mdb  the log: VERSION and QSO-TAB
//   PREFIX/morvask-sample.txt                          the marker that makes them ours
// Everything follows from the options: the same options give the same bytes. A prefix
// holding a settings file or database that this program did not write is refused.
class SampleInstallation {
public:
    struct Options {
        long contacts = 500;
        std::uint64_t seed = 1;
        std::string oprCall = "PA3ABC";
    };
    struct Summary {
        std::filesystem::path iniFile;
        std::filesystem::path logFile;
        std::filesystem::path refdataFile;
        long contactsLive = 0;     // rows a reader should see
        long contactsWritten = 0;  // including deleted ones
        long prefixes = 0;
    };

    // Throws SampleRefused, naming the file, before writing anything into a prefix that
    // holds files not its own; std::runtime_error (jet::WriteError,
    // std::filesystem::filesystem_error) with the path that could not be written.
    static Summary Write(const std::filesystem::path& prefix, const Options& options);

    static constexpr const char* kProgramDir = "C:\\Program Files\\Qervel";
    static constexpr const char* kLogFile = "C:\\Program Files\\Qervel\\Data\\Qervel.mdb";
};
