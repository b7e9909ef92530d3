#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "data/CDaoException.h"
#include "data/MdbEngine.h"
#include "data/VersionCheck.h"
#include "tests/support/MemoryEngine.h"

// Damaged and foreign files derived from the sample at test time. Each must end in a
// clear error of ours (or, for harmless damage, in rows), never in a crash, a hang or
// anything printed by libmdb.

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kSource = std::string(MORVASK_TEST_DATA) + "/sample/source.mdb";
constexpr std::size_t kPage = 4096;
// Pages of the sample's QSO table: its definition and its data pages.
constexpr std::size_t kQsoDefinitionPage = 28;
constexpr std::size_t kFirstQsoDataPage = 30;
constexpr std::size_t kLastQsoDataPage = 48;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "morvask-mdb-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::string path = (m_path / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

// Sends this process's stdout and stderr to a file while it lives, so a test can see
// whether anything was printed.
class CapturedOutput {
public:
    explicit CapturedOutput(const std::string& file) : m_file(file) {
        std::fflush(stdout);
        std::fflush(stderr);
        m_savedOut = ::dup(STDOUT_FILENO);
        m_savedErr = ::dup(STDERR_FILENO);
        int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~CapturedOutput() { Restore(); }
    std::string Take() {
        Restore();
        return ReadFile(m_file);
    }

private:
    void Restore() {
        if (m_savedOut < 0) return;
        std::fflush(stdout);
        std::fflush(stderr);
        ::dup2(m_savedOut, STDOUT_FILENO);
        ::dup2(m_savedErr, STDERR_FILENO);
        ::close(m_savedOut);
        ::close(m_savedErr);
        m_savedOut = m_savedErr = -1;
    }
    std::string m_file;
    int m_savedOut = -1;
    int m_savedErr = -1;
};

MdbEngine::Limits QuickLimits() {
    MdbEngine::Limits limits;
    limits.noProgressTimeout = 5s;
    return limits;
}

std::vector<ColumnRequest> AllQsoColumns() {
    std::vector<ColumnRequest> columns;
    for (const auto& column : QsoTableColumns()) columns.push_back({column.name, column.kind, true});
    return columns;
}

// Reads the whole QSO table; returns the error text, or "" when the file read cleanly.
std::string TryRead(MdbEngine& engine, const std::string& path, long* rows = nullptr) {
    try {
        engine.OpenDatabase(path);
        auto cursor = engine.OpenTable(path, "QSO-TAB", AllQsoColumns());
        std::vector<std::string> values;
        long count = 0;
        while (cursor->Next(values)) ++count;
        if (rows) *rows = count;
    } catch (const CDaoException& e) {
        return e.what();
    }
    return "";
}

std::string FlipBytes(std::string bytes, std::size_t page, std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> offset(0, kPage - 1);
    for (std::size_t i = 0; i < count; ++i) bytes[page * kPage + offset(random)] ^= static_cast<char>(0xFF);
    return bytes;
}

struct DamageCase {
    const char* name;
    std::string bytes;
    const char* expected;  // a piece of the error text
};

TEST(MdbEngineDamage, ForeignAndDamagedFilesGiveOurOwnClearError) {
    const std::string sample = ReadFile(kSource);
    ASSERT_EQ(sample.size() % kPage, 0u);
    std::mt19937 random(20121);
    std::string noise(16 * kPage, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    std::string jetHeaderOnly = sample.substr(0, kPage);
    // The QSO table definition announces its row count at offset 16 of its page.
    auto announcing = [&](char rows) {
        std::string bytes = sample;
        bytes[kQsoDefinitionPage * kPage + 16] = rows;
        return bytes;
    };
    std::string unknownVersion = sample;
    unknownVersion[0x14] = 0x42;

    const DamageCase cases[] = {
        {"zero length", "", "is not an Access database"},
        {"a text file", "QSO-DATE,QSO-CALL\n20120101,PA3ABC\n", "is not an Access database"},
        {"random bytes", noise, "is not an Access database"},
        {"unknown format version", unknownVersion, "is not an Access database"},
        {"only the first page", jetHeaderOnly, "is damaged"},
        {"cut inside a page", sample.substr(0, sample.size() - 100), "is damaged"},
        {"cut before the QSO pages", sample.substr(0, kFirstQsoDataPage * kPage), "is damaged"},
        {"cut before the last QSO page", sample.substr(0, kLastQsoDataPage * kPage), "is damaged"},
        {"QSO table definition zeroed",
         sample.substr(0, kQsoDefinitionPage * kPage) + std::string(kPage, '\0') +
             sample.substr((kQsoDefinitionPage + 1) * kPage),
         "is damaged"},
        {"definition announces one row more than the pages hold", announcing(80), "announces 80 rows but 79"},
        {"definition announces one row fewer than the pages hold", announcing(78), "more rows than the 78"},
        {"a data page zeroed",
         sample.substr(0, 33 * kPage) + std::string(kPage, '\0') + sample.substr(34 * kPage), "is damaged"},
    };
    TempDir dir;
    MdbEngine engine(QuickLimits());
    for (const DamageCase& c : cases) {
        std::string path = dir.Write("log.mdb", c.bytes);
        CapturedOutput output((dir.Path() / "output.txt").string());
        std::string error = TryRead(engine, path);
        std::string printed = output.Take();
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find(path), std::string::npos) << c.name << ": the error does not name the file";
        EXPECT_EQ(printed, "") << c.name << ": something reached stdout or stderr";
    }
}

TEST(MdbEngineDamage, PathsThatAreNotFilesSayWhatIsWrong) {
    TempDir dir;
    MdbEngine engine;
    std::string missing = (dir.Path() / "nowhere.mdb").string();
    EXPECT_NE(TryRead(engine, missing).find("Could not find file '" + missing + "'"), std::string::npos);
    EXPECT_NE(TryRead(engine, dir.Path().string()).find("is not an Access database"), std::string::npos);
    EXPECT_FALSE(CheckMdbVersion(engine, missing)) << "a missing file refuses the version, without an error";
}

TEST(MdbEngineDamage, FlippedBytesInTablePagesEndInRowsOrAClearError) {
    const std::string sample = ReadFile(kSource);
    TempDir dir;
    MdbEngine engine(QuickLimits());
    std::vector<std::size_t> pages{kQsoDefinitionPage};
    for (std::size_t page = kFirstQsoDataPage; page <= kLastQsoDataPage; ++page) pages.push_back(page);
    int errors = 0;
    for (std::size_t page : pages) {
        for (unsigned seed = 0; seed < 4; ++seed) {
            std::string path = dir.Write("log.mdb", FlipBytes(sample, page, 8 + seed * 8, seed));
            CapturedOutput output((dir.Path() / "output.txt").string());
            long rows = 0;
            std::string error = TryRead(engine, path, &rows);
            EXPECT_EQ(output.Take(), "") << "page " << page << " seed " << seed;
            if (error.empty()) {
                EXPECT_EQ(rows, 79) << "page " << page << " seed " << seed << ": rows lost without an error";
            } else {
                ++errors;
                EXPECT_NE(error.find(path), std::string::npos) << error;
            }
        }
    }
    EXPECT_GT(errors, 0) << "no mutant was noticed at all";
}

TEST(MdbEngineDamage, SeededRandomMutantsNeverCrashOrHang) {
    const std::string sample = ReadFile(kSource);
    TempDir dir;
    MdbEngine::Limits limits;
    limits.noProgressTimeout = 3s;
    MdbEngine engine(limits);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> page(1, sample.size() / kPage - 1);
    std::uniform_int_distribution<int> flips(1, 40);
    std::vector<std::string> failures;
    CapturedOutput output((dir.Path() / "output.txt").string());
    for (int mutant = 0; mutant < 300; ++mutant) {
        std::string bytes = FlipBytes(sample, page(random), static_cast<std::size_t>(flips(random)),
                                      static_cast<unsigned>(random()));
        std::string path = dir.Write("log.mdb", bytes);
        long rows = 0;
        std::string error = TryRead(engine, path, &rows);
        // Either outcome is fine, as long as rows are not lost without a word.
        if (error.empty() ? rows != 79 : error.find(path) == std::string::npos)
            failures.push_back("mutant " + std::to_string(mutant) + ": " + std::to_string(rows) + " rows, " + error);
        (void)CheckMdbVersion(engine, path);
    }
    EXPECT_EQ(output.Take(), "") << "libmdb printed something";
    EXPECT_EQ(failures, std::vector<std::string>{});
}

TEST(MdbEngineDamage, VersionCheckOnCopiesOfTheSampleWithAnotherVersion) {
    // The sample's VERSION row holds "6" as one uncompressed UTF-16 character.
    const std::string sample = ReadFile(kSource);
    const std::string row("\x01\x00\x36\x00\x04\x00", 6);
    std::size_t at = sample.find(row);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(sample.find(row, at + 1), std::string::npos);
    struct Case {
        const char* name;
        char digit;
        bool accepted;
    };
    const Case cases[] = {{"7", '7', true}, {"5", '5', false}, {"a letter", 'A', false}, {"a blank", ' ', false}};
    TempDir dir;
    MdbEngine engine;
    for (const Case& c : cases) {
        std::string bytes = sample;
        bytes[at + 2] = c.digit;
        EXPECT_EQ(CheckMdbVersion(engine, dir.Write("log.mdb", bytes)), c.accepted) << c.name;
    }
    EXPECT_TRUE(CheckMdbVersion(engine, kSource));
    EXPECT_FALSE(CheckMdbVersion(engine, std::string(MORVASK_TEST_DATA) + "/sample/Refdata.mdb"))
        << "a database without a VERSION table";
}

}  // namespace
