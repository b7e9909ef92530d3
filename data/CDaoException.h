#pragma once

#include <stdexcept>
#include <string>

// The database layer's error: every failure to open or read an Access file ends up here,
// with a description that names the file and says what is wrong with it.
class CDaoException : public std::runtime_error {
public:
    explicit CDaoException(const std::string& description) : std::runtime_error(description) {}
    std::string Description() const { return what(); }
};
