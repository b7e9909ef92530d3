#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestTables.h"

// A contact as the tests build it: ordinary values in the columns the export reads.
struct TestQso {
    std::string date = "20120115", time = "1200", call = "DL1ABC", prefix = "DL", mode = "2", submode,
                freq = "14025.50", band = "6", confirm = "0", qsls = "0", qslSentDate, valid = "1", award = "0",
                oprCall = "PA3ABC", qslRcvdDate;

    TestRow Row() const {
        static const std::vector<TestColumn> columns = QsoTableColumns();
        return NamedRow(columns,
                        {{"QSO-DATE", date},
                         {"QSO-TIME", time},
                         {"QSO-CALL", call},
                         {"QSO-PREFIX", prefix},
                         {"QSO-MODE", mode},
                         {"QSO-SUBMODE", submode},
                         {"QSO-FREQ", freq},
                         {"QSO-BAND", band},
                         {"QSO-CONFIRM", confirm},
                         {"QSO-QSLS", qsls},
                         {"QSO-QSL-SENT", qslSentDate},
                         {"QSO-VALID", valid},
                         {"QSO-AWARD", award},
                         {"QSO-OPRCALL", oprCall},
                         {"QSO-QSLRDATE", qslRcvdDate}},
                        std::string());
    }
};

inline TestRow PrefixRow(const std::string& prefix, const std::string& arrlId, const std::string& country = "") {
    static const std::vector<TestColumn> columns = PrefixTableColumns();
    return NamedRow(columns,
                    {{"PREFIX", prefix},
                     {"COUNTRY", country},
                     {"DEL-STATUS", "0"},
                     {"QSL-FIELD-CHECK", "0"},
                     {"QSL-BUREAU", "0"},
                     {"ARRL-ID", arrlId}},
                    std::string());
}
