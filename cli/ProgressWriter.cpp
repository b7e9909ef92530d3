#include "cli/ProgressWriter.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "cli/ProgressRecord.h"
#include "data/WriteAll.h"

void ProgressWriter::Progress(const RunCounts& counts) { Send(ProgressRecord::Progress(counts)); }

void ProgressWriter::Done(const RunCounts& counts) { Send(ProgressRecord::Done(counts)); }

void ProgressWriter::Failure(const ExportFailure& failure) { Send(ProgressRecord::Failure(failure)); }

void ProgressWriter::Send(std::string_view record) {
    if (!WriteAll(m_fd, record))
        throw ProgressChannelLost("Cannot report progress on descriptor " + std::to_string(m_fd) + ": " +
                                  std::strerror(errno) + ". The export was stopped.");
}
