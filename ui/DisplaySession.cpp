#include "ui/DisplaySession.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

}  // namespace

DisplaySession::Setting DisplaySession::FromProcess(int argc, char* argv[]) {
    Setting setting{Environment("QT_QPA_PLATFORM"), Environment("DISPLAY"), Environment("WAYLAND_DISPLAY"),
                    Environment("WAYLAND_SOCKET")};
    // Qt takes -platform NAME (or --platform) before the environment.
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            setting.platform = argv[i + 1];
        }
    }
    return setting;
}

bool DisplaySession::Missing(const Setting& setting) {
    const bool x11 = !setting.x11Display.empty();
    const bool wayland = !setting.waylandDisplay.empty() || !setting.waylandSocket.empty();
    // Without a platform named, Qt picks X11 or Wayland, whichever the session has.
    if (setting.platform.empty()) return !x11 && !wayland;
    // A list ("wayland;xcb;offscreen") is tried in order until one starts, so a display is
    // missing only when no entry can start.
    std::string_view list = setting.platform;
    while (true) {
        const std::size_t end = list.find(';');
        const std::string_view platform = list.substr(0, end);
        if (platform == "xcb" ? x11 : StartsWith(platform, "wayland") ? wayland : true) return false;
        if (end == std::string_view::npos) return true;
        list.remove_prefix(end + 1);
    }
}

const char* DisplaySession::MissingText() {
    return "morvask: no display to show the window on: it needs a desktop session (X11 or Wayland); "
           "without one, morvask-export makes the ADIF file (see 'man morvask-export').";
}
