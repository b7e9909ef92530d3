#pragma once

#include <cstddef>
#include <string>

// The temporary files in which ADIF files wait beside their output, named
// ".<output name>.<process id>-<attempt>.tmp", and the sweep that removes those whose
// writer is gone. A writer holds an exclusive flock on its temporary file for as long as it
// lives; a file of ours that can be locked has no writer any more, whatever ended it.
//
// A temporary name never exceeds the file system's limit for a name (`nameMax`): the output
// name in it is cut short where it would, so that any name that can be made can be replaced.
//
// Where the file system takes no locks at all (a network home without a lock manager gives
// ENOLCK), a writer's file stays unlocked and no sweep can tell it from a leftover, so none
// is removed: the writer removes its own file whenever it does not put it in place.
class AdiTempFiles {
public:
    static std::string Name(const std::string& outputName, long pid, unsigned attempt,
                            std::size_t nameMax = kDefaultNameMax);
    static bool IsOurs(const std::string& entry, const std::string& outputName,
                       std::size_t nameMax = kDefaultNameMax);
    // The longest file name that `directory`'s file system takes.
    static std::size_t NameMax(const std::string& directory);

    // Removes the leftovers for `outputName` in `directory`. Only regular files of that name
    // pattern are touched, and only when no one holds their lock. Never fails: what cannot
    // be removed stays for a later run.
    static void SweepStale(const std::string& directory, const std::string& outputName) noexcept;

    // Takes a temporary file's lock without waiting: 0, or -1 with errno (EWOULDBLOCK when
    // another holds it). `wait` blocks instead.
    static int Lock(int fd, bool wait);
    // Makes Lock call `call` in place of flock, so that a test can be a file system without
    // working locks; nullptr restores flock.
    static void SetLockCall(int (*call)(int fd, int operation));

    static constexpr std::size_t kDefaultNameMax = 255;
};
