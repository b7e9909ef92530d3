#pragma once

#include <cstddef>
#include <cstdio>

// A read-only stdio stream over a file descriptor for libmdb to read its pages through.
// libmdb reads every page with four system calls: a seek to the end of the file and a
// look at where that is (so as to refuse a page beyond it), a seek to the page and the
// read. A walk of a large log reads tens of thousands of pages, and those calls would be a
// large part of the reader's time. Through this stream the end is one fstat, a seek is
// no call at all and the page comes with one pread. What libmdb sees is the same: the
// file's size at that moment, and the bytes at the offset.
class PageStream {
public:
    // A stream that reads fd in pages of pageSize bytes and closes it when the stream is
    // closed; nullptr (fd left open) when the stream cannot be made.
    static FILE* Open(int fd, std::size_t pageSize);
};
