#include "settings/PrefixSearch.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <utility>

#include "settings/IniReaders.h"

namespace fs = std::filesystem;

namespace {

// A game configuration is a few hundred bytes; anything far larger is no configuration of
// Lutris and is not worth reading.
constexpr std::uintmax_t kMaxGameConfigBytes = 1 << 20;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The folders directly below `parent`, in name order.
std::vector<std::string> SubFolders(const std::string& parent) {
    std::vector<std::string> folders;
    std::error_code error;
    for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored)) folders.push_back(it->path().string());
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

// The files "*.yml" directly below `folder`, in name order.
std::vector<std::string> YamlFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        // Only regular files: a pipe among them must not hold up the start of the program.
        if (it->path().extension() == ".yml" && it->is_regular_file(ignored) &&
            it->file_size(ignored) <= kMaxGameConfigBytes) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The Wine prefix of one Lutris game, "prefix" under "game:" in its configuration; empty
// for a game without one (a native game) and for a file that is no such configuration.
std::string LutrisGamePrefix(const std::string& configFile, const std::string& home) {
    std::string prefix;
    try {
        // A file that cannot be opened is refused as YAML::BadFile, a YAML::Exception too.
        const YAML::Node config = YAML::LoadFile(configFile);
        const YAML::Node game = config.IsMap() ? config["game"] : YAML::Node();
        const YAML::Node value = game.IsMap() ? game["prefix"] : YAML::Node();
        if (value.IsScalar()) prefix = value.Scalar();
    } catch (const YAML::Exception&) {
        return {};
    }
    // Lutris expands a leading "~" itself; a relative path has nothing to be relative to.
    if (prefix == "~" || prefix.starts_with("~/")) prefix = home + prefix.substr(1);
    return prefix.starts_with("/") ? prefix : std::string();
}

// When the prefix's settings file was last changed; nullopt when the prefix has none.
std::optional<std::pair<long long, long>> SettingsFileChanged(const std::string& prefixRoot) {
    const std::string file = SettingsFilePath(WinePrefix(prefixRoot));
    if (file.empty()) return std::nullopt;
    struct stat info {};
    // A settings file that cannot be looked at still marks the prefix as the logging
    // program's; it counts as the oldest, and reading it will say what is wrong.
    if (::stat(file.c_str(), &info) != 0) return std::make_pair(0LL, 0L);
    return std::make_pair(static_cast<long long>(info.st_mtim.tv_sec), static_cast<long>(info.st_mtim.tv_nsec));
}

}  // namespace

PrefixSearch::Environment PrefixSearch::Environment::Current() {
    Environment environment;
    if (const char* prefix = std::getenv("WINEPREFIX")) environment.winePrefix = prefix;
    environment.home = Variable("HOME");
    if (environment.home.empty()) {
        const passwd* user = getpwuid(getuid());
        if (user != nullptr && user->pw_dir != nullptr) environment.home = user->pw_dir;
    }
    environment.dataHome = Variable("XDG_DATA_HOME");
    environment.configHome = Variable("XDG_CONFIG_HOME");
    if (!environment.home.empty()) {
        if (environment.dataHome.empty()) environment.dataHome = environment.home + "/.local/share";
        if (environment.configHome.empty()) environment.configHome = environment.home + "/.config";
    }
    return environment;
}

std::vector<std::string> PrefixSearch::FrontEndPrefixes(const Environment& environment) {
    const std::string& home = environment.home;
    std::vector<std::string> candidates;
    auto addBelow = [&candidates](const std::string& parent) {
        for (std::string& folder : SubFolders(parent)) candidates.push_back(std::move(folder));
    };
    const std::string flatpak = home + "/.var/app/";

    if (!environment.dataHome.empty()) addBelow(environment.dataHome + "/bottles/bottles");
    addBelow(flatpak + "com.usebottles.bottles/data/bottles/bottles");
    addBelow(home + "/.PlayOnLinux/wineprefix");
    // Lutris keeps its game configurations in its configuration folder, newer versions in
    // its data folder; the Flatpak in its own.
    for (const std::string& games :
         {environment.configHome + "/lutris/games", environment.dataHome + "/lutris/games",
          flatpak + "net.lutris.Lutris/config/lutris/games", flatpak + "net.lutris.Lutris/data/lutris/games"}) {
        if (games.starts_with("/lutris")) continue;  // no configuration or data folder
        for (const std::string& config : YamlFiles(games)) {
            std::string prefix = LutrisGamePrefix(config, home);
            std::error_code ignored;
            if (!prefix.empty() && fs::is_directory(prefix, ignored)) candidates.push_back(std::move(prefix));
        }
    }
    addBelow(home + "/Games");
    addBelow(home + "/.cxoffice");

    // A prefix reached twice (a Lutris game in ~/Games, a link) is one prefix.
    std::vector<std::string> unique;
    std::set<std::string> seen;
    for (std::string& candidate : candidates) {
        std::error_code error;
        fs::path canonical = fs::canonical(candidate, error);
        if (seen.insert(error ? candidate : canonical.string()).second) unique.push_back(std::move(candidate));
    }
    return unique;
}

PrefixSearch::Result PrefixSearch::Find(const Environment& environment) {
    if (environment.winePrefix && !environment.winePrefix->empty()) {
        return {WinePrefix(*environment.winePrefix), Origin::WinePrefixVariable};
    }
    if (environment.home.empty()) return {WinePrefix(""), Origin::NotFound};
    const std::string defaultPrefix = environment.home + "/.wine";
    if (SettingsFileChanged(defaultPrefix)) return {WinePrefix(defaultPrefix), Origin::DefaultPrefix};

    // Of several, the newest settings file wins; on a tie the first in search order.
    std::optional<std::pair<long long, long>> newest;
    std::string chosen;
    std::size_t found = 0;
    for (const std::string& candidate : FrontEndPrefixes(environment)) {
        const auto changed = SettingsFileChanged(candidate);
        if (!changed) continue;
        ++found;
        if (!newest || *changed > *newest) {
            newest = changed;
            chosen = candidate;
        }
    }
    if (found == 0) return {WinePrefix(defaultPrefix), Origin::NotFound};
    return {WinePrefix(chosen), Origin::FrontEnd, found};
}
