#include "cli/ProgressReporter.h"

#include <algorithm>

#include "cli/ProgressRecord.h"
#include "cli/ProgressWriter.h"
#include "data/WriteAll.h"

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressReporter::ProgressReporter(ProgressWriter* channel, std::optional<int> terminalFd,
                                   std::function<long()> totalRows, Clock clock)
    : m_channel(channel), m_terminalFd(terminalFd), m_totalRows(std::move(totalRows)), m_clock(std::move(clock)) {}

void ProgressReporter::ReadCountsFrom(const ExportCounters& counters) { m_counters = &counters; }

RunCounts ProgressReporter::CountsOf(const ExportCounters& c) {
    return {c.Count(ExportCounters::Total), c.Count(ExportCounters::NotValid), c.Count(ExportCounters::Valid),
            c.Count(ExportCounters::NotSameOprCall), c.Count(ExportCounters::NotDateRange)};
}

RunCounts ProgressReporter::Latest() const { return m_counters ? CountsOf(*m_counters) : RunCounts{}; }

void ProgressReporter::SendLatest(std::chrono::steady_clock::time_point now) {
    const RunCounts latest = Latest();
    if (m_sent == latest) return;
    m_channel->Progress(latest);
    m_sent = latest;
    m_lastSent = now;
}

void ProgressReporter::DrawTerminalLine(bool force) {
    if (!m_terminalFd) return;
    const long done = Latest().total;
    if (done == m_drawnDone) return;
    const auto now = m_clock();
    if (!force && now - m_lastDraw < kRedrawInterval) return;
    m_lastDraw = now;
    m_drawnDone = done;
    // The table's size is known only while it is open; keep what was seen then.
    m_total = std::max({m_total, m_totalRows(), done});
    std::string line = "\rExporting: " + std::to_string(done) + " of " + std::to_string(m_total) + " contacts\x1b[K";
    // A terminal that cannot be written to only loses the progress line.
    if (WriteAll(*m_terminalFd, line)) m_lineShown = true;
}

void ProgressReporter::Pump() {
    if (m_channel && m_counters) {
        const auto now = m_clock();
        if (!m_sent || now - m_lastSent >= ProgressRecord::kProgressInterval) SendLatest(now);
    }
    DrawTerminalLine(false);
}

void ProgressReporter::Finish() {
    DrawTerminalLine(true);
    if (m_lineShown) WriteAll(*m_terminalFd, "\n");
    m_lineShown = false;
    if (!m_channel) return;
    try {
        SendLatest(m_clock());
    } catch (const ProgressChannelLost&) {
        // The run is over; a reader that has gone away has nothing left to miss.
    }
}
