#pragma once

#include <string>

#include "data/DbEngine.h"

// Whether the logging database at sourcePath is of version 6 or later: the first column of
// the first row of its table "VERSION", read as atoi reads it. Anything that keeps the
// number from being read (no such table, no rows, NULL, a file that cannot be read) is a
// refusal, never an error.
bool CheckMdbVersion(DbEngine& engine, const std::string& sourcePath);
