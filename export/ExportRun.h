#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "export/ExportCounters.h"
#include "settings/RunSettings.h"

class CMorvaskSet;
class CmorvaskSet2;
class QsoRecordWriter;

// What the caller of a run sees while it goes.
struct ExportHooks {
    // Once per pass of the walk, before its tests: where the desktop program lets its
    // window repaint and handles pending events.
    std::function<void()> pump = nullptr;
    // Receives the length trace, one line per counted field length; none when null.
    std::ostream* trace = nullptr;
    // With the operator call of each contact counted as another operator's: the calls a log
    // holds, gathered without a second walk and without any work for accepted contacts.
    std::function<void(const std::string& oprCall)> otherOperator = nullptr;
    // The log changed while it was read and the walk begins again from its first row: what
    // was gathered from the walk so far is void. The counters start again from 0.
    std::function<void()> restart = nullptr;
};

// The "Make adi file" run: walks every contact of the QSO table once, sorts it into not
// valid, other operator, outside the date range or accepted, counts it, and writes the
// accepted contacts to the ADIF file in table order.
class ExportRun {
public:
    ExportRun(CMorvaskSet& prefixSet, CmorvaskSet2& qsoSet);

    void SetHooks(ExportHooks hooks) { m_hooks = std::move(hooks); }

    // Uses the operator call, the two dates and the output path of settings. Both
    // recordsets are open during the run and closed at its end, whether it succeeds or
    // not. A failure throws CDaoException or CFileException; the output path then keeps
    // whatever was there before, and the counters keep the values reached.
    //
    // The file written is the export of one state of the log (settings.m_strSourcePath):
    // when the log changed during the walk (Qervel saving contacts beside us), or a reading
    // failed while it changed, the log is walked again, up to LogFileState::kReadings times
    // in all. A log that changed during every walk throws CDaoException of kind Changed,
    // never "damaged", and leaves the counters at 0: no walk of it counts as the run's result.
    void Run(const RunSettings& settings);

    const ExportCounters& Counters() const { return m_counters; }

    // The columns of "QSO-TAB" that the export reads: those of the walk's rules and those
    // of the record writer. The other bound columns must exist all the same.
    static std::vector<std::string> ReadColumns();

private:
    // One walk of the log into a new file; the file replaces the output only when
    // `stillSame` says, after the walk, that the log has not changed.
    void RunOnce(const RunSettings& settings, const std::function<bool()>& stillSame);
    void Walk(const RunSettings& settings, QsoRecordWriter& writer);
    // Counts a rejected contact and moves on; true when that passed the last row.
    bool Reject(ExportCounters::Counter which);
    void Advance();
    void CloseRecordsets() noexcept;

    CMorvaskSet& m_prefixSet;
    CmorvaskSet2& m_qsoSet;
    ExportHooks m_hooks;
    ExportCounters m_counters;
};
