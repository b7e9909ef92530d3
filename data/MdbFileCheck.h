#pragma once

#include <string>

// Looks at a file before libmdb is let near it: a regular, readable file (a pipe, socket
// or device is refused without being opened, so nothing blocks), the Jet signature, a
// version byte libmdb knows, and at least two whole pages. Anything else is refused with
// our own text, so libmdb never has to guess about a file that is plainly not a database.
class MdbFileCheck {
public:
    // Throws CDaoException naming the file: not found, not readable, not an Access
    // database, or damaged (cut short).
    static void Check(const std::string& path);
};
