#pragma once

#include <string>

// A throw-away directory laid out like a Wine prefix (drive_c, drive_c/windows and the
// dosdevices entry "c:" pointing at drive_c), removed with everything in it at the end.
class TempPrefix {
public:
    TempPrefix();
    ~TempPrefix();
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    const std::string& Root() const { return m_root; }

    // Creates the directory `relative` below the root, with its parents; returns its path.
    std::string MakeDir(const std::string& relative) const;
    // Writes `bytes` to the file `relative` below the root, creating its directories.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;
    // Makes dosdevices/<name> point at `target`.
    void AddDosDevice(const std::string& name, const std::string& target) const;

private:
    std::string m_root;
};
