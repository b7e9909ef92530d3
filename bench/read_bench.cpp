// Reads every QSO column of a log database through MdbEngine and times it next to
// `mdb-export <file> QSO-TAB > /dev/null`, the plain libmdb export of the same table; then
// counts the pages libmdb reads for one walk of the table, next to the pages of the file.
//
//     morvask-sampledb /tmp/big --contacts 200000
//     morvask-read-bench "/tmp/big/drive_c/Program Files/Qervel/Data/Qervel.mdb" [runs]
//
// morvask-sampledb prints where it wrote the log; its contacts include edited (moved)
// and deleted ones, as a real log has.
//
// Run by hand on a quiet machine; the figures go into the release notes, not into tests.

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/CDaoException.h"
#include "data/CmorvaskSet2.h"
#include "data/MdbDatabase.h"
#include "data/MdbEngine.h"
#include "data/MdbTableWalker.h"

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

// One walk of every column of the table in this process, with libmdb counting its page
// reads. Each page once is the least a walk can do; moved rows add two reads each.
unsigned long CountPageReads(const std::string& path, unsigned long& rows) {
    MdbDatabase::PrepareProcess();
    MdbDatabase db(path, std::size_t{1} << 20);
    MdbDatabase::TablePtr table = db.OpenTable("QSO-TAB");
    std::vector<int> columns;
    for (unsigned i = 0; i < table->num_cols; ++i) columns.push_back(static_cast<int>(i));
    mdb_stats_on(db.Handle());
    MdbTableWalker walker(db, table.get(), "QSO-TAB", columns);
    rows = walker.Walk([](const MdbTableWalker::Row&) { return true; });
    return db.Handle()->stats->pg_reads;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <log.mdb> [runs]\n", argv[0]);
        return 2;
    }
    std::string path = argv[1];
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<double> ours;
    std::vector<double> theirs;
    long rows = 0;
    std::size_t bytes = 0;
    unsigned long pageReads = 0;
    unsigned long walked = 0;
    try {
        for (int i = 0; i < runs; ++i) {
            ours.push_back(ReadThroughRecordset(path, rows, bytes));
            theirs.push_back(RunMdbExport(path));
        }
        pageReads = CountPageReads(path, walked);
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
    struct stat info {};
    const long filePages = ::stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size / 4096) : 0;
    std::printf("page reads      %lu for a walk of %lu rows; the file has %ld pages\n", pageReads, walked, filePages);
    return 0;
}
