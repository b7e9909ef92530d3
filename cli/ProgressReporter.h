#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "cli/RunCounts.h"
#include "export/ExportCounters.h"

class ProgressWriter;

// What the headless exporter shows while a run goes: for the desktop program, the latest
// counts on the progress channel every so often (ProgressRecord::kProgressInterval) and always
// the last ones; for a person at a terminal, one self-overwriting line on standard error.
// A screen shows no more than its refresh rate, so counts sent more often would only be
// parsed and painted in vain.
class ProgressReporter {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // channel: the progress channel, or none. terminalFd: the terminal that shows the progress
    // line, or none. totalRows gives the number of contacts the table holds.
    ProgressReporter(ProgressWriter* channel, std::optional<int> terminalFd, std::function<long()> totalRows,
                     Clock clock = std::chrono::steady_clock::now);
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // The counters to report from, read at every Pump and at Finish: handed over once, before
    // the run. They must outlive the reporter's use of them.
    void ReadCountsFrom(const ExportCounters& counters);
    // Once per pass of the walk: sends the latest counts when the interval has passed and
    // redraws the terminal line now and then. Throws ProgressChannelLost when the reader of
    // the channel has gone away.
    void Pump();
    // After the run, successful or not: the last counts go out if they have not yet.
    void Finish();

    // The five counts in the order the progress channel carries them.
    static RunCounts CountsOf(const ExportCounters& counters);

private:
    RunCounts Latest() const;

    void SendLatest(std::chrono::steady_clock::time_point now);
    void DrawTerminalLine(bool force);

    ProgressWriter* m_channel;
    std::optional<int> m_terminalFd;
    std::function<long()> m_totalRows;
    Clock m_clock;
    const ExportCounters* m_counters = nullptr;
    std::optional<RunCounts> m_sent;
    std::chrono::steady_clock::time_point m_lastSent{};
    long m_total = 0;
    long m_drawnDone = -1;
    std::chrono::steady_clock::time_point m_lastDraw{};
    bool m_lineShown = false;
};
