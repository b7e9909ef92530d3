#include "cli/StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace StandardDescriptors {

void Ensure() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        // open() returns the lowest free number, which is this one. Standard output is held
        // by a descriptor that cannot be written: what is written there fails as it would on
        // the closed one, so that the exporter's counts are not lost without a word.
        const int opened = ::open("/dev/null", fd == 2 ? O_WRONLY : O_RDONLY);
        if (opened > 2) ::close(opened);
    }
}

}  // namespace StandardDescriptors
