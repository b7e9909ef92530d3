#pragma once

#include <sys/types.h>

// What a directory entry is, for messages about a path that should name a file: "a folder",
// "a named pipe", "a socket", "a character device", "a block device", ... and
// "a file" for a regular one. `mode` is a stat st_mode.
const char* FileTypeText(mode_t mode);
