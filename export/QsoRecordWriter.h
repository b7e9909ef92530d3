#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "export/AdifWriter.h"

class CMorvaskSet;
class CmorvaskSet2;

// Writes one accepted contact as an ADIF record: call, date, time and operator as stored,
// the QSL and LoTW states, band and mode, the two QSL dates when present, the DXCC entity
// of the contact's prefix and the frequency in MHz when it has one.
class QsoRecordWriter {
public:
    QsoRecordWriter(LineSink& out, std::ostream* trace);

    void WriteHeader() { m_adif.WriteHeader(); }
    // Writes the contact on which qso stands, with the entity that prefixes gives for its prefix.
    void Write(const CmorvaskSet2& qso, const CMorvaskSet& prefixes);

    // The columns of "QSO-TAB" that Write reads.
    static std::vector<std::string> ReadColumns();

    // The derived values of the contact written last, each set afresh for every contact.
    std::string m_strQslRcvd;
    std::string m_strLotwQslRcvd;
    std::string m_strQslSent;
    std::string m_strLotwQslSent;
    std::string m_strBand;
    std::string m_strMode;
    std::string m_strFreq;

private:
    AdifWriter m_adif;
};
