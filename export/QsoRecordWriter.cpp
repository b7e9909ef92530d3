#include "export/QsoRecordWriter.h"

#include "data/CMorvaskSet.h"
#include "data/CmorvaskSet2.h"
#include "export/BandModeFreq.h"
#include "export/QslStatus.h"

QsoRecordWriter::QsoRecordWriter(LineSink& out, std::ostream* trace) : m_adif(out, trace) {}

std::vector<std::string> QsoRecordWriter::ReadColumns() {
    return {"QSO-CONFIRM", "QSO-AWARD", "QSO-QSLS",    "QSO-BAND",     "QSO-MODE",     "QSO-SUBMODE", "QSO-CALL",
            "QSO-DATE",    "QSO-TIME",  "QSO-OPRCALL", "QSO-QSLRDATE", "QSO-QSL-SENT", "QSO-PREFIX",  "QSO-FREQ"};
}

void QsoRecordWriter::Write(const CmorvaskSet2& qso, const CMorvaskSet& prefixes) {
    QslStatus::States received = QslStatus::Received(qso.m_QSO_CONFIRM, qso.m_QSO_AWARD);
    QslStatus::States sent = QslStatus::Sent(qso.m_QSO_QSLS);
    m_strQslRcvd.assign(received.qsl);
    m_strLotwQslRcvd.assign(received.lotw);
    m_strQslSent.assign(sent.qsl);
    m_strLotwQslSent.assign(sent.lotw);
    m_strBand.assign(BandModeFreq::Band(qso.m_QSO_BAND));
    m_strMode.assign(BandModeFreq::Mode(qso.m_QSO_MODE, qso.m_QSO_SUBMODE));

    m_adif.WriteCounted("<CALL:", qso.m_QSO_CALL);
    m_adif.WriteDate("<QSO_DATE:", qso.m_QSO_DATE);
    m_adif.WriteCounted("<TIME_ON:", qso.m_QSO_TIME);
    m_adif.WriteCounted("<OPERATOR:", qso.m_QSO_OPRCALL);
    m_adif.WriteCounted("<QSL_RCVD:", m_strQslRcvd);
    m_adif.WriteCounted("<LOTW_QSL_RCVD:", m_strLotwQslRcvd);
    m_adif.WriteCounted("<BAND:", m_strBand);
    m_adif.WriteCounted("<MODE:", m_strMode);
    m_adif.WriteCounted("<QSL_SENT:", m_strQslSent);
    m_adif.WriteCounted("<LOTW_QSL_SENT:", m_strLotwQslSent);
    if (!qso.m_QSO_QSLRDATE.empty()) m_adif.WriteDate("<QSLRDATE:", qso.m_QSO_QSLRDATE);
    if (!qso.m_QSO_QSL_SENT.empty()) m_adif.WriteDate("<QSLSDATE:", qso.m_QSO_QSL_SENT);
    // A prefix without a row in the table has no entity: the field is written empty
    // rather than with whatever row the lookup stopped on.
    const std::string* arrlId = prefixes.FindArrlId(qso.m_QSO_PREFIX);
    m_adif.WriteCounted("<DXCC:", arrlId ? std::string_view(*arrlId) : std::string_view());
    if (BandModeFreq::Freq(qso.m_QSO_FREQ, m_strFreq)) {
        m_adif.WriteCounted("<FREQ:", m_strFreq);
    } else {
        m_strFreq.clear();
    }
    m_adif.WriteRecordEnd();
}
