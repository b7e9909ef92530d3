#pragma once

#include <string>
#include <vector>

#include "settings/RunSettings.h"

class CmorvaskSet2;

// The three rules by which the walk turns a contact away, and the acceptance they leave,
// for the operator call and the date range of one run. Texts compare whole, byte for byte
// and case-sensitive; dates compare as text, so both ends belong to the range.
class QsoSelection {
public:
    explicit QsoSelection(const RunSettings& settings);

    // A contact of this run's operator whose "[QSO-VALID]" is 0.
    bool IsNotValid(const CmorvaskSet2& qso) const;
    // A contact whose "[QSO-OPRCALL]" is not this run's operator call.
    bool IsOtherOperator(const CmorvaskSet2& qso) const;
    // A contact whose "[QSO-DATE]" sorts before the start date or after the end date.
    bool IsOutsideDateRange(const CmorvaskSet2& qso) const;
    // A contact that none of the three rules turns away.
    bool IsAccepted(const CmorvaskSet2& qso) const {
        return !IsNotValid(qso) && !IsOtherOperator(qso) && !IsOutsideDateRange(qso);
    }

    // The columns of "QSO-TAB" the rules read.
    static std::vector<std::string> ReadColumns() { return {"QSO-VALID", "QSO-OPRCALL", "QSO-DATE"}; }

private:
    std::string m_oprCall;
    std::string m_startDate;
    std::string m_endDate;
};
