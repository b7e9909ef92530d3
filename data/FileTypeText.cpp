#include "data/FileTypeText.h"

#include <sys/stat.h>

const char* FileTypeText(mode_t mode) {
    if (S_ISREG(mode)) return "a file";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISLNK(mode)) return "a symbolic link";
    return "something other than a file";
}
