#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "settings/WinePrefix.h"

// Finds the Wine prefix that holds the logging program when the operator names none.
// Operators run it in the default prefix, in one named by WINEPREFIX, or in one that a
// front end made for it (Bottles, PlayOnLinux, Lutris, CrossOver). Both programs settle the
// prefix here, so that the exporter the desktop program starts sees what the dialog showed.
//
// The order:
// 1. WINEPREFIX, when set and not empty, with nothing else searched;
// 2. ~/.wine, when its Windows directory holds the settings file Qvl2007.ini;
// 3. the front ends' prefixes (FrontEndPrefixes) whose Windows directory holds it; of
//    several, the one whose settings file was changed last;
// 4. none of them: ~/.wine all the same, which gives the values of a missing settings file.
class PrefixSearch {
public:
    // What the search reads of the environment.
    struct Environment {
        std::optional<std::string> winePrefix;  // WINEPREFIX; nullopt when not set
        std::string home;                       // empty when there is no home directory
        std::string dataHome;                   // XDG_DATA_HOME, or ~/.local/share
        std::string configHome;                 // XDG_CONFIG_HOME, or ~/.config

        // HOME (or the password database), WINEPREFIX and the XDG folders of this process.
        static Environment Current();
    };

    enum class Origin { WinePrefixVariable, DefaultPrefix, FrontEnd, NotFound };

    struct Result {
        WinePrefix prefix;
        Origin origin;
        // The number of front-end prefixes that hold a settings file, for Origin::FrontEnd.
        std::size_t candidates = 0;
    };

    static Result Find(const Environment& environment);
    static Result FromEnvironment() { return Find(Environment::Current()); }

    // The prefix folders the front ends keep, in the order they are searched: Bottles (also
    // its Flatpak), PlayOnLinux, Lutris (each game's "prefix" in its configuration, then the
    // folders below ~/Games), CrossOver. Existing folders only, each listed once.
    static std::vector<std::string> FrontEndPrefixes(const Environment& environment);
};
