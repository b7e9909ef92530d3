#pragma once

#include <stdexcept>

// The file layer's error: the ADIF file could not be created, written or put in place. Its
// text names the file, gives the system's reason and says what the operator can do.
class CFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
