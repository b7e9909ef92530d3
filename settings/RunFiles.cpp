#include "settings/RunFiles.h"

#include <sys/stat.h>

#include <algorithm>

#include "settings/WinePrefix.h"

namespace {

std::optional<std::pair<dev_t, ino_t>> Identity(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
    return std::make_pair(info.st_dev, info.st_ino);
}

}  // namespace

void RunFiles::Add(Role role, std::string hostPath) { m_files.push_back({role, std::move(hostPath)}); }

std::optional<RunFiles::File> RunFiles::Find(const std::string& hostPath, std::initializer_list<Role> roles) const {
    const auto wanted = Identity(hostPath);
    if (!wanted) return std::nullopt;
    for (const File& file : m_files) {
        if (std::find(roles.begin(), roles.end(), file.role) == roles.end()) continue;
        // Asked afresh every time: a file may have come or gone since it was added.
        if (Identity(file.path) == wanted) return file;
    }
    return std::nullopt;
}

std::string RunFiles::HostPath(const WinePrefix& prefix, Role role, const std::string& written) {
    return role == Role::AdifFile ? prefix.MapOutputToHost(written) : prefix.MapToHost(written);
}

const char* RunFiles::Describe(Role role) {
    switch (role) {
    case Role::SourceDatabase:
        return "the source database";
    case Role::ReferenceDatabase:
        return "the reference database";
    case Role::SettingsFile:
        return "the settings file";
    case Role::AdifFile:
        return "the ADIF file";
    }
    return "a file of the run";
}
