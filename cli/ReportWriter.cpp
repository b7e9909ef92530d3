#include "cli/ReportWriter.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "cli/ReportRecord.h"

void ReportWriter::Progress(const RunCounts& counts) { Send(ReportRecord::Progress(counts)); }

void ReportWriter::Done(const RunCounts& counts) { Send(ReportRecord::Done(counts)); }

void ReportWriter::Failure(const ExportFailure& failure) { Send(ReportRecord::Failure(failure)); }

void ReportWriter::Send(std::string_view record) {
    while (!record.empty()) {
        const ssize_t written = ::write(m_fd, record.data(), record.size());
        if (written >= 0) {
            record.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd writable{m_fd, POLLOUT, 0};
            if (::poll(&writable, 1, -1) >= 0 || errno == EINTR) continue;
        }
        throw ReportChannelLost("Cannot report progress on descriptor " + std::to_string(m_fd) + ": " +
                                std::strerror(errno) + ". The export was stopped.");
    }
}
