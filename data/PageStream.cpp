#include "data/PageStream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>

namespace {

struct Cookie {
    int fd;
    off64_t position;
    std::unique_ptr<char[]> buffer;  // stdio's buffer: one page
};

ssize_t ReadAt(void* cookie, char* buffer, std::size_t size) {
    auto* file = static_cast<Cookie*>(cookie);
    for (;;) {
        ssize_t got = ::pread(file->fd, buffer, size, file->position);
        if (got < 0 && errno == EINTR) continue;
        if (got > 0) file->position += got;
        return got;
    }
}

int Seek(void* cookie, off64_t* offset, int whence) {
    auto* file = static_cast<Cookie*>(cookie);
    off64_t base = 0;
    switch (whence) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = file->position;
        break;
    case SEEK_END: {
        struct stat status {};
        if (::fstat(file->fd, &status) != 0) return -1;
        base = status.st_size;
        break;
    }
    default:
        errno = EINVAL;
        return -1;
    }
    if (*offset < 0 && base < -*offset) {
        errno = EINVAL;
        return -1;
    }
    file->position = base + *offset;
    *offset = file->position;
    return 0;
}

int Close(void* cookie) {
    auto* file = static_cast<Cookie*>(cookie);
    int result = ::close(file->fd);
    delete file;
    return result;
}

}  // namespace

FILE* PageStream::Open(int fd, std::size_t pageSize) {
    std::unique_ptr<Cookie> cookie(new (std::nothrow) Cookie{fd, 0, nullptr});
    if (!cookie) return nullptr;
    cookie->buffer.reset(new (std::nothrow) char[pageSize]);
    if (!cookie->buffer) return nullptr;
    cookie_io_functions_t functions{};
    functions.read = ReadAt;
    functions.seek = Seek;
    functions.close = Close;
    FILE* stream = ::fopencookie(cookie.get(), "r", functions);
    if (!stream) return nullptr;
    // stdio fills its buffer with one read and copies from it; with a buffer of one page,
    // a page is one pread. (Unbuffered, stdio would read a byte at a time.)
    ::setvbuf(stream, cookie->buffer.get(), _IOFBF, pageSize);
    cookie.release();  // closed with the stream
    return stream;
}
