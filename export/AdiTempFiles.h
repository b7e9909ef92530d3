#pragma once

#include <string>

// The temporary files in which ADIF files wait beside their output, named
// ".<output name>.<process id>-<attempt>.tmp", and the sweep that removes those whose
// writer is gone. A writer holds an exclusive flock on its temporary file for as long as it
// lives; a file of ours that can be locked has no writer any more, whatever ended it.
class AdiTempFiles {
public:
    static std::string Name(const std::string& outputName, long pid, unsigned attempt);
    static bool IsOurs(const std::string& entry, const std::string& outputName);

    // Removes the leftovers for `outputName` in `directory`. Only regular files of that name
    // pattern are touched, and only when no one holds their lock. Never fails: what cannot
    // be removed stays for a later run.
    static void SweepStale(const std::string& directory, const std::string& outputName) noexcept;
};
