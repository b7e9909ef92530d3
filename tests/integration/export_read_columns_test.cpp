#include <gtest/gtest.h>

#include <sstream>

#include "data/CExportDocument.h"
#include "data/MdbEngine.h"
#include "export/ExportRun.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"
#include "tools/sampledb/SampleInstallation.h"

namespace {

struct Export {
    std::string file;
    std::string trace;
    ExportCounters counts;
};

// Runs the export of source as the exporter does; allColumns first opens both recordsets
// with every bound column read, which the run then keeps.
Export RunExport(const std::string& source, const std::string& refdata, const std::string& output, bool allColumns) {
    MdbEngine engine;
    const RunSettings settings{source, refdata, output, "PA3ABC", "19451116", "20301231"};
    CExportDocument doc(engine, source, refdata);
    if (allColumns) {
        doc.m_morvaskSet.Open();
        doc.m_morvaskSet2.Open();
    }
    std::ostringstream trace;
    ExportRun run(doc.m_morvaskSet, doc.m_morvaskSet2);
    run.SetHooks({.trace = &trace});
    run.Run(settings);
    return {ReadFile(output), trace.str(), run.Counters()};
}

// The export reads a few of the 41 bound columns. On the shared sample and on a generated
// log with every kind of contact it must write the very bytes it writes with all of them
// read: a column that the rules or the record writer read but their lists lack would leave
// its member empty and change the file.
TEST(ExportReadColumns, OnlyTheListedColumnsGiveTheSameFileAsAllColumns) {
    EXPECT_LT(ExportRun::ReadColumns().size(), 20u) << "the export reads every column again";
    TempDir dir;
    SampleInstallation::Options options;
    options.contacts = 3000;
    const auto generated = SampleInstallation::Write(dir.File("generated"), options);
    const std::string sample = std::string(MORVASK_TEST_DATA) + "/sample";
    const std::pair<std::string, std::string> logs[] = {
        {sample + "/source.mdb", sample + "/Refdata.mdb"},
        {generated.logFile.string(), generated.refdataFile.string()},
    };
    for (const auto& [source, refdata] : logs) {
        const Export listed = RunExport(source, refdata, dir.File("listed.adi"), false);
        const Export all = RunExport(source, refdata, dir.File("all.adi"), true);
        // Contacts left out for each rule that reads a column: all those columns matter.
        EXPECT_GT(listed.counts.Count(ExportCounters::NotValid), 0) << source;
        EXPECT_GT(listed.counts.Count(ExportCounters::NotSameOprCall), 0) << source;
        EXPECT_GT(listed.file.size(), 1000u) << source;
        EXPECT_TRUE(listed.file == all.file) << source << ": the files differ";
        EXPECT_TRUE(listed.trace == all.trace) << source << ": the length traces differ";
    }
}

}  // namespace
