#pragma once

#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"

// A throw-away folder laid out like a Wine prefix: drive_c, drive_c/windows and the
// dosdevices entry "c:" pointing at drive_c.
class TempPrefix : public TempDir {
public:
    TempPrefix() {
        MakeDir("drive_c/windows");
        MakeDir("dosdevices");
        AddDosDevice("c:", "../drive_c");
    }
    // Makes dosdevices/<name> point at `target`.
    void AddDosDevice(const std::string& name, const std::string& target) const {
        std::filesystem::create_directory_symlink(target, File("dosdevices/" + name));
    }
};
