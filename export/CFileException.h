#pragma once

#include <stdexcept>
#include <string>

// The file layer's error: the ADIF file could not be created, written or put in place.
// Carries the path concerned and the system's reason, and a description that says both
// and what the operator can do about it.
class CFileException : public std::runtime_error {
public:
    CFileException(std::string path, std::string reason, const std::string& description)
        : std::runtime_error(description), m_path(std::move(path)), m_reason(std::move(reason)) {}

    std::string Description() const { return what(); }
    const std::string& Path() const { return m_path; }
    const std::string& Reason() const { return m_reason; }

private:
    std::string m_path;
    std::string m_reason;
};
