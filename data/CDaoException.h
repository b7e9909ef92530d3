#pragma once

#include <stdexcept>
#include <string>

// The database layer's error: every failure to open or read an Access file ends up here,
// with a description that names the file and says what is wrong with it. Its kind, file
// and bare reason let a caller say the same in words of its own (the desktop program
// speaks of "the reference database" and the path the operator typed, not the host file).
class CDaoException : public std::runtime_error {
public:
    enum class Kind {
        NotFound,      // no file at the path
        Unreadable,    // the file is there but cannot be read (permissions, I/O error)
        NotAccess,     // the file is no Access database
        Damaged,       // the file cannot be read as it stands: compact/repair it
        Interrupted,   // reading was stopped from outside; the file itself may be sound
        Changed,       // the file kept changing while it was read (Qervel saving contacts)
        WrongLayout,   // a table or column the program needs is missing or of another type
        ValueTooLong,  // a value is longer than the program reads whole
        Other          // anything else, described by the text alone
    };

    explicit CDaoException(const std::string& description) : std::runtime_error(description) {}
    CDaoException(Kind kind, std::string path, std::string reason, const std::string& description)
        : std::runtime_error(description), m_kind(kind), m_path(std::move(path)), m_reason(std::move(reason)) {}

    std::string Description() const { return what(); }
    Kind GetKind() const { return m_kind; }
    // The host file the failure is about; empty when it concerns no one file.
    const std::string& Path() const { return m_path; }
    // What is wrong, without the file's name or advice ("data page 7 is listed twice").
    const std::string& Reason() const { return m_reason; }

private:
    Kind m_kind = Kind::Other;
    std::string m_path;
    std::string m_reason;
};
