#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class WinePrefix;

// The files one run touches, as host paths: the logging program's two databases and its
// settings file, which are only ever read, and the ADIF file the run writes. Whatever the
// program writes must be none of them under another name: a file is recognised by its device
// and inode, so "dir/../log.mdb", a hard link or a symbolic link to it is the same file.
class RunFiles {
public:
    enum class Role { SourceDatabase, ReferenceDatabase, SettingsFile, AdifFile };

    struct File {
        Role role;
        std::string path;
    };

    // Files that do not exist (yet) are kept but match nothing.
    void Add(Role role, std::string hostPath);

    // The first file among `roles` that `hostPath` names as well; none when hostPath names no
    // existing file.
    std::optional<File> Find(const std::string& hostPath, std::initializer_list<Role> roles) const;

    // The host file that the run value `written` for `role` names, by the one rule that the
    // run, the Save refusal and View share: the ADIF file, which the run creates, keeps its
    // file name as written; every other name is found as Wine finds it. Throws
    // PathMappingError for a path with no place on the host.
    static std::string HostPath(const WinePrefix& prefix, Role role, const std::string& written);

    // "the source database", "the reference database", "the settings file", "the ADIF file".
    static const char* Describe(Role role);

private:
    std::vector<File> m_files;
};
