#pragma once

#include <string>

// Whether the desktop program has a display to open its window on. Qt ends a program that
// finds no display with an abort and a core file; the program asks first, and without one
// says in a line what it needs and what makes the file instead.
class DisplaySession {
public:
    // What decides it: the environment and the Qt platform named on the command line.
    struct Setting {
        std::string platform;        // QT_QPA_PLATFORM, or the argument of -platform
        std::string x11Display;      // DISPLAY
        std::string waylandDisplay;  // WAYLAND_DISPLAY
        std::string waylandSocket;   // WAYLAND_SOCKET, a connection handed over by the compositor
    };

    static Setting FromProcess(int argc, char* argv[]);

    // True when Qt would look for an X11 or Wayland display and the environment names none
    // that it could use. A platform that needs no display (offscreen, vnc, linuxfb, ...) is
    // left to Qt, and so is a display that is named but cannot be reached.
    static bool Missing(const Setting& setting);

    // The one line shown instead of the window.
    static const char* MissingText();
};
