#pragma once

#include <stdexcept>
#include <string>

// The file layer's error: the ADIF file could not be created, written or put in place. Its
// text names the file, gives the system's reason and says what the operator can do; the
// bare reason ("No space left on device") lets a caller say the same in words of its own.
class CFileException : public std::runtime_error {
public:
    explicit CFileException(const std::string& description) : std::runtime_error(description) {}
    CFileException(const std::string& description, std::string reason)
        : std::runtime_error(description), m_reason(std::move(reason)) {}

    // Empty when only the description says why.
    const std::string& Reason() const { return m_reason; }

private:
    std::string m_reason;
};
