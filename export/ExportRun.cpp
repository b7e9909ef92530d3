#include "export/ExportRun.h"

#include <algorithm>

#include "data/CDaoException.h"
#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "export/AdiOutputFile.h"
#include "export/LogFileState.h"
#include "export/QsoRecordWriter.h"
#include "export/QsoSelection.h"

ExportRun::ExportRun(CMorvaskSet& prefixSet, CmorvaskSet2& qsoSet) : m_prefixSet(prefixSet), m_qsoSet(qsoSet) {}

std::vector<std::string> ExportRun::ReadColumns() {
    std::vector<std::string> columns = QsoSelection::ReadColumns();
    for (std::string& column : QsoRecordWriter::ReadColumns())
        if (std::find(columns.begin(), columns.end(), column) == columns.end()) columns.push_back(std::move(column));
    return columns;
}

namespace {

// Thrown out of a walk whose log changed under it; the run walks again.
struct LogChangedDuringWalk {};

}  // namespace

void ExportRun::Run(const RunSettings& settings) {
    const std::string& log = settings.m_strSourcePath;
    for (int walk = 1;; ++walk) {
        if (walk > 1 && m_hooks.restart) m_hooks.restart();
        const LogFileState before = LogFileState::Settled(log);
        const auto stillSame = [&log, &before] { return LogFileState::Of(log) == before; };
        try {
            RunOnce(settings, stillSame);
            return;
        } catch (const LogChangedDuringWalk&) {
        } catch (const CDaoException&) {
            // A log rewritten under the reader reads as damaged or cut short, which says
            // nothing of the log itself: it is read again as it now stands.
            if (stillSame()) throw;
        }
        if (walk == LogFileState::kReadings) {
            // The counts of a walk over a changing log are no run's result.
            m_counters.Reset();
            throw LogFileState::KeptChanging(log);
        }
    }
}

void ExportRun::RunOnce(const RunSettings& settings, const std::function<bool()>& stillSame) {
    m_counters.Reset();
    try {
        if (!m_prefixSet.IsOpen()) {
            m_prefixSet.SetFetchedColumns(CMorvaskSet::LookupColumns());
            m_prefixSet.Open();
        }
        if (!m_qsoSet.IsOpen()) {
            m_qsoSet.SetFetchedColumns(ReadColumns());
            m_qsoSet.Open();
        }
        AdiOutputFile file(settings.m_strAdiPath);
        QsoRecordWriter writer(file, m_hooks.trace);
        writer.WriteHeader();
        if (!m_qsoSet.IsEOF() && !m_qsoSet.IsBOF()) m_qsoSet.MoveFirst();
        Walk(settings, writer);
        CloseRecordsets();
        if (!stillSame()) throw LogChangedDuringWalk{};
        file.Commit();
    } catch (...) {
        // The next run must open both tables afresh and look prefixes up from the top.
        CloseRecordsets();
        throw;
    }
}

void ExportRun::CloseRecordsets() noexcept {
    if (m_prefixSet.IsOpen()) m_prefixSet.Close();
    if (m_qsoSet.IsOpen()) m_qsoSet.Close();
}

// The advance step would rewind the prefix set to its first row before the next contact;
// the lookup never moves it off that row, so only the QSO set moves.
void ExportRun::Advance() {
    if (!m_qsoSet.IsEOF() && !m_qsoSet.IsBOF()) m_qsoSet.MoveNext();
}

bool ExportRun::Reject(ExportCounters::Counter which) {
    m_counters.Add(which);
    Advance();
    m_counters.Add(ExportCounters::Total);
    return m_qsoSet.IsEOF();
}

// One pass tests the row the QSO recordset stands on at that moment. A rejected contact's
// advance step brings the next row in, which then faces only the tests that follow in the
// same pass: a contact that came in after a date rejection meets only the acceptance test,
// and if it fails that, the next pass starts with it.
void ExportRun::Walk(const RunSettings& settings, QsoRecordWriter& writer) {
    const QsoSelection selection(settings);
    const CmorvaskSet2& qso = m_qsoSet;

    while (!m_qsoSet.IsEOF()) {
        if (m_hooks.pump) m_hooks.pump();

        if (selection.IsNotValid(qso)) {
            if (Reject(ExportCounters::NotValid)) break;
        }
        if (selection.IsOtherOperator(qso)) {
            if (m_hooks.otherOperator) m_hooks.otherOperator(qso.m_QSO_OPRCALL);
            if (Reject(ExportCounters::NotSameOprCall)) break;
        }
        if (selection.IsOutsideDateRange(qso)) {
            if (Reject(ExportCounters::NotDateRange)) break;
        }
        if (selection.IsAccepted(qso)) {
            m_counters.Add(ExportCounters::Valid);
            m_counters.Add(ExportCounters::Total);
            writer.Write(qso, m_prefixSet);
            Advance();
        }
    }
}
