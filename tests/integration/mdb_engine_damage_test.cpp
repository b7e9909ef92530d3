#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "data/CDaoException.h"
#include "data/MdbEngine.h"
#include "data/VersionCheck.h"
#include "tests/support/MemoryEngine.h"
#include "tests/support/TempPrefix.h"

// Damaged and foreign files derived from the sample at test time. Each must end in a
// clear error of ours naming the file (or, for harmless damage, in all the rows), never in
// a crash, a hang, rows lost without a word, or anything printed by libmdb.

using namespace std::chrono_literals;

namespace {

const std::string kSource = std::string(MORVASK_TEST_DATA) + "/sample/source.mdb";
constexpr std::size_t kPage = 4096;
// Pages of the sample's QSO table: its definition and its data pages.
constexpr std::size_t kQsoDefinitionPage = 28;
constexpr std::size_t kFirstQsoDataPage = 30;
constexpr std::size_t kLastQsoDataPage = 48;

std::string Sample() {
    std::stringstream bytes;
    bytes << std::ifstream(kSource, std::ios::binary).rdbuf();
    return bytes.str();
}

// While it lives, this process's stdout and stderr go to a file, so that a test can see
// whether anything was printed.
class CapturedOutput {
public:
    explicit CapturedOutput(std::string file) : m_file(std::move(file)) {
        std::fflush(nullptr);
        int fd = ::open(m_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        for (int stream : {1, 2}) ::dup2(fd, stream);
        ::close(fd);
    }
    ~CapturedOutput() {
        Take();
        for (int fd : m_saved) ::close(fd);
    }
    std::string Take() {
        std::fflush(nullptr);
        for (int stream : {1, 2}) ::dup2(m_saved[stream - 1], stream);
        std::stringstream printed;
        printed << std::ifstream(m_file).rdbuf();
        return printed.str();
    }

private:
    std::string m_file;
    int m_saved[2] = {::dup(1), ::dup(2)};
};

// Reads the whole QSO table; returns the error text, or "" when the file read cleanly.
std::string TryRead(MdbEngine& engine, const std::string& path, long* rows = nullptr) {
    std::vector<ColumnRequest> columns;
    for (const auto& column : QsoTableColumns()) columns.push_back({column.name, column.kind, true});
    try {
        engine.OpenDatabase(path);
        auto cursor = engine.OpenTable(path, "QSO-TAB", columns);
        long count = 0;
        for (std::vector<std::string> values; cursor->Next(values);) ++count;
        if (rows) *rows = count;
    } catch (const CDaoException& e) {
        return e.what();
    }
    return "";
}

std::string Replaced(std::string bytes, std::size_t at, const std::string& with) {
    return bytes.replace(at, with.size(), with);
}

TEST(MdbEngineDamage, ForeignAndDamagedFilesGiveOurOwnClearError) {
    const std::string sample = Sample();
    ASSERT_EQ(sample.size() % kPage, 0u);
    std::mt19937 random(20121);
    std::string noise(16 * kPage, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    // The QSO table definition announces its row count at offset 16 of its page.
    const std::size_t rowCount = kQsoDefinitionPage * kPage + 16;
    struct Case {
        const char* name;
        std::string bytes;
        const char* expected;  // a piece of the error text
    };
    const Case cases[] = {
        {"zero length", "", "is not an Access database"},
        {"a text file", "QSO-DATE,QSO-CALL\n20120101,PA3ABC\n", "is not an Access database"},
        {"random bytes", noise, "is not an Access database"},
        {"unknown format version", Replaced(sample, 0x14, "\x42"), "is not an Access database"},
        {"only the first page", sample.substr(0, kPage), "is damaged"},
        {"cut inside a page", sample.substr(0, sample.size() - 100), "is damaged"},
        {"cut before the QSO pages", sample.substr(0, kFirstQsoDataPage * kPage), "is damaged"},
        {"cut before the last QSO page", sample.substr(0, kLastQsoDataPage * kPage), "is damaged"},
        {"QSO table definition zeroed", Replaced(sample, kQsoDefinitionPage * kPage, std::string(kPage, '\0')),
         "is damaged"},
        {"a data page zeroed", Replaced(sample, 33 * kPage, std::string(kPage, '\0')), "is damaged"},
        {"definition announces one row more than the pages hold", Replaced(sample, rowCount, "\x50"),
         "announces 80 rows but 79"},
        {"definition announces one row fewer than the pages hold", Replaced(sample, rowCount, "\x4e"),
         "more rows than the 78"},
    };
    TempPrefix dir;
    MdbEngine engine(MdbEngine::Limits{5s});
    for (const Case& c : cases) {
        const std::string path = dir.WriteFile("log.mdb", c.bytes);
        CapturedOutput output(dir.Root() + "/output.txt");
        const std::string error = TryRead(engine, path);
        EXPECT_EQ(output.Take(), "") << c.name << ": something reached stdout or stderr";
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find("'" + path + "'"), std::string::npos) << c.name << ": the error does not name the file";
    }
}

TEST(MdbEngineDamage, PathsThatAreNotFilesSayWhatIsWrong) {
    TempPrefix dir;
    MdbEngine engine;
    const std::string missing = dir.Root() + "/nowhere.mdb";
    EXPECT_NE(TryRead(engine, missing).find("Could not find file '" + missing + "'"), std::string::npos);
    EXPECT_NE(TryRead(engine, dir.Root()).find("is not an Access database"), std::string::npos);
    EXPECT_FALSE(CheckMdbVersion(engine, missing)) << "a missing file refuses the version, without an error";
}

TEST(MdbEngineDamage, FlippedBytesEndInAllRowsOrAClearErrorNeverACrashOrHang) {
    // First bytes flipped in each page of the QSO table, then in pages chosen at random.
    const std::string sample = Sample();
    std::vector<std::size_t> pages;
    for (unsigned seed = 0; seed < 4; ++seed) {
        pages.push_back(kQsoDefinitionPage);
        for (std::size_t page = kFirstQsoDataPage; page <= kLastQsoDataPage; ++page) pages.push_back(page);
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> anyPage(1, sample.size() / kPage - 1);
    while (pages.size() < 380) pages.push_back(anyPage(random));

    TempPrefix dir;
    MdbEngine engine(MdbEngine::Limits{3s});
    std::vector<std::string> failures;
    int errors = 0;
    CapturedOutput output(dir.Root() + "/output.txt");
    for (std::size_t mutant = 0; mutant < pages.size(); ++mutant) {
        std::string bytes = sample;
        std::uniform_int_distribution<std::size_t> offset(0, kPage - 1);
        for (std::size_t flips = 1 + random() % 40; flips > 0; --flips)
            bytes[pages[mutant] * kPage + offset(random)] ^= static_cast<char>(0xFF);
        const std::string path = dir.WriteFile("log.mdb", bytes);
        long rows = 0;
        const std::string error = TryRead(engine, path, &rows);
        errors += !error.empty();
        if (error.empty() ? rows != 79 : error.find(path) == std::string::npos)
            failures.push_back("page " + std::to_string(pages[mutant]) + ": " + std::to_string(rows) + " rows, " + error);
        (void)CheckMdbVersion(engine, path);
    }
    EXPECT_EQ(output.Take(), "") << "libmdb printed something";
    EXPECT_EQ(failures, std::vector<std::string>{});
    EXPECT_GT(errors, 0) << "no mutant was noticed at all";
}

}  // namespace
