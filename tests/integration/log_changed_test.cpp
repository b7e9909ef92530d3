#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <sstream>

#include "cli/ExportCommand.h"
#include "cli/ExportOptions.h"
#include "data/MdbEngine.h"
#include "export/ExportCounters.h"
#include "tests/unit/ExportTestSupport.h"
#include "tools/sampledb/SampleInstallation.h"

// Qervel saves contacts into its log while it runs beside us. An upload file must be the
// export of one state of the log: never old contacts beside new ones, never a log called
// damaged because it changed under the reader. The log here is a real Access file from the
// sample writer, changed in place at chosen passes of a real export, as Jet writes its pages.

namespace {

struct Outcome {
    int code = -1;
    std::string out, err;
};

// morvask-export's work in this process; onPass sees the counts at every pass of every walk.
Outcome Export(const std::string& log, const std::string& refdata, const std::string& adi,
               std::function<void(const ExportCounters&)> onPass = nullptr, DbEngine* through = nullptr) {
    MdbEngine mdb;
    DbEngine& engine = through ? *through : mdb;
    std::ostringstream out, err;
    ExportCommand command(engine, out, err, std::nullopt, WinePrefix(""));
    command.SetPassObserver(std::move(onPass));
    const int code = command.Run(
        ExportOptions::Parse({"--source", log, "--refdata", refdata, "--output", adi, "--oprcall", "PA3ABC"}));
    return {code, out.str(), err.str()};
}

// The file's bytes replaced in place: the same file, written over and cut to the new length.
void Overwrite(const std::string& path, const std::string& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(bytes.size())), 0);
    close(fd);
}

std::size_t Occurrences(const std::string& haystack, const std::string& needle) {
    std::size_t count = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++count;
    return count;
}

// The calls of the written contacts, in file order.
std::vector<std::string> Calls(const std::string& adif) {
    std::vector<std::string> calls;
    for (std::size_t at = adif.find("<CALL:"); at != std::string::npos; at = adif.find("<CALL:", at + 1)) {
        const std::size_t close = adif.find('>', at);
        calls.push_back(adif.substr(close + 1, std::stoul(adif.substr(at + 6, close - at - 6))));
    }
    return calls;
}

// Reads through libmdb, but while the log's version is read Qervel is saving it: the file is
// cut to its first page under the reader, then written whole as the next of `states`.
class SavedWhileVersionRead : public DbEngine {
public:
    SavedWhileVersionRead(std::string log, std::vector<const std::string*> states)
        : m_log(std::move(log)), m_states(std::move(states)) {}

    void OpenDatabase(const std::string& path) override { m_mdb.OpenDatabase(path); }
    std::unique_ptr<RowCursor> OpenTable(const std::string& path, const std::string& table,
                                         const std::vector<ColumnRequest>& columns) override {
        return m_mdb.OpenTable(path, table, columns);
    }
    std::optional<std::string> ReadFirstValue(const std::string& path, const std::string& table) override {
        if (m_states.empty()) return m_mdb.ReadFirstValue(path, table);
        const std::string& saved = *m_states.front();
        m_states.erase(m_states.begin());
        ++saves;
        Overwrite(m_log, saved.substr(0, 4096));
        std::optional<std::string> value;
        try {
            value = m_mdb.ReadFirstValue(path, table);
        } catch (...) {
            Overwrite(m_log, saved);
            throw;
        }
        Overwrite(m_log, saved);
        return value;
    }

    int saves = 0;

private:
    MdbEngine m_mdb;
    std::string m_log;
    std::vector<const std::string*> m_states;
};

// The log in three states: as written, with one early and one late call edited in place
// (same size, as Qervel saves an edited contact), and another, smaller log that Qervel's
// compacting would leave at the same path.
class LogChanged : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_files = new TempDir;
        SampleInstallation::Options options;
        options.contacts = 20000;
        const auto original = SampleInstallation::Write(s_files->File("original"), options);
        s_refdata = original.refdataFile.string();
        s_live = original.contactsLive;
        s_original = ReadFile(original.logFile.string());
        options.contacts = 3000;
        options.seed = 2;
        s_compacted = ReadFile(SampleInstallation::Write(s_files->File("compacted"), options).logFile.string());

        s_adifOriginal = ExportOf(s_original);
        s_adifCompacted = ExportOf(s_compacted);
        // An early and a late written call that the file holds once, compressed as Jet keeps
        // short texts; each gets another last letter.
        s_edited = s_original;
        const std::vector<std::string> calls = Calls(s_adifOriginal);
        std::vector<std::string> chosen;
        for (int late = 0; late < 2; ++late) {
            for (std::size_t i = 0; i < calls.size(); ++i) {
                const std::string& call = calls[late ? calls.size() - 1 - i : i];
                const std::string stored = "\xff\xfe" + call;
                if (Occurrences(s_original, stored) != 1 || Occurrences(s_adifOriginal, ">" + call + "\r\n") != 1)
                    continue;
                const std::size_t at = s_edited.find(stored) + stored.size() - 1;
                s_edited[at] = s_edited[at] == 'Q' ? 'X' : 'Q';
                chosen.push_back(call);
                break;
            }
        }
        ASSERT_EQ(chosen.size(), 2u) << "no call to edit";
        s_adifEdited = ExportOf(s_edited);
        ASSERT_NE(s_adifEdited, s_adifOriginal);
    }
    static void TearDownTestSuite() {
        delete s_files;
        s_files = nullptr;
    }

    static std::string ExportOf(const std::string& logBytes) {
        TempDir dir;
        WriteFile(dir.File("Qervel.mdb"), logBytes);
        const Outcome done = Export(dir.File("Qervel.mdb"), s_refdata, dir.File("out.adi"));
        EXPECT_EQ(done.code, 0) << done.err;
        return ReadFile(dir.File("out.adi"));
    }

    // The passes at which the log is changed: at the first row, early, halfway, at the last.
    static std::vector<long> Moments() { return {0, 1, s_live / 2, s_live - 1}; }

    static TempDir* s_files;
    static std::string s_refdata, s_original, s_edited, s_compacted, s_adifOriginal, s_adifEdited, s_adifCompacted;
    static long s_live;
};

TempDir* LogChanged::s_files = nullptr;
std::string LogChanged::s_refdata, LogChanged::s_original, LogChanged::s_edited, LogChanged::s_compacted,
    LogChanged::s_adifOriginal, LogChanged::s_adifEdited, LogChanged::s_adifCompacted;
long LogChanged::s_live = 0;

const std::string kEarlier = "an earlier upload file\r\n";

// Changes the log to each of `states` in turn, once per walk, when a walk reaches `moment`.
std::function<void(const ExportCounters&)> ChangeAt(long moment, const std::string& log,
                                                    std::vector<const std::string*> states, int& changes) {
    return [=, &changes, last = -1L, changedThisWalk = false](const ExportCounters& counts) mutable {
        const long total = counts.Count(ExportCounters::Total);
        if (total < last) changedThisWalk = false;  // a new walk began
        last = total;
        if (changedThisWalk || total < moment || states.empty()) return;
        Overwrite(log, *states.front());
        states.erase(states.begin());
        changedThisWalk = true;
        ++changes;
    };
}

// Two calls edited in place during the export, one early in the file and one late: at most
// moments the exporter once ended with exit 0 and a file holding the old early call beside
// the new late one, a log that never existed. Now the walk that saw the change is made
// again, and the file is the export of the log as it was saved.
TEST_F(LogChanged, AContactSavedDuringTheExportGivesTheExportOfTheSavedLog) {
    for (const long moment : Moments()) {
        SCOPED_TRACE("changed at total " + std::to_string(moment));
        TempDir dir, out;
        const std::string log = dir.File("Qervel.mdb"), adi = out.File("adiUpld2Morvask.adi");
        WriteFile(log, s_original);
        WriteFile(adi, kEarlier);
        int changes = 0;
        const Outcome done = Export(log, s_refdata, adi, ChangeAt(moment, log, {&s_edited}, changes));
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(done.code, 0) << done.err;
        EXPECT_EQ(done.err, "");
        EXPECT_TRUE(ReadFile(adi) == s_adifEdited) << "not the export of the saved log";
        EXPECT_EQ(out.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
    }
}

// A log rewritten whole under the reader, here by a smaller one as compacting leaves it,
// reads as cut short; it was once reported as damaged, with the advice to repair it. It is
// read again as it now stands.
TEST_F(LogChanged, ALogRewrittenDuringTheReadIsReadAgainNotCalledDamaged) {
    for (const long moment : {1L, s_live / 2}) {
        SCOPED_TRACE("rewritten at total " + std::to_string(moment));
        TempDir dir, out;
        const std::string log = dir.File("Qervel.mdb"), adi = out.File("adiUpld2Morvask.adi");
        WriteFile(log, s_original);
        int changes = 0;
        const Outcome done = Export(log, s_refdata, adi, ChangeAt(moment, log, {&s_compacted}, changes));
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(done.code, 0) << done.err;
        EXPECT_TRUE(ReadFile(adi) == s_adifCompacted) << "not the export of the rewritten log";
    }
}

// A log that changes during every walk fails the run after the third: exit 1, one line
// saying that the log changed while it was read and what to do, never "damaged"; the earlier
// file stands and nothing else is left. With Qervel's lock file beside the log, it says that
// Qervel has the log open.
TEST_F(LogChanged, ALogThatKeepsChangingFailsTheRunAndKeepsTheEarlierFile) {
    const struct {
        const char* name;
        long moment;
        std::vector<const std::string*> states;
        bool lockFile;
    } cases[] = {
        {"edited at the first row", 0, {&s_edited, &s_original, &s_edited}, false},
        {"edited at the last row, Qervel's lock file beside", s_live - 1, {&s_edited, &s_original, &s_edited}, true},
        {"rewritten early", 1, {&s_compacted, &s_original, &s_compacted}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir, out;
        const std::string log = dir.File("Qervel.mdb"), adi = out.File("adiUpld2Morvask.adi");
        WriteFile(log, s_original);
        if (c.lockFile) WriteFile(dir.File("Qervel.ldb"), "");
        WriteFile(adi, kEarlier);
        int changes = 0;
        const Outcome done = Export(log, s_refdata, adi, ChangeAt(c.moment, log, c.states, changes));
        EXPECT_EQ(changes, 3);
        EXPECT_EQ(done.code, 1);
        EXPECT_EQ(done.out, "");
        const std::string opened =
            c.lockFile ? ": Qervel has it open (its lock file '" + dir.File("Qervel.ldb") + "' is there) and is saving "
                         "contacts."
                       : " (Qervel saving contacts).";
        EXPECT_EQ(done.err, "The database '" + log + "' changed while it was being read, 3 times in a row" + opened +
                                " The ADIF file was not made; an earlier one is left as it was. Make the file again, "
                                "or close Qervel first.\n");
        EXPECT_EQ(ReadFile(adi), kEarlier);
        EXPECT_EQ(out.Entries(), std::vector<std::string>{"adiUpld2Morvask.adi"});
    }
}

// The version check reads the log too: one saved while its version was read was once
// refused with "Qervel - mdb file version error", its version table cut short. It is read
// again, and a log saved at every reading is said to change, as during the walk.
TEST_F(LogChanged, ALogSavedWhileItsVersionIsReadIsReadAgain) {
    for (const int saves : {1, 3}) {
        SCOPED_TRACE(std::to_string(saves) + " saves");
        TempDir dir, out;
        const std::string log = dir.File("Qervel.mdb"), adi = out.File("adiUpld2Morvask.adi");
        WriteFile(log, s_original);
        WriteFile(adi, kEarlier);
        SavedWhileVersionRead engine(log, std::vector<const std::string*>(saves, &s_original));
        const Outcome done = Export(log, s_refdata, adi, nullptr, &engine);
        EXPECT_EQ(engine.saves, saves);
        if (saves < 3) {
            EXPECT_EQ(done.code, 0) << done.err;
            EXPECT_TRUE(ReadFile(adi) == s_adifOriginal);
        } else {
            EXPECT_EQ(done.code, 1);
            EXPECT_EQ(done.err, "The database '" + log +
                                    "' changed while it was being read, 3 times in a row (Qervel saving contacts). The "
                                    "ADIF file was not made; an earlier one is left as it was. Make the file again, or "
                                    "close Qervel first.\n");
            EXPECT_EQ(ReadFile(adi), kEarlier);
        }
    }
}

}  // namespace
