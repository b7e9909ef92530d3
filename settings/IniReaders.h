#pragma once

#include <string>

#include "settings/RunSettings.h"
#include "settings/WinePrefix.h"

// The dates a run covers when the operator leaves a date empty.
inline constexpr char kDefaultStartDate[] = "19451116";
inline constexpr char kDefaultEndDate[] = "20301231";

// The logging program's settings file in the Windows directory, its name matched without
// regard to letter case as Windows would. Empty when there is none.
std::string SettingsFilePath(const WinePrefix& prefix);

// Why the settings file, which is there, cannot be read (naming it, the reason and what to
// do); empty when it was read or is missing. The readers below then give the values of a
// missing file.
std::string SettingsFileProblem(const WinePrefix& prefix);

// Source database path ("Dir"/"DATAPATH") and operator call sign ("Gen"/"OPRCALL"), with
// trailing white space removed; leading white space stays. A missing file, section or key
// gives the empty text.
void ReadIniDataPath(const WinePrefix& prefix, std::string& sourcePath, std::string& oprCall);

// Reference database path and output file path, both in the program directory
// ("Dir"/"PGMPATH") less one trailing backslash. Nothing is trimmed.
void ReadIniPgmPath(const WinePrefix& prefix, std::string& refdataPath, std::string& adiPath);

// The six values the run-settings dialog shows when it opens: the settings file's values
// and the default dates.
RunSettings ReadRunSettingsDefaults(const WinePrefix& prefix);
