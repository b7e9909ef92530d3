#pragma once

#include <sys/stat.h>

#include <string>

// Where the ADIF file of a run really lands: the output path with the symbolic links of its
// last component followed to their final target (the link stays a link, as with any program
// that writes through one), and what lies there now. Only a regular file may be replaced: a
// device, a named pipe, a socket or a folder at that place is left alone.
class OutputTarget {
public:
    // Throws CFileException when the links go round in a loop or one cannot be read.
    static OutputTarget Resolve(const std::string& path);

    // The path the file is written to: `path` itself unless that is a symbolic link.
    const std::string& Path() const { return m_path; }
    bool Exists() const { return m_exists; }
    bool Replaceable() const { return !m_exists || S_ISREG(m_status.st_mode); }
    // lstat of Path(), when it exists.
    const struct stat& Status() const { return m_status; }

    // `"given" is a named pipe`, or `"given" leads to "/dev/full", a character device`.
    std::string Describe(const std::string& given) const;

private:
    std::string m_path;
    bool m_exists = false;
    struct stat m_status {};
};
