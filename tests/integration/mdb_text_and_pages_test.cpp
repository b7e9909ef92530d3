#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "data/CDaoException.h"
#include "data/MdbDatabase.h"
#include "data/MdbEngine.h"
#include "data/MdbTableWalker.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TableRead.h"
#include "tests/support/TempDir.h"
#include "tools/mdbwriter/DatabaseWriter.h"
#include "tools/mdbwriter/JetText.h"
#include "tools/mdbwriter/LongValueWriter.h"

// Text as the reader takes it off the pages, in every form the writer stores it, and how
// often the walk reads each page.

namespace {

using jet::Column;
using jet::Value;

enum class Form { Empty, Compressed, Runs, Ucs2 };

// The form the writer gives text when compression is allowed.
Form StoredForm(const std::string& text) {
    const auto stored = jet::JetText::Encode(jet::JetText::ToUtf16(text, "case"), true);
    if (stored.empty()) return Form::Empty;
    if (stored.size() < 2 || stored[0] != 0xFF || stored[1] != 0xFE) return Form::Ucs2;
    for (std::size_t i = 2; i < stored.size(); ++i)
        if (stored[i] == 0) return Form::Runs;
    return Form::Compressed;
}

struct TextCase {
    const char* what;
    std::string text;
    Form form;
};

TEST(MdbText, ReadsEveryCharacterInEveryStoredForm) {
    const std::vector<TextCase> cases = {
        {"empty text", "", Form::Empty},
        {"accented letters, compressed", "J\xC3\xBCrgen M\xC3\xBCller, G\xC3\xB6teborg", Form::Compressed},
        {"Windows-1252 letters beyond Latin-1, in runs",
         "\xE2\x82\xAC 5, \xC5\xA0ibenik \xE2\x80\x9EGru\xC3\x9F\xE2\x80\x9C", Form::Runs},
        {"CJK in UCS-2", "\xE5\x8F\x97\xE4\xBF\xA1\xE7\xA2\xBA\xE8\xAA\x8D", Form::Ucs2},
        {"beyond the BMP within runs", "\xF0\x9F\x99\x82 73 de \xF0\x9D\x84\x9E", Form::Runs},
        {"beyond the BMP in UCS-2", "\xF0\x9D\x84\x9E\xF0\x9F\x98\x82", Form::Ucs2},
        {"255 characters, compressed", Repeated("\xC3\x9C", 255), Form::Compressed},
        {"255 characters in UCS-2", Repeated("\xE5\x8F\x97", 255), Form::Ucs2},
    };
    // Memo values go inline, onto one long-value page, or chained over pages; compressed
    // only up to 1024 characters. The longest is far over libmdb's own bind size.
    const std::vector<TextCase> memos = {
        {"memo of 1020 characters in runs, on one long-value page", Repeated("\xC5\x81ukasz", 170), Form::Runs},
        {"memo of 100 KB chained over pages", Repeated("Karte erhalten \xC3\x9C\xE5\x8F\x97\xF0\x9F\x99\x82 ", 4000),
         Form::Ucs2},
    };
    TempDir dir;
    const std::string path = dir.File("texts.mdb");
    {
        jet::DatabaseWriter db(path);
        auto& table = db.AddTable("TEXTS", {Column::Text("T"), Column::Memo("M")});
        for (const TextCase& c : cases) {
            EXPECT_EQ(StoredForm(c.text), c.form) << c.what << ": the writer no longer stores it so";
            table.AddRow({c.text, c.text});
        }
        for (const TextCase& c : memos) table.AddRow({Value{}, c.text});
        db.Close();
    }
    EXPECT_GE(memos[1].text.size(), 100000u);

    // The value limit counts UTF-8 bytes: the longest memo is exactly at it, and is read whole.
    MdbEngine::Limits limits;
    limits.valueBytes = memos[1].text.size();
    auto cursor = MdbEngine(limits).OpenTable(path, "TEXTS", {{"T", FieldKind::Text}, {"M", FieldKind::Text}});
    std::vector<std::string> values;
    for (const TextCase& c : cases) {
        ASSERT_TRUE(cursor->Next(values)) << c.what;
        EXPECT_EQ(values, (std::vector<std::string>{c.text, c.text})) << c.what;
    }
    for (const TextCase& c : memos) {
        ASSERT_TRUE(cursor->Next(values)) << c.what;
        EXPECT_TRUE(values.at(1) == c.text) << c.what << ": read " << values[1].size() << " bytes";
    }
    EXPECT_FALSE(cursor->Next(values));

    // One byte less, and the longest memo is refused with its column named, not cut.
    limits.valueBytes -= 1;
    try {
        cursor = MdbEngine(limits).OpenTable(path, "TEXTS", {{"M", FieldKind::Text}});
        while (cursor->Next(values)) {}
        ADD_FAILURE() << "the longest memo was read";
    } catch (const CDaoException& e) {
        EXPECT_EQ(e.GetKind(), CDaoException::Kind::ValueTooLong) << e.what();
        EXPECT_NE(std::string(e.what()).find("column [M] of table [TEXTS] in '" + path + "'"), std::string::npos);
    }
}

// A chained memo whose header or chain is damaged ends in an error naming the column and
// the file: never a hang on a chain that loops, never a crash, never a value that is quietly
// empty or short.
TEST(MdbText, DamagedMemoChainsEndInAClearError) {
    const std::uint32_t length = 18002;  // 9001 characters, too many to compress: UCS-2
    TempDir dir;
    const std::string sound = dir.File("sound.mdb");
    {
        jet::DatabaseWriter db(sound);
        db.AddTable("NOTES", {Column::Memo("M")}).AddRow({std::string(length / 2, 'x')});
        db.Close();
    }
    const std::string bytes = ReadFile(sound);
    // The memo's header in the row: its length, the pointer to its first link, four zeros.
    std::size_t header = 0;
    for (std::size_t at = 0; at + 12 <= bytes.size(); ++at) {
        if (GetU32(bytes, at) == length && GetU32(bytes, at + 8) == 0 && (GetU32(bytes, at + 4) & 0xFF) == 0)
            header = at;
    }
    ASSERT_NE(header, 0u);
    const std::uint32_t first = GetU32(bytes, header + 4);
    // Row 0 of a page starts where the page's first row offset says.
    const std::size_t firstLink = (first >> 8) * 4096 + (GetU32(bytes, (first >> 8) * 4096 + 14) & 0x1FFF);

    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        const char* mentions;
    };
    const std::vector<Case> cases = {
        {"length beyond the end of the chain", header, length + 2, "ends after 18002 of its 18004 bytes"},
        {"length short of the chain", header, length - 2, "runs past its length"},
        {"first link on a page beyond the file", header + 4, 0xFFFFF00u, "cannot be read"},
        {"first link to a row its page does not have", header + 4, first | 7u, "does not exist"},
        {"chain looping back to its first link", firstLink, first, "runs past its length"},
    };
    for (const Case& c : cases) {
        std::string damaged = bytes;
        PutU32(damaged, c.at, c.value);
        const std::string path = dir.WriteFile("damaged.mdb", damaged);
        MdbEngine engine;
        const std::string error = TableRead::Of(engine, path, "NOTES", {{"M", FieldKind::Text}}).error;
        EXPECT_NE(error.find(c.mentions), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find("column [M]"), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(path), std::string::npos) << c.what << ": " << error;
    }
}

// A table whose pages lie too far apart for the map in its definition lists its bitmap on
// pages of their own. The walk must read each page once, not that bitmap page again
// before every data page.
TEST(MdbPages, WalkReadsEachPageOnceWithAPagedUsageMap) {
    TempDir dir;
    const std::string path = dir.File("pages.mdb");
    const int rows = 6000;
    {
        jet::DatabaseWriter db(path);
        auto& table = db.AddTable("WIDE", {Column::Long("N"), Column::Text("A"), Column::Text("B")});
        for (int n = 0; n < rows; ++n) table.AddRow({std::int64_t{n}, std::string(255, 'a'), std::string(255, 'b')});
        db.Close();
    }
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    const auto filePages = static_cast<unsigned long>(info.st_size / 4096);

    MdbDatabase::PrepareProcess();
    MdbDatabase db(path, 1 << 20);
    MdbDatabase::TablePtr table = db.OpenTable("WIDE");
    ASSERT_EQ(table->usage_map[0], 1) << "the table is too small to need a paged usage map";
    mdb_stats_on(db.Handle());
    MdbTableWalker walker(db, table.get(), "WIDE", {0});
    long next = 0;
    const unsigned long delivered = walker.Walk([&](const MdbTableWalker::Row& row) {
        EXPECT_EQ(row.values.at(0), std::to_string(next++));
        return true;
    });
    EXPECT_EQ(delivered, static_cast<unsigned long>(rows));
    const unsigned long reads = db.Handle()->stats->pg_reads;
    EXPECT_GT(reads, filePages / 2) << "the walk did not read the pages at all";
    EXPECT_LE(reads, filePages) << "pages were read more than once";

    // A page the map lists that is no bitmap page is damage, not a bitmap of garbage.
    std::string bytes = ReadFile(path);
    for (std::size_t page = 0; page < filePages; ++page)
        if (bytes[page * 4096] == 0x05) bytes[page * 4096] = 0x01;
    const std::string damaged = dir.WriteFile("damaged.mdb", bytes);
    MdbEngine engine;
    const std::string error = TableRead::Of(engine, damaged, "WIDE", {{"N", FieldKind::Long}}).error;
    EXPECT_NE(error.find("which is no page list"), std::string::npos) << error;
    EXPECT_NE(error.find(damaged), std::string::npos) << error;
}

}  // namespace
