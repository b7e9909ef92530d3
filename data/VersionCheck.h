#pragma once

#include <string>

#include "data/DbEngine.h"

// What the version check found in the logging database.
struct MdbVersion {
    bool accepted = false;
    // For the operator, after "holds": "version \"5\"", "no table [VERSION]", ...
    std::string found;
};

// Whether the logging database at sourcePath is of version 6 or later: the first column of
// the first row of its table "VERSION", read as atoi reads it. Anything in the file that
// keeps the number from being read (no such table, no rows, NULL, a table that cannot be
// read) is a refusal, never an error; only a reader interrupted from outside throws its
// CDaoException, since then nothing is known about the file.
MdbVersion ReadMdbVersion(DbEngine& engine, const std::string& sourcePath);
bool CheckMdbVersion(DbEngine& engine, const std::string& sourcePath);
