#pragma once

#include <stdexcept>
#include <string>

// The logging program's settings file is there but cannot be read: it is a folder, a pipe,
// a device or a socket, or opening or reading it failed. The text names the file, says why
// and what to do.
class SettingsFileError : public std::runtime_error {
public:
    explicit SettingsFileError(const std::string& description) : std::runtime_error(description) {}
};
