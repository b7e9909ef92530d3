#include "data/WriteAll.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
        pollfd writable{fd, POLLOUT, 0};
        if (::poll(&writable, 1, -1) < 0 && errno != EINTR) return false;
    }
    return true;
}
