// Windows paths as the settings file, the run-settings dialog and the exporter's options
// give them, mapped into a Wine prefix with drives C: and D: and the network share
// \\server\share. A mapped path lies below one of the prefix's drive or share roots and
// steps neither up nor sideways; a host path ("/...") and a relative one are used exactly as
// written; anything else is refused with PathMappingError.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "settings/PathMappingError.h"
#include "settings/WinePrefix.h"
#include "tests/support/TempPrefix.h"

namespace {

using fuzz::Require;

struct Prefix {
    TempPrefix dir;
    Prefix() {
        dir.WriteFile("drive_c/Program Files/Qervel/Data/Qervel.mdb", "log");
        dir.WriteFile("drive_c/Program Files/Qervel/Refdata.mdb", "prefixes");
        dir.WriteFile("drive_c/windows/Qvl2007.ini", "[Dir]\n");
        dir.WriteFile("drive_d/Logs/old.mdb", "old log");
        dir.AddDosDevice("d:", "../drive_d");
        dir.WriteFile("share/Qervel/Qervel.mdb", "shared log");
        dir.MakeDir("dosdevices/unc/server");
        std::filesystem::create_directory_symlink("../../../share", dir.Root() + "/dosdevices/unc/server/share");
    }
};

const Prefix& ThePrefix() {
    static const Prefix prefix;
    return prefix;
}

// Each place a mapped path may start, and nothing above or beside them.
bool StartsAtARoot(std::string_view mapped, std::string_view& below) {
    const std::string dosdevices = ThePrefix().dir.Root() + "/dosdevices/";
    for (const char* root : {"c:", "d:", "unc/server/share"}) {
        const std::string start = dosdevices + root;
        if (mapped == start || mapped.starts_with(start + "/")) {
            below = mapped.substr(std::min(mapped.size(), start.size() + 1));
            return true;
        }
    }
    return false;
}

// No component that the host would read as a step up or a stay, none empty, and no NUL,
// at which the host would end the path.
bool PlainComponents(std::string_view path) {
    if (path.empty()) return true;
    if (path.find('\0') != std::string_view::npos) return false;
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find('/', start);
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

bool StartsWithDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

void CheckMapped(const std::string& written, const std::string& mapped, const char* how) {
    const std::string detail = std::string(how) + ": \"" + written + "\" -> \"" + mapped + "\"";
    if (written.empty() || written.front() == '/' || (!StartsWithDrive(written) && written.front() != '\\')) {
        Require(mapped == written, "a host path, relative or not, is used as written", detail);
        return;
    }
    std::string_view below;
    Require(StartsAtARoot(mapped, below), "a Windows path lies below a drive or share of the prefix", detail);
    Require(PlainComponents(below), "a mapped path never steps up, stays or stops early", detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const WinePrefix wine(ThePrefix().dir.Root());
    const std::string written(fuzz::AsText(data, size));
    for (bool output : {false, true}) {
        try {
            const std::string mapped = output ? wine.MapOutputToHost(written) : wine.MapToHost(written);
            CheckMapped(written, mapped, output ? "output" : "input");
        } catch (const PathMappingError& e) {
            Require(std::string_view(e.what()).find("\"" + written + "\"") != std::string_view::npos ||
                        written.find('\0') != std::string::npos,
                    "a refusal names the path", e.what());
        }
    }
    return 0;
}
