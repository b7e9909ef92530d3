#pragma once

#include <string>
#include <string_view>

#include "export/LineSink.h"

// The ADIF file of one run. The bytes go to a temporary file in the output's directory,
// which replaces the output path only on Commit, once the whole walk has been written;
// until then an earlier file at that path stays as it was. A file that is not committed
// is removed when the object goes away. Failures throw CFileException.
class AdiOutputFile : public LineSink {
public:
    explicit AdiOutputFile(std::string path);
    ~AdiOutputFile() override;
    AdiOutputFile(const AdiOutputFile&) = delete;
    AdiOutputFile& operator=(const AdiOutputFile&) = delete;

    void Write(std::string_view line) override;
    // Flushes, syncs and closes the temporary file, then renames it over the output path.
    void Commit();

    // Removes the temporary file of the run in progress, if any. Safe to call from a
    // signal handler: the process ends a run that way when it is told to stop.
    static void RemoveUnfinished() noexcept;

private:
    void Flush();
    void Discard() noexcept;
    [[noreturn]] void Fail(const std::string& doing, int error);

    std::string m_path;
    std::string m_tempPath;
    std::string m_buffer;
    int m_fd = -1;
    bool m_registered = false;
};
