#pragma once

#include <QString>

#include <string>

// morvask --check-install: whether the exporter that the desktop program starts is there and
// of the same version as the program. Needs no display, so that an installation can be
// checked from a script or a terminal before anyone starts the program.
class InstallCheck {
public:
    struct Outcome {
        int exitCode = 0;
        // One line for the operator: where the exporter was found, or what is wrong and what
        // to do about it.
        std::string text;
    };

    // program: the exporter the desktop program would start; version: the version it must
    // report for --version.
    static Outcome Run(const QString& program, const std::string& version);
};
