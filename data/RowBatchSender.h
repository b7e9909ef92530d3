#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/CDaoException.h"
#include "data/MdbTableWalker.h"

// The reader process's side of the pipe: collects rows into Rows frames of about 256 KB
// (few system calls, little waiting) and sends each when it is full, or when a second has
// passed, so that a slow disk does not look like a hung reader. When the parent has gone
// (its cursor was closed early) there is nothing left to do and the process ends.
class RowBatchSender {
public:
    explicit RowBatchSender(int fd);

    // The table is open: it announces this many rows of this many values each.
    void Opened(unsigned long rows, std::size_t values);
    void Add(const MdbTableWalker::Row& row);
    // Sends the rows still held, then Done.
    void Finish(unsigned long rows);
    // Sends the rows still held, then the error.
    void Fail(const CDaoException& error);

private:
    void Flush();
    void Send();

    int m_fd;
    std::string m_out;
    std::size_t m_start = 0;
    uint32_t m_rows = 0;
    std::chrono::steady_clock::time_point m_lastSend;
};
