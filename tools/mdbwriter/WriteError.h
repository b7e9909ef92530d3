#pragma once

#include <stdexcept>
#include <string>

namespace jet {

// Every failure of the writer: a bad table or row description, or a file that cannot be
// written. The text names the table, column or file concerned.
class WriteError : public std::runtime_error {
public:
    explicit WriteError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace jet
