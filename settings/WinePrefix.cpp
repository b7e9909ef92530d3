#include "settings/WinePrefix.h"

#include <filesystem>
#include <string_view>
#include <vector>

#include "settings/EqualsIgnoringCase.h"
#include "settings/PathMappingError.h"

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The components of a Windows path below its root, folded as Windows folds them:
// empty components and "." vanish, ".." goes back one but never above the root.
std::vector<std::string> SplitComponents(std::string_view rest) {
    std::vector<std::string> components;
    std::size_t pos = 0;
    while (pos <= rest.size()) {
        std::size_t end = pos;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        std::string_view part = rest.substr(pos, end - pos);
        if (part == "..") {
            if (!components.empty()) components.pop_back();
        } else if (!part.empty() && part != ".") {
            components.emplace_back(part);
        }
        pos = end + 1;
    }
    return components;
}

}  // namespace

WinePrefix::WinePrefix(std::string root) : m_root(std::move(root)) {
    while (m_root.size() > 1 && m_root.back() == '/') m_root.pop_back();
}

std::string WinePrefix::WindowsDirectory() const {
    if (m_root.empty()) return {};
    const std::string driveC = m_root + "/drive_c";
    const std::string windows = FindEntry(driveC, "windows");
    return driveC + "/" + (windows.empty() ? std::string("windows") : windows);
}

std::string WinePrefix::FindEntry(const std::string& directory, const std::string& name) {
    std::error_code error;
    if (fs::exists(fs::path(directory) / name, error)) return name;
    std::string found;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        std::string candidate = it->path().filename().string();
        if (EqualsIgnoringCase(candidate, name) && (found.empty() || candidate < found)) {
            found = candidate;
        }
    }
    return found;
}

std::string WinePrefix::MapToHost(const std::string& windowsOrHostPath) const { return Map(windowsOrHostPath, false); }

std::string WinePrefix::MapOutputToHost(const std::string& windowsOrHostPath) const {
    return Map(windowsOrHostPath, true);
}

std::string WinePrefix::Map(const std::string& path, bool keepFileName) const {
    // The host ends a path at its first NUL, so such a path would open another file than
    // the one it names; Windows refuses it too.
    if (path.find('\0') != std::string::npos) {
        std::string shown = path;
        for (std::size_t at = 0; (at = shown.find('\0', at)) != std::string::npos; at += 2) shown.replace(at, 1, "\\0");
        throw PathMappingError("The path \"" + shown +
                               "\" holds a NUL character (shown as \\0), which no file name can hold.");
    }
    if (path.empty() || path.front() == '/') return path;

    std::string_view rest = path;
    std::string base;  // host directory the components lie in
    if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
        std::string_view unc = rest.substr(2);
        std::size_t serverEnd = unc.find_first_of("\\/");
        std::string_view server = unc.substr(0, serverEnd);
        std::string_view afterServer =
            serverEnd == std::string_view::npos ? std::string_view{} : unc.substr(serverEnd + 1);
        std::size_t shareEnd = afterServer.find_first_of("\\/");
        std::string_view share = afterServer.substr(0, shareEnd);
        // "." and ".." are no names of a server or share: below dosdevices/unc they would
        // step out of the shares into the rest of the prefix.
        const auto isDots = [](std::string_view name) { return name == "." || name == ".."; };
        if (server.empty() || share.empty() || isDots(server) || isDots(share) || server == "?") {
            throw PathMappingError("The path \"" + path +
                                   "\" names no network share; write it as \\\\server\\share\\folder\\file.");
        }
        base = ShareDirectory(std::string(server), std::string(share), path);
        rest = shareEnd == std::string_view::npos ? std::string_view{} : afterServer.substr(shareEnd);
    } else if (rest.size() >= 2 && rest[1] == ':' &&
               ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
        base = DriveDirectory(rest[0], path);
        rest.remove_prefix(2);
    } else if (IsSeparator(rest[0])) {
        base = DriveDirectory('c', path);
    } else {
        // Neither a drive, a share nor rooted: a host path relative to the current
        // directory, used as written, where ".." climbs as the host climbs it. Folded as a
        // Windows path, "../x.adi" would become "./x.adi", another file.
        return path;
    }

    std::vector<std::string> components = SplitComponents(rest);
    std::string directory = base;
    std::string result = base;
    bool parentExists = true;
    for (std::size_t i = 0; i < components.size(); ++i) {
        std::string name = components[i];
        bool isFileName = keepFileName && i + 1 == components.size();
        if (parentExists && !isFileName) {
            std::string found = FindEntry(directory, name);
            parentExists = !found.empty();
            if (parentExists) name = found;
        }
        directory += "/" + name;
        result += "/" + name;
    }
    return result;
}

std::string WinePrefix::DriveDirectory(char letter, const std::string& path) const {
    char lower = letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
    std::string drive = std::string(1, lower) + ":";
    std::string shown = std::string(1, static_cast<char>(lower - 'a' + 'A')) + ":";
    if (m_root.empty()) {
        throw PathMappingError(
            "Drive " + shown + " of \"" + path +
            "\" cannot be found: there is no Wine prefix (set WINEPREFIX to the logging program's prefix).");
    }
    std::string dosdevices = m_root + "/dosdevices";
    std::string found = FindEntry(dosdevices, drive);
    if (found.empty()) {
        throw PathMappingError("Drive " + shown + " of \"" + path + "\" is not mapped in the Wine prefix \"" + m_root +
                               "\" (no entry \"" + drive + "\" in " + dosdevices +
                               "). Map the drive with winecfg, or give the file's host path.");
    }
    return dosdevices + "/" + found;
}

std::string WinePrefix::ShareDirectory(const std::string& server, const std::string& share,
                                       const std::string& path) const {
    if (!m_root.empty()) {
        std::string directory = m_root + "/dosdevices";
        for (const std::string& name : {std::string("unc"), server, share}) {
            std::string entry = FindEntry(directory, name);
            if (entry.empty()) {
                directory.clear();
                break;
            }
            directory += "/" + entry;
        }
        if (!directory.empty()) return directory;
    }
    throw PathMappingError(
        "The network share \\\\" + server + "\\" + share + " of \"" + path + "\" is not mapped in the Wine prefix \"" +
        (m_root.empty() ? std::string("(none; set WINEPREFIX)") : m_root) + "\" (no entry unc/" + server + "/" + share +
        " in its dosdevices folder). Mount the share there, or give the file's host path.");
}
