#pragma once

#include <stdexcept>
#include <string_view>

#include "cli/ExportFailure.h"
#include "cli/RunCounts.h"

// The progress channel has gone: its reader closed it, or the descriptor cannot be written.
class ProgressChannelLost : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The exporter's end of the progress channel. Every record is handed over whole: the channel
// is meant to block the writer while the reader catches up, and a descriptor that was made
// non-blocking all the same is waited on rather than given up on.
class ProgressWriter {
public:
    explicit ProgressWriter(int fd) : m_fd(fd) {}

    // Each throws ProgressChannelLost.
    void Progress(const RunCounts& counts);
    void Done(const RunCounts& counts);
    void Failure(const ExportFailure& failure);

private:
    void Send(std::string_view record);

    int m_fd;
};
