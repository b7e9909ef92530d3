#include "export/ExportRun.h"

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "export/AdiOutputFile.h"
#include "export/QsoRecordWriter.h"

ExportRun::ExportRun(CMorvaskSet& prefixSet, CmorvaskSet2& qsoSet) : m_prefixSet(prefixSet), m_qsoSet(qsoSet) {}

std::vector<std::string> ExportRun::ReadColumns() {
    return {"QSO-DATE",     "QSO-TIME",  "QSO-CALL",  "QSO-PREFIX",  "QSO-MODE",
            "QSO-SUBMODE",  "QSO-FREQ",  "QSO-BAND",  "QSO-CONFIRM", "QSO-QSLS",
            "QSO-QSL-SENT", "QSO-VALID", "QSO-AWARD", "QSO-OPRCALL", "QSO-QSLRDATE"};
}

void ExportRun::Run(const RunSettings& settings) {
    m_counters.Reset();
    if (m_hooks.refresh) m_hooks.refresh(m_counters);
    try {
        if (!m_prefixSet.IsOpen()) m_prefixSet.Open();
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

void ExportRun::Count(ExportCounters::Counter which) {
    m_counters.Add(which);
    if (m_hooks.refresh) m_hooks.refresh(m_counters);
}

void ExportRun::Advance(bool prefixMoved) {
    // Between contacts the prefix set stands on its first row, as after a fresh Open. Only
    // a written contact's lookup moves it, so only then is there anything to rewind; after a
    // rejected contact the rewind would find it on that row already. The lookup itself goes
    // by the index of the held rows and gives the same row from wherever the set stands.
    if (prefixMoved && !(m_prefixSet.IsEOF() && m_prefixSet.IsBOF())) m_prefixSet.MoveFirst();
    if (!m_qsoSet.IsEOF() && !m_qsoSet.IsBOF()) m_qsoSet.MoveNext();
}

bool ExportRun::Reject(ExportCounters::Counter which) {
    Count(which);
    Advance(false);
    Count(ExportCounters::Total);
    return m_qsoSet.IsEOF();
}

// One pass tests the row the QSO recordset stands on at that moment. A rejected contact's
// advance step brings the next row in, which then faces only the tests that follow in the
// same pass: a contact that came in after a date rejection meets only the acceptance test,
// and if it fails that, the next pass starts with it.
void ExportRun::Walk(const RunSettings& settings, QsoRecordWriter& writer) {
    const std::string& oprCall = settings.m_strOprCall;
    const std::string& startDate = settings.m_strStartDate;
    const std::string& endDate = settings.m_strEndDate;
    const CmorvaskSet2& qso = m_qsoSet;

    while (!m_qsoSet.IsEOF()) {
        if (m_hooks.pump) m_hooks.pump();

        if (qso.m_QSO_VALID == 0 && qso.m_QSO_OPRCALL == oprCall) {
            if (Reject(ExportCounters::NotValid)) break;
        }
        if (qso.m_QSO_OPRCALL != oprCall) {
            if (m_hooks.otherOperator) m_hooks.otherOperator(qso.m_QSO_OPRCALL);
            if (Reject(ExportCounters::NotSameOprCall)) break;
        }
        if (qso.m_QSO_DATE < startDate || qso.m_QSO_DATE > endDate) {
            if (Reject(ExportCounters::NotDateRange)) break;
        }
        if (qso.m_QSO_VALID != 0 && qso.m_QSO_OPRCALL == oprCall && !(qso.m_QSO_DATE < startDate) &&
            !(qso.m_QSO_DATE > endDate)) {
            Count(ExportCounters::Valid);
            Count(ExportCounters::Total);
            writer.Write(qso, m_prefixSet);
            Advance(true);
        }
    }
}
