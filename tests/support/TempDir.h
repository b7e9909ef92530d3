#pragma once

#include <string>
#include <vector>

// A fresh folder below the system's temporary one, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Root() const { return m_root; }
    std::string File(const std::string& relative) const { return m_root + "/" + relative; }
    // The names directly in the folder, in no particular order.
    std::vector<std::string> Entries() const;

    // Creates the folder `relative` with its parents; returns its path.
    std::string MakeDir(const std::string& relative) const;
    // Writes `bytes` to the file `relative`, creating its folders; returns its path.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;
    // Binds a Unix socket at `relative` and closes it, which leaves the socket file there.
    std::string MakeSocket(const std::string& relative) const {
        MakeSocketAt(File(relative));
        return File(relative);
    }
    static void MakeSocketAt(const std::string& path);

private:
    std::string m_root;
};
