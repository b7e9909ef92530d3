#include "cli/ProgressReporter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "data/WriteAll.h"

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressReporter::ProgressReporter(std::optional<int> progressFd, std::optional<int> terminalFd,
                                   std::function<long()> totalRows)
    : m_progressFd(progressFd), m_terminalFd(terminalFd), m_totalRows(std::move(totalRows)) {}

ProgressReporter::~ProgressReporter() = default;

void ProgressReporter::Refresh(const ExportCounters& counters) {
    m_done = counters.Count(ExportCounters::Total);
    if (!m_progressFd) return;
    for (ExportCounters::Counter which : {ExportCounters::Total, ExportCounters::NotValid, ExportCounters::Valid,
                                          ExportCounters::NotSameOprCall, ExportCounters::NotDateRange}) {
        m_pending.append(counters.Text(which));
        m_pending.push_back(which == ExportCounters::NotDateRange ? '\n' : ' ');
    }
}

void ProgressReporter::FlushCounts() {
    if (!m_progressFd || m_pending.empty()) return;
    if (!WriteAll(*m_progressFd, m_pending)) {
        int error = errno;
        m_pending.clear();
        throw std::runtime_error("Cannot report progress on descriptor " + std::to_string(*m_progressFd) + ": " +
                                 std::strerror(error) + ". The export was stopped.");
    }
    m_pending.clear();
}

void ProgressReporter::DrawTerminalLine(bool force) {
    if (!m_terminalFd || m_done == m_drawnDone) return;
    auto now = std::chrono::steady_clock::now();
    if (!force && now - m_lastDraw < kRedrawInterval) return;
    m_lastDraw = now;
    m_drawnDone = m_done;
    // The table's size is known only while it is open; keep what was seen then.
    m_total = std::max({m_total, m_totalRows(), m_done});
    std::string line = "\rExporting: " + std::to_string(m_done) + " of " + std::to_string(m_total) + " contacts\x1b[K";
    // A terminal that cannot be written to only loses the progress line.
    if (WriteAll(*m_terminalFd, line)) m_lineShown = true;
}

void ProgressReporter::Pump() {
    FlushCounts();
    DrawTerminalLine(false);
}

void ProgressReporter::Finish() {
    DrawTerminalLine(true);
    if (m_lineShown) WriteAll(*m_terminalFd, "\n");
    m_lineShown = false;
    try {
        FlushCounts();
    } catch (const std::runtime_error&) {
        // The run is over; a reader that has gone away has nothing left to miss.
    }
}
