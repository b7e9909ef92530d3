#pragma once

#include <string>

// The Wine prefix in which the logging program lives: its Windows directory and the
// host files behind the Windows paths that its settings file and the operator write.
//
// A path "X:\..." or "X:/..." lies below the drive's entry in dosdevices, "\\server\share\..."
// below dosdevices/unc, and a path that starts with "\" on drive C:, the drive Wine starts
// programs on. Each component that does not exist with its exact name is looked up without
// regard to letter case, as Wine does; "." and ".." and doubled separators are folded as
// Windows folds them. Any other path is a host path and is used exactly as written: one
// that starts with "/", and a relative one, which is relative to the current directory
// ("../x.adi" is the file one folder up).
class WinePrefix {
public:
    // `root` is the prefix directory; empty means there is no prefix.
    explicit WinePrefix(std::string root);

    const std::string& Root() const { return m_root; }

    // The host directory that Windows calls its Windows directory, C:\windows found as Wine
    // finds it (without regard to letter case); empty without a prefix.
    std::string WindowsDirectory() const;

    // The host path of a file to open. Throws PathMappingError when the drive or share
    // is not mapped in the prefix, or when the path holds a NUL.
    std::string MapToHost(const std::string& windowsOrHostPath) const;

    // The host path of a file to create: its directory is mapped like MapToHost, the file
    // name is kept as written, so the file gets exactly the name the operator sees.
    std::string MapOutputToHost(const std::string& windowsOrHostPath) const;

    // The name under which `name` exists in the host directory `directory`, as Wine finds
    // it: the exact name when it exists, otherwise the first entry, in name order, that
    // differs from it only in letter case; empty when there is none.
    static std::string FindEntry(const std::string& directory, const std::string& name);

private:
    std::string Map(const std::string& path, bool keepFileName) const;
    std::string DriveDirectory(char letter, const std::string& path) const;
    std::string ShareDirectory(const std::string& server, const std::string& share, const std::string& path) const;

    std::string m_root;
};
