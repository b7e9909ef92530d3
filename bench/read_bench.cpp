// Reads every QSO column of a log database through MdbEngine and times it next to
// `mdb-export <file> QSO-TAB > /dev/null`, the plain libmdb export of the same table.
//
//     morvask-read-bench big.mdb [runs]
//     morvask-read-bench --make big.mdb [contacts]   (writes a log of that many contacts)
//
// A log with edited and deleted contacts comes from `morvask-sampledb PREFIX --contacts N`.
//
// Run by hand on a quiet machine; the figures go into the release notes, not into tests.

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/CDaoException.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbEngine.h"
#include "tools/mdbwriter/DatabaseWriter.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Walks the table as the export does, through the recordset and all 41 members.
double ReadThroughRecordset(const std::string& path, long& rows, std::size_t& bytes) {
    MdbEngine engine;
    CmorvaskSet2 qso(engine, [&] { return path; });
    auto start = Clock::now();
    qso.Open();
    rows = 0;
    bytes = 0;
    for (; !qso.IsEOF(); qso.MoveNext()) {
        ++rows;
        bytes += qso.m_QSO_CALL.size() + qso.m_QSO_NOTE.size() + qso.m_QSO_DATE.size();
    }
    qso.Close();
    return Seconds(Clock::now() - start);
}

double RunMdbExport(const std::string& path) {
    std::string command = "mdb-export '" + path + "' QSO-TAB > /dev/null";
    auto start = Clock::now();
    int status = std::system(command.c_str());
    double seconds = Seconds(Clock::now() - start);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "mdb-export failed on %s\n", path.c_str());
        return -1;
    }
    return seconds;
}

// A log shaped like a busy station's: every column of the QSO table, the usual values,
// a short note on every third contact.
void MakeLog(const std::string& path, long contacts) {
    static const char* const kModes[] = {"CW", "SSB", "FT8", "RTTY", "PSK31"};
    static const char* const kBands[] = {"20", "40", "15", "10", "80"};
    static const char* const kLongColumns[] = {"QSO-VALID", "QSO-AWARD", "QSO-SELECT", "QSO-CATEGORY", "QSO-NUMBER"};
    static const char* const kNames[] = {
        "QSO-DATE", "QSO-TIME", "QSO-CALL", "QSO-RSTS", "QSO-RSTR", "QSO-NAME", "QSO-QTH", "QSO-NOTE", "QSO-PREFIX",
        "QSO-CQ-ZONE", "QSO-ITU-ZONE", "QSO-MODE", "QSO-SUBMODE", "QSO-FREQ", "QSO-BAND", "QSO-WPX", "QSO-STATE",
        "QSO-COUNTY", "QSO-IOTA", "QSO-GRID", "QSO-TEN-TEN", "QSO-SPEC1", "QSO-SPEC2", "QSO-CONFIRM", "QSO-QSLS",
        "QSO-QSL-SENT", "QSO-QSL-VIA", "QSO-MGR-NUMB", "QSO-VALID", "QSO-AWARD", "QSO-SELECT", "QSO-CATEGORY",
        "QSO-SAT", "QSO-QSL-NUMBER", "QSO-NUMBER", "QSO-OPRCALL", "QSO-QSLRDATE", "QSO-POWER", "QSO-LOTWREC",
        "QSO-ENDTIME", "QSO-SATMODE"};
    std::vector<jet::Column> columns;
    for (const char* name : kNames) {
        bool isLong = std::find_if(std::begin(kLongColumns), std::end(kLongColumns), [&](const char* l) {
                          return std::string(l) == name;
                      }) != std::end(kLongColumns);
        columns.push_back(isLong ? jet::Column::Long(name) : jet::Column::Text(name));
    }
    jet::DatabaseWriter db(path);
    db.AddTable("VERSION", {jet::Column::Text("VER")}).AddRow({std::string("6")});
    auto& qso = db.AddTable("QSO-TAB", columns);
    for (long n = 1; n <= contacts; ++n) {
        auto i = static_cast<std::size_t>(n);
        char date[16];
        char time[8];
        char freq[16];
        std::snprintf(date, sizeof date, "%04ld%02ld%02ld", 1995 + n % 30, 1 + n % 12, 1 + n % 28);
        std::snprintf(time, sizeof time, "%02ld%02ld", n % 24, n % 60);
        std::snprintf(freq, sizeof freq, "%ld.%02ld", 7000 + n % 7000, n % 100);
        jet::Row row(columns.size());
        row[0] = std::string(date);
        row[1] = std::string(time);
        row[2] = "DL" + std::to_string(n % 10) + "AB" + static_cast<char>('A' + n % 26);
        row[3] = std::string("599");
        row[4] = std::string("579");
        row[5] = std::string("Hans");
        row[6] = std::string("Hamburg");
        if (n % 3 == 0) row[7] = std::string("QSL via bureau, thanks for the contact");
        row[8] = std::string("DL");
        row[9] = std::string("14");
        row[10] = std::string("28");
        row[11] = std::string(kModes[i % 5]);
        row[13] = std::string(freq);
        row[14] = std::string(kBands[i % 5]);
        row[15] = std::string("DL1");
        row[19] = std::string("JO43");
        row[23] = std::string(n % 2 ? "1" : "0");
        row[24] = std::string("3");
        row[25] = std::string("20120201");
        row[28] = std::int64_t{n % 10 ? 1 : 0};
        row[29] = std::int64_t{230};
        row[30] = std::int64_t{0};
        row[31] = std::int64_t{0};
        row[34] = std::int64_t{n};
        row[35] = std::string("PA3ABC");
        row[37] = std::string("100");
        qso.AddRow(row);
    }
    db.Close();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <log.mdb> [runs] | --make <log.mdb> [contacts]\n", argv[0]);
        return 2;
    }
    if (std::string(argv[1]) == "--make" && argc > 2) {
        MakeLog(argv[2], argc > 3 ? std::atol(argv[3]) : 200000);
        return 0;
    }
    std::string path = argv[1];
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<double> ours;
    std::vector<double> theirs;
    long rows = 0;
    std::size_t bytes = 0;
    try {
        for (int i = 0; i < runs; ++i) {
            ours.push_back(ReadThroughRecordset(path, rows, bytes));
            theirs.push_back(RunMdbExport(path));
        }
    } catch (const CDaoException& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    double a = Median(ours);
    double b = Median(theirs);
    std::printf("file            %s\n", path.c_str());
    std::printf("rows read       %ld (41 columns, %zu bytes in three of them)\n", rows, bytes);
    std::printf("MdbEngine       %.3f s (median of %d)\n", a, runs);
    std::printf("mdb-export      %.3f s (median of %d)\n", b, runs);
    if (b > 0) std::printf("ratio           %.2f (below 1.00 is faster than mdb-export)\n", a / b);
    return 0;
}
