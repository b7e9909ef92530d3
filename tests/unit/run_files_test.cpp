#include <gtest/gtest.h>
#include <unistd.h>

#include "settings/RunFiles.h"
#include "tests/unit/ExportTestSupport.h"

namespace {

using Role = RunFiles::Role;

// Every other spelling of the log must be caught before anything is written there; a new
// file or one that merely shares a name elsewhere must not be.
TEST(RunFiles, RecognisesAFileByWhatItIsNotByHowItIsSpelt) {
    TempDir dir;
    const std::string log = dir.File("log.mdb");
    WriteFile(log, "log");
    WriteFile(dir.File("Refdata.mdb"), "ref");
    dir.MakeDir("sub");
    ASSERT_EQ(::link(log.c_str(), dir.File("hard.mdb").c_str()), 0);
    ASSERT_EQ(::symlink(log.c_str(), dir.File("soft.mdb").c_str()), 0);

    RunFiles files;
    files.Add(Role::SourceDatabase, log);
    files.Add(Role::ReferenceDatabase, dir.File("Refdata.mdb"));
    files.Add(Role::AdifFile, dir.File("not-yet.adi"));

    const struct {
        const char* name;
        std::string path;
        std::optional<Role> found;
    } cases[] = {
        {"the same path", log, Role::SourceDatabase},
        {"a detour through ..", dir.File("sub/../log.mdb"), Role::SourceDatabase},
        {"a hard link", dir.File("hard.mdb"), Role::SourceDatabase},
        {"a symbolic link", dir.File("soft.mdb"), Role::SourceDatabase},
        {"the other database", dir.File("sub/../Refdata.mdb"), Role::ReferenceDatabase},
        {"a file that does not exist", dir.File("new.adi"), std::nullopt},
        {"the run's own file before it exists", dir.File("not-yet.adi"), std::nullopt},
        {"an empty path", "", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto found = files.Find(c.path, {Role::SourceDatabase, Role::ReferenceDatabase, Role::AdifFile});
        EXPECT_EQ(found ? std::optional<Role>(found->role) : std::nullopt, c.found) << c.name;
    }
    EXPECT_FALSE(files.Find(log, {Role::ReferenceDatabase, Role::SettingsFile})) << "only the roles asked for count";
}

}  // namespace
