#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <string_view>

#include "export/LineSink.h"

// The ADIF file of one run. The bytes go to a temporary file in the output's folder, which
// replaces the output only on Commit, once the whole walk has been written; until then an
// earlier file there stays as it was. A file that is not committed is removed when the
// object goes away. Failures throw CFileException.
//
// The temporary file has no name at all where the file system allows it (O_TMPFILE), so
// nothing of it outlives the process, however the process ends. Elsewhere it is a hidden
// file beside the output, locked while its writer lives; each run removes the unlocked ones
// that earlier runs left when they were killed.
//
// A symbolic link at the output path is followed: its final target is replaced and the link
// stays. Only a regular file is ever replaced, and the new file keeps its permission bits,
// and its owner and group where the system allows.
class AdiOutputFile : public LineSink {
public:
    enum class Staging {
        Unnamed,  // O_TMPFILE where the file system has it, a named file elsewhere
        Named     // always a named file
    };

    explicit AdiOutputFile(std::string path, Staging staging = Staging::Unnamed);
    ~AdiOutputFile() override;
    AdiOutputFile(const AdiOutputFile&) = delete;
    AdiOutputFile& operator=(const AdiOutputFile&) = delete;

    void Write(std::string_view line) override;
    // Flushes and syncs the temporary file, then puts it in place of the output in one step.
    void Commit();

    // Removes the named temporary file of the run in progress, if any. Safe to call from a
    // signal handler: the process ends a run that way when it is told to stop.
    static void RemoveUnfinished() noexcept;

private:
    bool OpenUnnamed();
    void OpenNamed();
    char* RoomElsewhere(std::size_t size) override;
    void WrittenElsewhere() override;
    void Flush();
    // Hands bytes to the system, and every so often to the disk.
    void Hand(std::string_view bytes);
    void KeepOwnerAndMode(const struct stat& replaced);
    void PutInPlace(const std::string& target, bool targetExists);
    void Discard() noexcept;
    [[noreturn]] void Fail(const std::string& doing, int error);

    std::string m_path;
    std::string m_directory;
    std::string m_name;
    std::string m_tempPath;           // the temporary file's name while it has one
    std::size_t m_nameMax = 255;      // the longest name the output's folder takes
    std::unique_ptr<char[]> m_block;  // the lines not yet handed over, lent to the writer
    std::string m_longLine;           // a line longer than a block, put together here instead
    off_t m_written = 0;
    off_t m_handedToDisk = 0;
    int m_fd = -1;
    bool m_unnamed = false;
    bool m_registered = false;
};
