#pragma once

#include <stdexcept>
#include <string>

// A Windows path that has no place on this host: its drive or network share is not
// mapped in the Wine prefix. The text names the path, the drive and the prefix.
class PathMappingError : public std::runtime_error {
public:
    explicit PathMappingError(const std::string& description) : std::runtime_error(description) {}
};
