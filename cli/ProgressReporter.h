#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "export/ExportCounters.h"

// What the headless exporter shows while a run goes: for the desktop program, the five
// counts after every change as lines "T NV V NSO NDR" on a descriptor it names; for a
// person at a terminal, one self-overwriting line on standard error.
class ProgressReporter {
public:
    // progressFd: where the count lines go, or none. terminalFd: the terminal that shows
    // the progress line, or none. totalRows gives the number of contacts the table holds.
    ProgressReporter(std::optional<int> progressFd, std::optional<int> terminalFd, std::function<long()> totalRows);
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // After every change of a count.
    void Refresh(const ExportCounters& counters);
    // Once per pass of the walk: hands the buffered count lines over and redraws the
    // terminal line now and then. Throws std::runtime_error when the reader of the count
    // lines has gone away.
    void Pump();
    // After the run, successful or not.
    void Finish();

private:
    void FlushCounts();
    void DrawTerminalLine(bool force);

    std::optional<int> m_progressFd;
    std::optional<int> m_terminalFd;
    std::function<long()> m_totalRows;
    std::string m_pending;
    long m_done = 0;
    long m_total = 0;
    long m_drawnDone = -1;
    std::chrono::steady_clock::time_point m_lastDraw{};
    bool m_lineShown = false;
};
