#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TempPrefix.h"
#include "tools/mdbwriter/DatabaseWriter.h"

// Deleted and moved rows must sit on the pages exactly as Access leaves them, so that the
// reader's walk can be tested on files we make. The shared sample log, written by an
// independent Access writer, is the yardstick.

namespace {

using jet::Column;
using jet::RowMark;
using jet::Value;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

unsigned U16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}
unsigned U32(const std::string& b, std::size_t at) { return U16(b, at) | (U16(b, at + 2) << 16); }

// What the row-offset tables of one table's data pages hold.
struct Census {
    int plain = 0;         // no flag
    int deleted = 0;       // both flags over the row's own bytes
    int moved = 0;         // 0x4000 over a pointer
    int movedDeleted = 0;  // both flags over a pointer
    int movedData = 0;     // 0x8000: the data a pointer leads to
    unsigned announced = 0;  // the row count in the table definition
    std::vector<std::string> faults;
};

// Looks at the table whose definition is on `tdefPage`; a pointer slot is recognised by
// leading to a 0x8000 slot of the same table and holding nothing but zeros after it.
Census TakeCensus(const std::string& file, unsigned tdefPage) {
    Census c;
    const std::size_t pages = file.size() / 4096;
    auto page = [&](std::size_t p) { return file.substr(p * 4096, 4096); };
    c.announced = U32(page(tdefPage), 16);
    struct Slot {
        unsigned flags;
        std::size_t start, end;
    };
    std::map<std::pair<unsigned, unsigned>, Slot> slots;  // keyed by page and row number
    std::size_t lastOriginalPage = 0, firstMovedDataPage = pages;
    for (std::size_t p = 1; p < pages; ++p) {
        const std::string b = page(p);
        if (b[0] != 1 || U32(b, 4) != tdefPage) {
            continue;
        }
        std::size_t end = 4096;
        for (unsigned r = 0; r < U16(b, 12); ++r) {
            const unsigned offset = U16(b, 14 + 2 * r);
            const std::size_t start = offset & 0x1FFF;
            slots[{static_cast<unsigned>(p), r}] = {offset & 0xC000, p * 4096 + start, p * 4096 + end};
            if ((offset & 0xC000) == 0x8000) {
                firstMovedDataPage = std::min(firstMovedDataPage, p);
            } else {
                lastOriginalPage = p;
            }
            end = start;
        }
    }
    std::set<std::pair<unsigned, unsigned>> reached;
    for (const auto& [address, slot] : slots) {
        const auto isPointer = [&, &slot = slot] {
            const unsigned pointer = U32(file, slot.start);
            const auto target = slots.find({pointer >> 8, pointer & 0xFF});
            if (target == slots.end() || target->second.flags != 0x8000) {
                return false;
            }
            for (std::size_t i = slot.start + 4; i < slot.end; ++i) {
                if (file[i] != 0) {
                    return false;
                }
            }
            reached.insert(target->first);
            return true;
        };
        switch (slot.flags) {
        case 0x0000: ++c.plain; break;
        case 0x8000: ++c.movedData; break;
        case 0x4000:
            ++c.moved;
            if (!isPointer()) c.faults.push_back("0x4000 slot without a pointer to moved data");
            break;
        default: ++(isPointer() ? c.movedDeleted : c.deleted); break;
        }
    }
    if (static_cast<int>(reached.size()) != c.movedData) {
        c.faults.push_back("moved data that no pointer leads to");
    }
    if (c.movedData > 0 && firstMovedDataPage <= lastOriginalPage) {
        c.faults.push_back("moved data on a page before the last page of original rows");
    }
    return c;
}

unsigned DefinitionPageWithColumns(const std::string& file, unsigned columns) {
    for (std::size_t p = 3; p < file.size() / 4096; ++p) {
        if (file[p * 4096] == 2 && static_cast<unsigned char>(file[p * 4096 + 40]) == 0x4E &&
            U16(file, p * 4096 + 45) == columns) {
            return static_cast<unsigned>(p);
        }
    }
    return 0;
}

std::string RunCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    std::string out;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while (pipe && (n = std::fread(buf.data(), 1, buf.size(), pipe.get())) > 0) {
        out.append(buf.data(), n);
    }
    return out;
}

TEST(TableWriterMovesTest, SampleLogShowsTheLayoutWeCopy) {
    const std::string sample = ReadAll(std::string(MORVASK_TEST_DATA) + "/sample/source.mdb");
    ASSERT_FALSE(sample.empty());
    const Census c = TakeCensus(sample, DefinitionPageWithColumns(sample, 41));
    EXPECT_EQ(c.faults, std::vector<std::string>{});
    EXPECT_EQ(c.plain, 54);
    EXPECT_EQ(c.deleted, 2);
    EXPECT_EQ(c.moved, 25);
    EXPECT_EQ(c.movedDeleted, 3);
    EXPECT_EQ(c.movedData, 28);
    EXPECT_EQ(c.announced, 79u);
}

// A log shaped like the sample: every third row edited, some rows deleted.
struct WrittenLog {
    std::string path;
    std::vector<std::string> expectedExport;  // data lines as libmdb's own walk shows them
    Census expected;
};

WrittenLog WriteLog(const std::string& path) {
    WrittenLog log{path, {}, {}};
    std::vector<Column> columns;
    for (int i = 0; i < 40; ++i) {
        columns.push_back(Column::Text("QSO-COL-" + std::to_string(i)));
    }
    columns.push_back(Column::Long("QSO-NUMBER"));
    jet::DatabaseWriter db(path);
    auto& table = db.AddTable("QSO-TAB", columns);
    std::vector<std::string> movedLines;
    for (int n = 1; n <= 84; ++n) {
        jet::Row before(41);
        before[0] = "2012010" + std::to_string(n % 10);
        before[2] = "CALL" + std::to_string(n);
        before[40] = std::int64_t{n};
        jet::Row after = before;
        for (std::size_t i = 5; i < 8; ++i) {
            after[i] = std::string(200, 'e');  // the edit that made the row outgrow its page
        }
        const auto line = [&](bool grown) {
            std::string out = "\"" + std::get<std::string>(before[0]) + "\",,\"CALL" + std::to_string(n) + "\",,,";
            const std::string e = grown ? "\"" + std::string(200, 'e') + "\"" : "";
            return out + e + "," + e + "," + e + std::string(33, ',') + std::to_string(n);
        };
        const bool edited = n % 3 == 0;
        const bool deleted = n == 10 || n == 20 || n == 30 || n == 60 || n == 81;
        if (edited) {
            table.AddEditedRow(before, after, deleted ? RowMark::MovedDeleted : RowMark::Moved);
            // libmdb skips the 0x4000 slot and shows the moved data at the end, deleted or not.
            movedLines.push_back(line(true));
            ++(deleted ? log.expected.movedDeleted : log.expected.moved);
            ++log.expected.movedData;
        } else {
            table.AddRow(before, deleted ? RowMark::Deleted : RowMark::Kept);
            if (!deleted) {
                log.expectedExport.push_back(line(false));
            }
            ++(deleted ? log.expected.deleted : log.expected.plain);
        }
    }
    log.expected.announced = static_cast<unsigned>(log.expected.plain + log.expected.moved);
    log.expectedExport.insert(log.expectedExport.end(), movedLines.begin(), movedLines.end());
    db.Close();
    return log;
}

TEST(TableWriterMovesTest, DeletedAndMovedRowsLieOnThePagesAsInTheSample) {
    TempPrefix dir;
    const WrittenLog log = WriteLog(dir.Root() + "/moved.mdb");
    const std::string file = ReadAll(log.path);
    const Census c = TakeCensus(file, DefinitionPageWithColumns(file, 41));
    EXPECT_EQ(c.faults, std::vector<std::string>{});
    EXPECT_EQ(c.plain, log.expected.plain);
    EXPECT_EQ(c.deleted, log.expected.deleted);
    EXPECT_EQ(c.moved, log.expected.moved);
    EXPECT_EQ(c.movedDeleted, log.expected.movedDeleted);
    EXPECT_EQ(c.movedData, log.expected.movedData);
    EXPECT_EQ(c.announced, log.expected.announced);
}

TEST(TableWriterMovesTest, MdbExportShowsMovedRowsLastAndHidesRowsDeletedInPlace) {
    // libmdb 1.0.0 takes the flags the wrong way round: seeing our file fail the same way
    // as the sample proves that the flags are the ones Access writes.
    TempPrefix dir;
    const WrittenLog log = WriteLog(dir.Root() + "/moved.mdb");
    std::string expected = "QSO-COL-0";
    for (int i = 1; i < 40; ++i) {
        expected += ",QSO-COL-" + std::to_string(i);
    }
    expected += ",QSO-NUMBER\n";
    const std::string exported = RunCommand("mdb-export '" + log.path + "' QSO-TAB");
    std::vector<std::string> lines;
    std::size_t from = exported.find('\n') + 1;
    EXPECT_EQ(exported.substr(0, from), expected);
    for (std::size_t to; (to = exported.find('\n', from)) != std::string::npos; from = to + 1) {
        lines.push_back(exported.substr(from, to - from));
    }
    EXPECT_EQ(lines, log.expectedExport);
}

TEST(TableWriterMovesTest, EveryMovedRowStaysReachableWhenRowsAreTiny) {
    // A pointer holds the row number in one byte: a page of more than 255 tiny moved rows
    // would leave some of them unreachable.
    TempPrefix dir;
    const std::string path = dir.Root() + "/tiny.mdb";
    {
        jet::DatabaseWriter db(path);
        auto& table = db.AddTable("Tiny", {Column::Text("T"), Column::Byte("B")});
        for (int i = 0; i < 600; ++i) {
            table.AddRow({Value{}, std::int64_t{i % 256}}, RowMark::Moved);
        }
        db.Close();
    }
    const std::string file = ReadAll(path);
    unsigned tdef = 0;
    for (std::size_t p = 3; p < file.size() / 4096 && tdef == 0; ++p) {
        if (file[p * 4096] == 2 && static_cast<unsigned char>(file[p * 4096 + 40]) == 0x4E) {
            tdef = static_cast<unsigned>(p);
        }
    }
    const Census c = TakeCensus(file, tdef);
    EXPECT_EQ(c.faults, std::vector<std::string>{});
    EXPECT_EQ(c.moved, 600);
    EXPECT_EQ(c.movedData, 600);
}

}  // namespace
